#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "platform/TcpClient.h"

namespace tesk::test {

// A plain listening socket on 127.0.0.1 with a free port, for tests of the client.
class LoopbackListener {
public:
    explicit LoopbackListener(int backlog = 16);
    ~LoopbackListener();

    std::uint16_t port() const { return port_; }
    int acceptOne();  // blocking; the caller closes the descriptor

    // Reads from `fd` until `count` bytes arrived or the stream ended.
    static std::string readBytes(int fd, std::size_t count, int timeoutMs = 3000);
    static void writeAll(int fd, const std::string& bytes);

private:
    int fd_ = -1;
    std::uint16_t port_ = 0;
};

}  // namespace tesk::test

namespace tesk::test {

// A loopback port whose connects never complete: its accept queue is filled by
// connections nobody accepts, so the kernel drops further SYNs. Stands for a host that
// never answers.
class SilentHost {
public:
    SilentHost();
    ~SilentHost();
    std::uint16_t port() const { return listener_.port(); }

private:
    LoopbackListener listener_{0};
    std::vector<std::unique_ptr<TcpClient>> fillers_;
    std::vector<std::thread> filling_;
};

}  // namespace tesk::test
