#pragma once

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

#include "platform/TcpConnection.h"

namespace tesk {

class StopFlag;

// The blocking IPv4 TCP client of the gateway connection: open, Connected, close,
// send line and receive line. A host text that begins with a digit must be a dotted
// address; any other text is looked up by name and its first address is used.
class TcpClient {
public:
    TcpClient() = default;
    ~TcpClient();
    TcpClient(const TcpClient&) = delete;
    TcpClient& operator=(const TcpClient&) = delete;

    // Blocks until the connect succeeds or fails; never throws. Opening a client that
    // is already connected does nothing. close() from another thread aborts a pending
    // open, which then fails.
    bool open(const std::string& host, std::uint16_t port);
    bool connected() const;

    // Shuts the current connection down; afterwards connected() is false and the next
    // open() starts from a new socket.
    void close();

    // The current connection and a counter that changes whenever it is opened or closed.
    struct Current {
        std::shared_ptr<TcpConnection> connection;
        std::uint64_t generation = 0;
    };
    Current current() const;

    // Sends on the current connection; does nothing while closed.
    void sendLine(std::string_view text);

    // Sleeps until the connection is opened or closed after `generation`, or `stop` is
    // raised. Used by the reader so that a closed connection costs no CPU.
    void waitForChange(std::uint64_t generation, const StopFlag& stop) const;

    // Wakes every waitForChange() so that it can look at its stop flag.
    void wakeWaiters();

    // Closes the client for good: every later open() fails at once. Used at shutdown so
    // that no connect can start after the last close.
    void disable();

private:
    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    std::shared_ptr<TcpConnection> connection_;
    std::uint64_t generation_ = 0;
    int abortFd_ = -1;   // eventfd of the open() under way, if any
    bool abortRequested_ = false;
    bool disabled_ = false;
};

}  // namespace tesk
