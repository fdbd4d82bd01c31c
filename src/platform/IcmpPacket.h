#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// ICMP echo packets as bytes: building a request and recognising its reply. No I/O.
namespace tesk::icmp {

// How the socket that read a reply delivers it: datagram ICMP sockets hand over the
// ICMP message alone, raw sockets the whole IPv4 datagram with its header.
enum class SocketKind { Datagram, Raw };

// The internet checksum (RFC 1071) over `size` bytes taken as big-endian 16-bit words;
// an odd last byte is padded with zero.
std::uint16_t checksum(const std::uint8_t* data, std::size_t size);

// An echo request (type 8) carrying `data`, with its checksum filled in.
std::vector<std::uint8_t> echoRequest(std::uint16_t identifier, std::uint16_t sequence,
                                      const std::vector<std::uint8_t>& data);

// What identifies the reply to one request.
struct EchoKey {
    std::uint16_t identifier = 0;  // compared on raw sockets only: the kernel picks its own
                                   // for datagram sockets and delivers only their replies
    std::uint16_t sequence = 0;
    std::uint32_t target = 0;  // IPv4 address, network byte order; the source of a raw reply
};

// True when `packet`, as read from a socket of `kind`, is the echo reply (type 0) to the
// request `key`. Other ICMP traffic (our own request seen on loopback, other programs'
// replies, late replies to earlier requests) gives false.
bool isReplyTo(const std::uint8_t* packet, std::size_t size, SocketKind kind, const EchoKey& key);

}  // namespace tesk::icmp
