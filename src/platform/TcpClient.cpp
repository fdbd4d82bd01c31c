#include "platform/TcpClient.h"

#include <arpa/inet.h>
#include <cerrno>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include "platform/StopFlag.h"

namespace tesk {

namespace {

// Dotted addresses are used as they are; names go through the resolver (first IPv4).
bool resolve(const std::string& host, in_addr* address) {
    if (!host.empty() && host[0] >= '0' && host[0] <= '9') {
        return ::inet_pton(AF_INET, host.c_str(), address) == 1;
    }
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (::getaddrinfo(host.c_str(), nullptr, &hints, &found) != 0 || found == nullptr) {
        return false;
    }
    *address = reinterpret_cast<sockaddr_in*>(found->ai_addr)->sin_addr;
    ::freeaddrinfo(found);
    return true;
}

// Non-blocking connect that also wakes up when `abortFd` becomes readable.
bool connectAbortable(int fd, const sockaddr_in& target, int abortFd) {
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&target), sizeof target) == 0) {
        return true;
    }
    if (errno != EINPROGRESS) {
        return false;
    }
    for (;;) {
        pollfd fds[2] = {{fd, POLLOUT, 0}, {abortFd, POLLIN, 0}};
        const int ready = ::poll(fds, 2, -1);
        if (ready < 0 && errno == EINTR) {
            continue;
        }
        if (ready < 0 || (fds[1].revents & POLLIN)) {
            return false;
        }
        int error = 0;
        socklen_t length = sizeof error;
        ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length);
        return error == 0;
    }
}

}  // namespace

TcpClient::~TcpClient() {
    close();
}

bool TcpClient::open(const std::string& host, std::uint16_t port) {
    int abortFd = -1;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (connection_) {
            return true;
        }
        if (disabled_ || abortFd_ >= 0) {
            return false;  // shut down for good, or another open is under way
        }
        abortFd = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
        if (abortFd < 0) {
            return false;
        }
        abortFd_ = abortFd;
        abortRequested_ = false;
    }

    sockaddr_in target{};
    target.sin_family = AF_INET;
    target.sin_port = htons(port);
    int fd = -1;
    bool ok = resolve(host, &target.sin_addr);
    if (ok) {
        fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
        ok = fd >= 0 && connectAbortable(fd, target, abortFd);
    }
    if (ok) {
        // Back to blocking mode: the reader and the writer use plain blocking calls.
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
        const int one = 1;
        ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    }

    std::lock_guard<std::mutex> lock(mutex_);
    ::close(abortFd_);
    abortFd_ = -1;
    if (!ok || abortRequested_ || disabled_) {
        if (fd >= 0) {
            ::close(fd);
        }
        return false;
    }
    connection_ = std::make_shared<TcpConnection>(fd);
    ++generation_;
    changed_.notify_all();
    return true;
}

bool TcpClient::connected() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return connection_ != nullptr;
}

void TcpClient::close() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (abortFd_ >= 0) {
        abortRequested_ = true;
        const std::uint64_t one = 1;
        [[maybe_unused]] const ssize_t written = ::write(abortFd_, &one, sizeof one);
    }
    if (connection_) {
        connection_->shutdown();
        connection_.reset();
        ++generation_;
        changed_.notify_all();
    }
}

TcpClient::Current TcpClient::current() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return {connection_, generation_};
}

void TcpClient::sendLine(std::string_view text) {
    const auto connection = current().connection;
    if (connection) {
        connection->sendLine(text);
    }
}

void TcpClient::waitForChange(std::uint64_t generation, const StopFlag& stop) const {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [&] { return generation_ != generation || stop.raised(); });
}

void TcpClient::disable() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        disabled_ = true;
    }
    close();
}

void TcpClient::wakeWaiters() {
    std::lock_guard<std::mutex> lock(mutex_);
    changed_.notify_all();
}

}  // namespace tesk
