#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/IcmpPacket.h"

using tesk::icmp::checksum;
using tesk::icmp::EchoKey;
using tesk::icmp::echoRequest;
using tesk::icmp::isReplyTo;
using tesk::icmp::SocketKind;
using Bytes = std::vector<std::uint8_t>;

namespace {

std::uint32_t address(const char* dotted) {
    in_addr parsed{};
    ::inet_pton(AF_INET, dotted, &parsed);
    return parsed.s_addr;
}

const EchoKey kKey{0x1234, 7, address("127.0.0.1")};

// The ICMP message of an echo reply, as a datagram socket delivers it.
Bytes icmpReply(std::uint16_t identifier, std::uint16_t sequence, std::uint8_t type = 0) {
    Bytes message = echoRequest(identifier, sequence, Bytes(64, 0xAA));
    message[0] = type;
    return message;
}

// The same message behind an IPv4 header, as a raw socket delivers it.
Bytes withIpHeader(const Bytes& message, const char* source, std::uint8_t protocol = 1,
                   std::size_t headerSize = 20) {
    Bytes packet(headerSize, 0);
    packet[0] = static_cast<std::uint8_t>(0x40 | (headerSize / 4));
    packet[9] = protocol;
    const std::uint32_t from = address(source);
    std::memcpy(&packet[12], &from, 4);
    packet.insert(packet.end(), message.begin(), message.end());
    return packet;
}

bool matches(const Bytes& packet, SocketKind kind, const EchoKey& key = kKey) {
    return isReplyTo(packet.data(), packet.size(), kind, key);
}

}  // namespace

TEST(IcmpChecksum, FollowsTheWorkedExampleOfRfc1071) {
    const Bytes data{0x00, 0x01, 0xF2, 0x03, 0xF4, 0xF5, 0xF6, 0xF7};
    EXPECT_EQ(checksum(data.data(), data.size()), 0x220D);
}

TEST(IcmpChecksum, PadsAnOddLastByteWithZero) {
    const Bytes odd{0x12, 0x34, 0x56};
    const Bytes padded{0x12, 0x34, 0x56, 0x00};
    EXPECT_EQ(checksum(odd.data(), odd.size()), checksum(padded.data(), padded.size()));
    EXPECT_EQ(checksum(odd.data(), odd.size()), static_cast<std::uint16_t>(~(0x1234 + 0x5600)));
}

TEST(IcmpChecksum, FoldsCarriesBackIntoTheSum) {
    const Bytes data{0xFF, 0xFF, 0x00, 0x02};  // 0xFFFF + 0x0002 = 0x1'0001 -> 0x0002
    EXPECT_EQ(checksum(data.data(), data.size()), 0xFFFD);
}

TEST(IcmpEchoRequest, HasTypeCodeIdentifierSequenceAndDataInNetworkOrder) {
    const Bytes request = echoRequest(0xBEEF, 0x0102, Bytes(64, 0xAA));
    ASSERT_EQ(request.size(), 8u + 64u);
    EXPECT_EQ(request[0], 8);  // echo request
    EXPECT_EQ(request[1], 0);
    EXPECT_EQ(request[4], 0xBE);
    EXPECT_EQ(request[5], 0xEF);
    EXPECT_EQ(request[6], 0x01);
    EXPECT_EQ(request[7], 0x02);
    EXPECT_EQ(Bytes(request.begin() + 8, request.end()), Bytes(64, 0xAA));
}

TEST(IcmpEchoRequest, CarriesAChecksumThatVerifies) {
    for (const Bytes& data : {Bytes(64, 0xAA), Bytes{}, Bytes{0x01, 0x02, 0x03}}) {
        Bytes request = echoRequest(0x1234, 0xFFFF, data);
        EXPECT_NE(request[2] | request[3], 0);
        EXPECT_EQ(checksum(request.data(), request.size()), 0) << data.size() << " data bytes";
        request[6] ^= 0x01;  // a changed bit no longer verifies
        EXPECT_NE(checksum(request.data(), request.size()), 0);
    }
}

TEST(IcmpReplyOnDatagramSocket, IsMatchedBySequenceWhateverTheIdentifier) {
    // The kernel put its own identifier into the request, so the reply carries that one.
    EXPECT_TRUE(matches(icmpReply(0x1234, 7), SocketKind::Datagram));
    EXPECT_TRUE(matches(icmpReply(0x9876, 7), SocketKind::Datagram));
}

