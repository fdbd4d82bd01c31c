#pragma once

#include <netinet/in.h>
#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/IcmpPacket.h"

namespace tesk {

class StopFlag;

// Sends ICMP echo requests and waits for their replies, one at a time.
class EchoService {
public:
    virtual ~EchoService() = default;

    // Sends one echo request carrying `data` to `target` and waits for its reply. Gives the
    // round-trip time, or nothing when no reply came within `timeout`, the request could
    // not be sent, or `stop` was raised (which ends the wait at once).
    virtual std::optional<std::chrono::milliseconds> echo(const in_addr& target,
                                                          const std::vector<std::uint8_t>& data,
                                                          std::chrono::milliseconds timeout,
                                                          const StopFlag& stop) = 0;
};

// The echo service over an ICMP socket of the kernel. Datagram ICMP sockets need no
// privilege where net.ipv4.ping_group_range admits the user's group; raw sockets need
// root or cap_net_raw.
class IcmpEcho final : public EchoService {
public:
    // A datagram socket where allowed, else a raw one; nullptr when neither is.
    static std::unique_ptr<IcmpEcho> open();
    // Only the given kind; nullptr when it is not allowed.
    static std::unique_ptr<IcmpEcho> open(icmp::SocketKind kind);

    ~IcmpEcho() override;
    IcmpEcho(const IcmpEcho&) = delete;
    IcmpEcho& operator=(const IcmpEcho&) = delete;

    icmp::SocketKind kind() const { return kind_; }

    std::optional<std::chrono::milliseconds> echo(const in_addr& target,
                                                  const std::vector<std::uint8_t>& data,
                                                  std::chrono::milliseconds timeout,
                                                  const StopFlag& stop) override;

private:
    IcmpEcho(int fd, icmp::SocketKind kind) : fd_(fd), kind_(kind) {}

    const int fd_;
    const icmp::SocketKind kind_;
};

// The first IPv4 address of a host name or dotted address; nothing when the lookup
// fails, as it does for an empty name.
std::optional<in_addr> resolveIpv4(const std::string& host);

}  // namespace tesk
