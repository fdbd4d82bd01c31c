#include <gtest/gtest.h>

#include <vector>

#include "connection/RetryPause.h"

using namespace std::chrono_literals;

TEST(RetryPause, DoublesUpToTheLongestAndStartsAgainAfterAReset) {
    tesk::RetryPause pause(2000ms, 60000ms);
    std::vector<long long> taken;
    for (int i = 0; i < 7; ++i) {
        taken.push_back(pause.take().count());
    }
    EXPECT_EQ(taken, (std::vector<long long>{2000, 4000, 8000, 16000, 32000, 60000, 60000}));
    pause.reset();
    EXPECT_EQ(pause.take(), 2000ms);
}
