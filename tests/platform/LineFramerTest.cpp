#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/LineFramer.h"

using tesk::LineFramer;

namespace {

std::vector<std::string> drain(LineFramer& framer) {
    std::vector<std::string> lines;
    while (auto line = framer.nextLine()) {
        lines.push_back(*line);
    }
    return lines;
}

void feed(LineFramer& framer, const std::string& bytes) {
    framer.append(bytes.data(), bytes.size());
}

}  // namespace

TEST(LineFramer, SplitsLinesAndKeepsEmptyOnes) {
    LineFramer framer;
    feed(framer, "2010 NAME x\r\n\r\n/whois a\r\n");
    EXPECT_EQ(drain(framer), (std::vector<std::string>{"2010 NAME x", "", "/whois a"}));
}

TEST(LineFramer, JoinsLinesSplitAcrossReadsIncludingBetweenCrAndLf) {
    LineFramer framer;
    feed(framer, "1018 IN");
    EXPECT_TRUE(drain(framer).empty());
    feed(framer, "FO \"x\"\r");
    EXPECT_TRUE(drain(framer).empty());
    feed(framer, "\nnext");
    EXPECT_EQ(drain(framer), (std::vector<std::string>{"1018 INFO \"x\""}));
    feed(framer, "\r\n");
    EXPECT_EQ(drain(framer), (std::vector<std::string>{"next"}));
}

TEST(LineFramer, LoneCrOrLfIsPartOfTheLine) {
    LineFramer framer;
    feed(framer, "a\rb\nc\r\n");
    EXPECT_EQ(drain(framer), (std::vector<std::string>{"a\rb\nc"}));
}

TEST(LineFramer, DeliversLongLinesWholeWhenUnderTheCap) {
    LineFramer framer;
    const std::string longLine(300 * 1000, 'x');
    for (std::size_t i = 0; i < longLine.size(); i += 511) {
        feed(framer, longLine.substr(i, 511));
    }
    feed(framer, "\r\nafter\r\n");
    EXPECT_EQ(drain(framer), (std::vector<std::string>{longLine, "after"}));
}

TEST(LineFramer, CutsOverlongLinesAndDropsTheirTail) {
    LineFramer framer(8);
    feed(framer, "0123456789abcdef");
    EXPECT_EQ(drain(framer), (std::vector<std::string>{"01234567"}));
    feed(framer, "still the same line\r");
    EXPECT_TRUE(drain(framer).empty());
    feed(framer, "\nok\r\n");
    EXPECT_EQ(drain(framer), (std::vector<std::string>{"ok"}));
}

TEST(LineFramer, CutsOverlongLineThatEndsInTheSameRead) {
    LineFramer framer(4);
    feed(framer, "abcdefgh\r\nxy\r\n");
    EXPECT_EQ(drain(framer), (std::vector<std::string>{"abcd", "xy"}));
}

TEST(LineFramer, EndlessLineKeepsMemoryBounded) {
    LineFramer framer(1024);
    const std::string chunk(64 * 1024, 'z');
    std::size_t delivered = 0;
    for (int i = 0; i < 200; ++i) {
        feed(framer, chunk);
        delivered += drain(framer).size();
    }
    EXPECT_EQ(delivered, 1u);  // the first 1024 bytes; the rest is dropped
    feed(framer, "\r\nend\r\n");
    EXPECT_EQ(drain(framer), (std::vector<std::string>{"end"}));
}

TEST(LineFramer, RemainderAtEndOfStream) {
    LineFramer framer;
    feed(framer, "done\r\npartial");
    EXPECT_EQ(drain(framer), (std::vector<std::string>{"done"}));
    EXPECT_EQ(framer.takeRemainder(), "partial");
    EXPECT_EQ(framer.takeRemainder(), "");
}

TEST(LineFramer, ManyShortLinesInOneBuffer) {
    LineFramer framer;
    std::string bytes;
    for (int i = 0; i < 20000; ++i) {
        bytes += "line " + std::to_string(i) + "\r\n";
    }
    feed(framer, bytes);
    const auto lines = drain(framer);
    ASSERT_EQ(lines.size(), 20000u);
    EXPECT_EQ(lines.front(), "line 0");
    EXPECT_EQ(lines.back(), "line 19999");
}
