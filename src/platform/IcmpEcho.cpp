#include "platform/IcmpEcho.h"

#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>

#include "platform/StopFlag.h"

namespace tesk {

namespace {

using Clock = std::chrono::steady_clock;

// How long a wait for a reply may go without looking at the stop flag.
constexpr std::chrono::milliseconds kStopCheckInterval{20};

// Room for the largest IPv4 header and the ICMP header; longer foreign packets are cut,
// which is fine because only their headers are read.
constexpr std::size_t kReceiveSize = 512;

// Shared by every socket of the process, so that a late reply to an earlier request
// never passes for the reply to the current one.
std::uint16_t nextSequence() {
    static std::atomic<std::uint16_t> sequence{0};
    return ++sequence;
}

int openSocket(icmp::SocketKind kind) {
    const int type = kind == icmp::SocketKind::Datagram ? SOCK_DGRAM : SOCK_RAW;
    return ::socket(AF_INET, type | SOCK_NONBLOCK | SOCK_CLOEXEC, IPPROTO_ICMP);
}

}  // namespace

std::unique_ptr<IcmpEcho> IcmpEcho::open() {
    if (auto echo = open(icmp::SocketKind::Datagram)) {
        return echo;
    }
    return open(icmp::SocketKind::Raw);
}

std::unique_ptr<IcmpEcho> IcmpEcho::open(icmp::SocketKind kind) {
    const int fd = openSocket(kind);
    if (fd < 0) {
        return nullptr;
    }
    return std::unique_ptr<IcmpEcho>(new IcmpEcho(fd, kind));
}

IcmpEcho::~IcmpEcho() {
    ::close(fd_);
}

std::optional<std::chrono::milliseconds> IcmpEcho::echo(const in_addr& target,
                                                        const std::vector<std::uint8_t>& data,
                                                        std::chrono::milliseconds timeout,
                                                        const StopFlag& stop) {
    // Raw sockets see every reply that reaches the host, so ours carry the process id;
    // on datagram sockets the kernel replaces the identifier with its own.
    const icmp::EchoKey key{static_cast<std::uint16_t>(::getpid()), nextSequence(), target.s_addr};
    const auto request = icmp::echoRequest(key.identifier, key.sequence, data);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr = target;

    const auto start = Clock::now();
    const auto deadline = start + timeout;
    if (::sendto(fd_, request.data(), request.size(), 0, reinterpret_cast<sockaddr*>(&address),
                 sizeof address) != static_cast<ssize_t>(request.size())) {
        return std::nullopt;
    }
    std::array<std::uint8_t, kReceiveSize> buffer{};
    for (;;) {
        const auto now = Clock::now();
        if (stop.raised() || now >= deadline) {
            return std::nullopt;
        }
        const auto slice = std::min(std::chrono::ceil<std::chrono::milliseconds>(deadline - now),
                                    kStopCheckInterval);
        pollfd readable{fd_, POLLIN, 0};
        const int ready = ::poll(&readable, 1, static_cast<int>(slice.count()));
        if (ready < 0 && errno != EINTR) {
            return std::nullopt;
        }
        if (ready <= 0) {
            continue;
        }
        const ssize_t received = ::recv(fd_, buffer.data(), buffer.size(), 0);
        if (received < 0) {
            if (errno == EAGAIN || errno == EINTR) {
                continue;
            }
            return std::nullopt;
        }
        if (icmp::isReplyTo(buffer.data(), static_cast<std::size_t>(received), kind_, key)) {
            return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start);
        }
    }
}

std::optional<in_addr> resolveIpv4(const std::string& host) {
    addrinfo hints{};
    hints.ai_family = AF_INET;
    addrinfo* found = nullptr;
    if (::getaddrinfo(host.c_str(), nullptr, &hints, &found) != 0 || found == nullptr) {
        return std::nullopt;
    }
    const in_addr address = reinterpret_cast<const sockaddr_in*>(found->ai_addr)->sin_addr;
    ::freeaddrinfo(found);
    return address;
}

}  // namespace tesk
