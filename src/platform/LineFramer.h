#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace tesk {

// Splits a byte stream into CR LF terminated lines. Lines that arrive in pieces are
// joined; a line longer than the cap is cut to the cap and the rest of it, up to the
// next CR LF, is dropped, so a hostile peer cannot make us hold unbounded memory.
class LineFramer {
public:
    static constexpr std::size_t kDefaultMaxLine = 1024 * 1024;

    explicit LineFramer(std::size_t maxLineBytes = kDefaultMaxLine);

    void append(const char* data, std::size_t size);

    // The next complete line without its terminator, or nothing until more bytes arrive.
    std::optional<std::string> nextLine();

    // At the end of the stream: whatever was pending without a terminator (may be empty).
    std::string takeRemainder();

private:
    void compact();

    std::size_t maxLine_;
    std::string buffer_;
    std::size_t head_ = 0;       // start of the pending line in buffer_
    std::size_t scanFrom_ = 0;   // where the search for CR LF resumes
    bool discarding_ = false;    // dropping the tail of an over-long line
};

}  // namespace tesk
