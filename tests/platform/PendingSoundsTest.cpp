// Chimes waiting for the sound device: played in order while fresh, dropped once they
// have waited too long or when too many wait.
#include <gtest/gtest.h>

#include "platform/PendingSounds.h"

namespace {

using tesk::PendingSounds;
using namespace std::chrono_literals;

TEST(PendingSounds, OnlyFreshChimesArePlayedInOrder) {
    const PendingSounds::Clock::time_point start{};
    PendingSounds sounds;
    EXPECT_TRUE(sounds.add("online-1", start));
    EXPECT_TRUE(sounds.add("message", start + 1s));
    EXPECT_TRUE(sounds.add("online-2", start + 2500ms));
    EXPECT_TRUE(sounds.add("online-3", start + 2600ms));
    EXPECT_FALSE(sounds.add("dropped", start + 2700ms));  // four already wait

    // The device answers 3.2 s after the first chime: the two oldest are stale.
    const auto answered = start + 3200ms;
    const auto first = sounds.takeFresh(answered);
    ASSERT_TRUE(first.has_value());
    EXPECT_EQ(first->file, "online-2");
    EXPECT_FALSE(first->isStale(answered));
    EXPECT_TRUE(first->isStale(start + 4600ms));  // one that waits on for the device
    EXPECT_EQ(sounds.takeFresh(answered)->file, "online-3");
    EXPECT_FALSE(sounds.takeFresh(answered).has_value());
    EXPECT_TRUE(sounds.empty());

    EXPECT_TRUE(sounds.add("again", answered));  // room again
    EXPECT_FALSE(sounds.takeFresh(answered + 2001ms).has_value());
}

}  // namespace
