#include "support/LoopbackListener.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>

namespace tesk::test {

LoopbackListener::LoopbackListener(int backlog) {
    fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address);
    ::listen(fd_, backlog);
    socklen_t length = sizeof address;
    ::getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &length);
    port_ = ntohs(address.sin_port);
}

LoopbackListener::~LoopbackListener() {
    ::close(fd_);
}

int LoopbackListener::acceptOne() {
    return ::accept4(fd_, nullptr, nullptr, SOCK_CLOEXEC);
}

std::string LoopbackListener::readBytes(int fd, std::size_t count, int timeoutMs) {
    std::string bytes;
    while (bytes.size() < count) {
        pollfd ready{fd, POLLIN, 0};
        if (::poll(&ready, 1, timeoutMs) <= 0) {
            break;
        }
        char chunk[4096];
        const ssize_t got = ::recv(fd, chunk, std::min(sizeof chunk, count - bytes.size()), 0);
        if (got <= 0) {
            break;
        }
        bytes.append(chunk, static_cast<std::size_t>(got));
    }
    return bytes;
}

void LoopbackListener::writeAll(int fd, const std::string& bytes) {
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n = ::send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (n <= 0) {
            return;
        }
        sent += static_cast<std::size_t>(n);
    }
}

SilentHost::SilentHost() {
    for (int i = 0; i < 3; ++i) {
        fillers_.push_back(std::make_unique<TcpClient>());
        TcpClient* filler = fillers_.back().get();
        filling_.emplace_back([this, filler] { filler->open("127.0.0.1", port()); });
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
}

SilentHost::~SilentHost() {
    for (auto& filler : fillers_) {
        filler->disable();
    }
    for (auto& thread : filling_) {
        thread.join();
    }
}

}  // namespace tesk::test