TEST(IcmpReplyOnDatagramSocket, OfAnotherSequenceOrTypeIsIgnored) {
    EXPECT_FALSE(matches(icmpReply(0x1234, 6), SocketKind::Datagram));  // a late one
    EXPECT_FALSE(matches(icmpReply(0x1234, 7 + 256), SocketKind::Datagram));
    EXPECT_FALSE(matches(icmpReply(0x1234, 7, 8), SocketKind::Datagram));  // a request
    EXPECT_FALSE(matches(icmpReply(0x1234, 7, 3), SocketKind::Datagram));  // unreachable
    Bytes badCode = icmpReply(0x1234, 7);
    badCode[1] = 1;
    EXPECT_FALSE(matches(badCode, SocketKind::Datagram));
}

TEST(IcmpReplyOnDatagramSocket, ShorterThanTheHeaderIsIgnored) {
    const Bytes reply = icmpReply(0x1234, 7);
    EXPECT_TRUE(isReplyTo(reply.data(), 8, SocketKind::Datagram, kKey));
    EXPECT_FALSE(isReplyTo(reply.data(), 7, SocketKind::Datagram, kKey));
    EXPECT_FALSE(isReplyTo(reply.data(), 0, SocketKind::Datagram, kKey));
}

TEST(IcmpReplyOnRawSocket, IsReadBehindTheIpHeader) {
    EXPECT_TRUE(matches(withIpHeader(icmpReply(0x1234, 7), "127.0.0.1"), SocketKind::Raw));
    // IP options make the header longer; its length field says by how much.
    EXPECT_TRUE(matches(withIpHeader(icmpReply(0x1234, 7), "127.0.0.1", 1, 24), SocketKind::Raw));
    EXPECT_TRUE(matches(withIpHeader(icmpReply(0x1234, 7), "127.0.0.1", 1, 60), SocketKind::Raw));
}

TEST(IcmpReplyOnRawSocket, OfAnotherProcessIsIgnored) {
    // Every process's replies reach a raw socket; only the identifier tells them apart.
    EXPECT_FALSE(matches(withIpHeader(icmpReply(0x4321, 7), "127.0.0.1"), SocketKind::Raw));
}

TEST(IcmpReplyOnRawSocket, FromAnotherHostOrOfAnotherSequenceIsIgnored) {
    EXPECT_FALSE(matches(withIpHeader(icmpReply(0x1234, 7), "127.0.0.2"), SocketKind::Raw));
    EXPECT_FALSE(matches(withIpHeader(icmpReply(0x1234, 8), "127.0.0.1"), SocketKind::Raw));
}

TEST(IcmpReplyOnRawSocket, OurOwnRequestSeenOnLoopbackIsIgnored) {
    EXPECT_FALSE(matches(withIpHeader(icmpReply(0x1234, 7, 8), "127.0.0.1"), SocketKind::Raw));
}

TEST(IcmpReplyOnRawSocket, MalformedHeadersAreIgnored) {
    const Bytes good = withIpHeader(icmpReply(0x1234, 7), "127.0.0.1");
    EXPECT_FALSE(matches(withIpHeader(icmpReply(0x1234, 7), "127.0.0.1", 17), SocketKind::Raw));
    Bytes ipv6 = good;
    ipv6[0] = 0x65;
    EXPECT_FALSE(matches(ipv6, SocketKind::Raw));
    Bytes tooShortHeader = good;
    tooShortHeader[0] = 0x44;  // 16 bytes: below the minimum of 20
    EXPECT_FALSE(matches(tooShortHeader, SocketKind::Raw));
    EXPECT_FALSE(isReplyTo(good.data(), 20 + 7, SocketKind::Raw, kKey));  // cut ICMP header
    EXPECT_FALSE(isReplyTo(good.data(), 19, SocketKind::Raw, kKey));
    Bytes longerThanPacket = good;
    longerThanPacket[0] = 0x4F;  // claims 60 bytes of header in a 28-byte packet
    EXPECT_FALSE(isReplyTo(longerThanPacket.data(), 28, SocketKind::Raw, kKey));
}

TEST(IcmpReplyLayout, DependsOnTheSocketKind) {
    // A datagram socket's bare ICMP message is no IPv4 datagram, and an IPv4 datagram
    // read as a bare message is no echo reply.
    EXPECT_FALSE(matches(icmpReply(0x1234, 7), SocketKind::Raw));
    EXPECT_FALSE(matches(withIpHeader(icmpReply(0x1234, 7), "127.0.0.1"), SocketKind::Datagram));
}
