#include <gtest/gtest.h>

#include "ui/CommandLine.h"

using tesk::parseCommandLine;

TEST(CommandLine, KnownOptions) {
    const auto parsed = parseCommandLine({"--headless", "--config", "a.ini"});
    EXPECT_TRUE(parsed.headless);
    EXPECT_EQ(parsed.configPath, "a.ini");
    EXPECT_TRUE(parsed.error.isEmpty());
    EXPECT_EQ(parseCommandLine({"--config=b.ini"}).configPath, "b.ini");
    EXPECT_TRUE(parseCommandLine({"--help"}).help);
    EXPECT_TRUE(parseCommandLine({"--version"}).version);
    const auto bench = parseCommandLine({"--quit-when-shown", "--poll-interval", "15000"});
    EXPECT_TRUE(bench.quitWhenShown);
    EXPECT_EQ(bench.pollInterval.count(), 15000);
}

TEST(CommandLine, QtOptionsPassAndMistakesAreReported) {
    const auto qt = parseCommandLine({"-platform", "offscreen", "--headless"});
    EXPECT_TRUE(qt.error.isEmpty());
    EXPECT_TRUE(qt.headless);
    EXPECT_FALSE(parseCommandLine({"--config"}).error.isEmpty());
    EXPECT_FALSE(parseCommandLine({"stray"}).error.isEmpty());
    EXPECT_FALSE(parseCommandLine({"--no-such-option"}).error.isEmpty());
    EXPECT_FALSE(parseCommandLine({"--poll-interval", "999"}).error.isEmpty());
    EXPECT_FALSE(parseCommandLine({"--poll-interval", "soon"}).error.isEmpty());
}
