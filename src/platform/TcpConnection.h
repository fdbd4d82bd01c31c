#pragma once

#include <atomic>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "platform/LineFramer.h"

namespace tesk {

// One open TCP stream to the gateway. Shared between the client (which may shut it
// down at any time) and the threads reading or sending on it: the descriptor is
// released only when the last of them lets go, so a blocked reader never touches a
// recycled descriptor.
class TcpConnection {
public:
    explicit TcpConnection(int fd, std::size_t maxLineBytes = LineFramer::kDefaultMaxLine);
    ~TcpConnection();
    TcpConnection(const TcpConnection&) = delete;
    TcpConnection& operator=(const TcpConnection&) = delete;

    // Blocks until a whole CR LF line has arrived and returns it without the terminator.
    // When the peer closed the stream or it failed, returns what was pending (usually
    // empty) at once; ended() is true from then on. Only one thread may read.
    std::string receiveLine();

    // The next whole line that has already arrived, without waiting for more, so that a
    // burst can be taken in one go. Only the reading thread may call it.
    std::optional<std::string> bufferedLine() { return framer_.nextLine(); }

    // Sends the text and CR LF as one piece. The text is cut at its first CR or LF so
    // that one call can never put two lines on the wire. Errors are not reported: the
    // reply timer is what notices a dead connection.
    void sendLine(std::string_view text);

    // Shuts the stream down in both directions; a blocked receiveLine() returns.
    void shutdown();

    bool ended() const { return ended_.load(); }

private:
    const int fd_;
    LineFramer framer_;
    std::atomic<bool> ended_{false};
    std::mutex sendMutex_;
};

}  // namespace tesk
