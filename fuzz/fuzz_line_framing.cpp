// The line framer fed a stream in arbitrary pieces, checked against a plain reading of
// the whole stream.
//
// Input: a header of nine bytes, then the stream. The first byte sets the line cap
// (1 to 64 bytes); the next eight give the sizes of the pieces, used in turn: 1 to 32
// bytes, or 0xFF to end the stream there (takeRemainder) and start a new one. Shorter
// inputs are a stream of single bytes with a cap of 64.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "Check.h"
#include "platform/LineFramer.h"

namespace {

using tesk::LineFramer;

constexpr std::size_t kHeader = 9;
constexpr std::uint8_t kEndOfStream = 0xFF;

struct Output {
    std::vector<std::string> lines;
    std::vector<std::string> remainders;  // one per end of stream
};

// What one stream must give: each CR LF terminated line cut to the cap; an unterminated
// tail longer than the cap comes as a cut line with an empty remainder, since the framer
// drops the rest of an over-long line.
void expectStream(std::string_view stream, std::size_t cap, Output& out) {
    for (;;) {
        const std::size_t end = stream.find("\r\n");
        if (end == std::string_view::npos) {
            break;
        }
        out.lines.emplace_back(stream.substr(0, std::min(end, cap)));
        stream.remove_prefix(end + 2);
    }
    if (stream.size() > cap) {
        out.lines.emplace_back(stream.substr(0, cap));
        out.remainders.emplace_back();
    } else {
        out.remainders.emplace_back(stream);
    }
}

void drain(LineFramer& framer, Output& out, std::size_t cap) {
    while (auto line = framer.nextLine()) {
        FUZZ_CHECK(line->size() <= cap);
        FUZZ_CHECK(line->find("\r\n") == std::string::npos);
        out.lines.push_back(std::move(*line));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::size_t cap = 64;
    std::uint8_t pieces[8] = {1, 1, 1, 1, 1, 1, 1, 1};
    std::string_view input(reinterpret_cast<const char*>(data), size);
    if (size >= kHeader) {
        cap = 1 + data[0] % 64;
        for (std::size_t i = 0; i < 8; ++i) {
            pieces[i] = data[1 + i];
        }
        input.remove_prefix(kHeader);
    }

    LineFramer framer(cap);
    Output got;
    Output expected;
    std::size_t streamStart = 0;
    std::size_t at = 0;
    std::size_t turn = 0;
    std::size_t endsInARow = 0;
    while (at < input.size()) {
        const std::uint8_t piece = pieces[turn++ % 8];
        if (piece == kEndOfStream && endsInARow < 8) {
            ++endsInARow;
            drain(framer, got, cap);
            got.remainders.push_back(framer.takeRemainder());
            expectStream(input.substr(streamStart, at - streamStart), cap, expected);
            streamStart = at;
            continue;
        }
        endsInARow = 0;
        const std::size_t length = std::min<std::size_t>(1 + piece % 32, input.size() - at);
        framer.append(input.data() + at, length);
        at += length;
        drain(framer, got, cap);
    }
    drain(framer, got, cap);
    got.remainders.push_back(framer.takeRemainder());
    expectStream(input.substr(streamStart), cap, expected);

    std::size_t delivered = 0;
    for (const std::string& line : got.lines) {
        delivered += line.size();
    }
    for (const std::string& rest : got.remainders) {
        delivered += rest.size();
    }
    FUZZ_CHECK(delivered <= input.size());
    FUZZ_CHECK(got.lines == expected.lines);
    FUZZ_CHECK(got.remainders == expected.remainders);

    // Once emptied, the framer starts afresh.
    framer.append("x\r\n", 3);
    const auto line = framer.nextLine();
    FUZZ_CHECK(line && *line == "x");
    FUZZ_CHECK(!framer.nextLine() && framer.takeRemainder().empty());
    return 0;
}
