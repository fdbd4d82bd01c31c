#include "FloodGuard.h"
#include "LineSplitter.h"
#include "SimClient.h"

#include <gtest/gtest.h>

namespace gatewaysim::test {
namespace {

TEST(SimLineSplitter, JoinsPiecesAndSplitsOnlyOnCrLf) {
    LineSplitter splitter(100);
    EXPECT_TRUE(splitter.feed("/who").isEmpty());
    EXPECT_TRUE(splitter.feed("is a\r").isEmpty());
    EXPECT_EQ(splitter.feed("\n\r\nx\ry\nz\r\r\n"),
              (QList<QByteArray>{"/whois a", "", "x\ry\nz\r"}));
    EXPECT_EQ(splitter.feed(QByteArray("a\0b\r\n", 5)), QList<QByteArray>{QByteArray("a\0b", 3)});
}

TEST(SimLineSplitter, CutsLongLinesAndDropsTheirRest) {
    LineSplitter splitter(4);
    EXPECT_TRUE(splitter.feed("abcdefgh\r").isEmpty());
    EXPECT_EQ(splitter.feed("\nabcd\r\nabc\r\n"), (QList<QByteArray>{"abcd", "abcd", "abc"}));
    EXPECT_TRUE(splitter.feed("abcd\r").isEmpty());
    EXPECT_EQ(splitter.feed("x\r\n"), QList<QByteArray>{"abcd"}) << "a CR not before LF is data";
}

TEST(SimFloodGuard, CountsLinesInASlidingWindow) {
    FloodGuard guard;
    EXPECT_FALSE(guard.exceeded(0)) << "off by default";
    guard.setLimit(2, 100);
    EXPECT_FALSE(guard.exceeded(0));
    EXPECT_FALSE(guard.exceeded(50));
    EXPECT_TRUE(guard.exceeded(99));
    guard.setLimit(2, 100);
    EXPECT_FALSE(guard.exceeded(200));
    EXPECT_FALSE(guard.exceeded(250));
    EXPECT_FALSE(guard.exceeded(300)) << "the line at 200 has left the window";
}

}  // namespace
}  // namespace gatewaysim::test
