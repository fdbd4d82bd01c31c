#include "platform/IcmpPacket.h"

#include <algorithm>
#include <cstring>

namespace tesk::icmp {

namespace {

constexpr std::size_t kHeaderSize = 8;
constexpr std::size_t kMinIpHeaderSize = 20;
constexpr std::uint8_t kEchoReply = 0;
constexpr std::uint8_t kEchoRequest = 8;
constexpr std::uint8_t kProtocolIcmp = 1;

std::uint16_t readBigEndian16(const std::uint8_t* bytes) {
    return static_cast<std::uint16_t>((bytes[0] << 8) | bytes[1]);
}

void writeBigEndian16(std::uint8_t* bytes, std::uint16_t value) {
    bytes[0] = static_cast<std::uint8_t>(value >> 8);
    bytes[1] = static_cast<std::uint8_t>(value & 0xFF);
}

}  // namespace

std::uint16_t checksum(const std::uint8_t* data, std::size_t size) {
    std::uint32_t sum = 0;
    for (std::size_t i = 0; i + 1 < size; i += 2) {
        sum += readBigEndian16(data + i);
    }
    if (size % 2 != 0) {
        sum += static_cast<std::uint32_t>(data[size - 1]) << 8;
    }
    while ((sum >> 16) != 0) {
        sum = (sum & 0xFFFF) + (sum >> 16);
    }
    return static_cast<std::uint16_t>(~sum);
}

std::vector<std::uint8_t> echoRequest(std::uint16_t identifier, std::uint16_t sequence,
                                      const std::vector<std::uint8_t>& data) {
    std::vector<std::uint8_t> packet(kHeaderSize + data.size(), 0);
    packet[0] = kEchoRequest;
    writeBigEndian16(&packet[4], identifier);
    writeBigEndian16(&packet[6], sequence);
    std::copy(data.begin(), data.end(), packet.begin() + kHeaderSize);
    writeBigEndian16(&packet[2], checksum(packet.data(), packet.size()));
    return packet;
}

bool isReplyTo(const std::uint8_t* packet, std::size_t size, SocketKind kind, const EchoKey& key) {
    const std::uint8_t* message = packet;
    if (kind == SocketKind::Raw) {
        if (size < kMinIpHeaderSize || (packet[0] >> 4) != 4) {
            return false;
        }
        const std::size_t headerSize = (packet[0] & 0x0F) * 4u;
        std::uint32_t source = 0;
        std::memcpy(&source, packet + 12, sizeof source);  // stays in network byte order
        if (headerSize < kMinIpHeaderSize || size < headerSize || packet[9] != kProtocolIcmp ||
            source != key.target) {
            return false;
        }
        message += headerSize;
        size -= headerSize;
    }
    if (size < kHeaderSize || message[0] != kEchoReply || message[1] != 0) {
        return false;
    }
    if (kind == SocketKind::Raw && readBigEndian16(message + 4) != key.identifier) {
        return false;
    }
    return readBigEndian16(message + 6) == key.sequence;
}

}  // namespace tesk::icmp
