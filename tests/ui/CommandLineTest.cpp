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
}

TEST(CommandLine, QtOptionsPassAndMistakesAreReported) {
    const auto qt = parseCommandLine({"-platform", "offscreen", "--headless"});
    EXPECT_TRUE(qt.error.isEmpty());
    EXPECT_TRUE(qt.headless);
    EXPECT_FALSE(parseCommandLine({"--config"}).error.isEmpty());
    EXPECT_FALSE(parseCommandLine({"stray"}).error.isEmpty());
    EXPECT_FALSE(parseCommandLine({"--no-such-option"}).error.isEmpty());
}
