#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <chrono>
#include <memory>
#include <ostream>
#include <regex>
#include <string>
#include <vector>

#include "ping/Pinger.h"
#include "platform/IcmpEcho.h"
#include "platform/StopFlag.h"
#include "settings/LiveSettings.h"
#include "support/EventLoop.h"

using namespace std::chrono_literals;
using tesk::IcmpEcho;
using tesk::resolveIpv4;
using tesk::StopFlag;
using tesk::icmp::SocketKind;

// Echoes in this file go to 127.0.0.1 only. Which socket kinds exist depends on the
// machine: datagram ICMP sockets need net.ipv4.ping_group_range to admit the user's
// group, raw sockets need root or cap_net_raw.

namespace {

in_addr loopback() {
    in_addr address{};
    ::inet_pton(AF_INET, "127.0.0.1", &address);
    return address;
}

const std::vector<std::uint8_t> kData(64, 0xAA);

const char* kindName(SocketKind kind) {
    return kind == SocketKind::Datagram ? "datagram" : "raw";
}

}  // namespace

namespace tesk::icmp {

void PrintTo(SocketKind kind, std::ostream* out) {
    *out << kindName(kind);
}

}  // namespace tesk::icmp

namespace {

class RealEcho : public ::testing::TestWithParam<SocketKind> {};

}  // namespace

TEST(ResolveIpv4, TakesADottedAddressAsItIs) {
    const auto address = resolveIpv4("127.0.0.1");
    ASSERT_TRUE(address.has_value());
    EXPECT_EQ(address->s_addr, loopback().s_addr);
    const auto other = resolveIpv4("10.1.2.3");  // parsed locally; nothing is sent
    ASSERT_TRUE(other.has_value());
    EXPECT_EQ(ntohl(other->s_addr), 0x0A010203u);
}

TEST(ResolveIpv4, FailsForAnEmptyName) {
    EXPECT_FALSE(resolveIpv4("").has_value());
}

TEST(IcmpEchoOpen, PrefersADatagramSocketAndFallsBackToARawOne) {
    const bool datagram = IcmpEcho::open(SocketKind::Datagram) != nullptr;
    const bool raw = IcmpEcho::open(SocketKind::Raw) != nullptr;
    const auto echo = IcmpEcho::open();
    if (!datagram && !raw) {
        EXPECT_EQ(echo, nullptr);
        return;
    }
    ASSERT_NE(echo, nullptr);
    EXPECT_EQ(echo->kind(), datagram ? SocketKind::Datagram : SocketKind::Raw);
}

TEST_P(RealEcho, ToLoopbackReturnsARoundTripTime) {
    const auto echo = IcmpEcho::open(GetParam());
    if (!echo) {
        GTEST_SKIP() << kindName(GetParam()) << " ICMP sockets are not allowed here";
    }
    StopFlag stop;
    for (int i = 0; i < 3; ++i) {  // the same socket serves one echo after another
        const auto roundTrip = echo->echo(loopback(), kData, 2000ms, stop);
        ASSERT_TRUE(roundTrip.has_value()) << "echo " << i;
        EXPECT_GE(roundTrip->count(), 0);
        EXPECT_LT(*roundTrip, 2000ms);
    }
}

TEST_P(RealEcho, ARaisedStopFlagEndsTheWaitWithoutATime) {
    const auto echo = IcmpEcho::open(GetParam());
    if (!echo) {
        GTEST_SKIP() << kindName(GetParam()) << " ICMP sockets are not allowed here";
    }
    StopFlag stop;
    stop.raise();
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(echo->echo(loopback(), kData, 2000ms, stop).has_value());
    EXPECT_LT(std::chrono::steady_clock::now() - start, 500ms);
}

INSTANTIATE_TEST_SUITE_P(Kinds, RealEcho, ::testing::Values(SocketKind::Datagram, SocketKind::Raw),
                         [](const auto& info) { return std::string(kindName(info.param)); });

TEST(RealPingThread, DisplaysTheRoundTripToLoopback) {
    if (!IcmpEcho::open()) {
        GTEST_SKIP() << "neither datagram nor raw ICMP sockets are allowed here";
    }
    tesk::LiveSettings settings;
    auto values = settings.snapshot();
    values.gateway = "127.0.0.1";
    settings.publish(values);
    std::vector<std::string> displays;
    std::vector<std::string> errors;
    tesk::Pinger ping(
        settings, [&](const std::string& text) { displays.push_back(text); },
        [&](const std::string& message) { errors.push_back(message); }, {2000ms, 20ms});
    ping.setToolbarVisible(true);
    ASSERT_TRUE(tesk::test::waitUntil([&] { return displays.size() >= 2; }));
    for (const auto& text : displays) {
        EXPECT_TRUE(std::regex_match(text, std::regex("[0-9]+ms"))) << text;
    }
    EXPECT_TRUE(errors.empty());
    ping.setToolbarVisible(false);
}
