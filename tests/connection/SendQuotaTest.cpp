// PvPGN's quota as the writer keeps it: which line may go when, from the lines of the
// window before it.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "connection/SendQuota.h"

using namespace tesk;
using namespace std::chrono_literals;

TEST(SendQuota, ALineGoesOnceTheWindowLeavesRoomForItBelowTheBudget) {
    const struct {
        const char* what;
        std::vector<std::pair<int, std::size_t>> sent;  // ms, bytes
        int nowMs;
        std::size_t bytes;
        int expectedMs;
    } cases[] = {
        {"an empty window", {}, 0, 12, 0},
        {"four units leave room for none",
         {{0, 12}, {1000, 12}, {2000, 12}, {3000, 12}},
         3500,
         12,
         5000},
        {"three units leave room for one", {{0, 12}, {1000, 12}, {2000, 12}}, 2500, 12, 2500},
        {"lines leave in the order they came", {{0, 12}, {1000, 12}, {2000, 80}}, 2500, 80, 6000},
        {"a four-unit line needs an empty window", {{0, 12}, {2000, 12}}, 3000, 160, 7000},
        {"gone lines count no more", {{0, 160}, {2000, 12}}, 6000, 12, 6000},
        {"a line that reaches the budget alone waits for an empty window",
         {{0, 12}},
         1000,
         161,
         5000},
        {"and goes at once into one", {}, 0, 200, 0},
    };
    for (const auto& c : cases) {
        SendQuota quota({5, 5000ms, 40, 200});
        const SendQuota::Clock::time_point start;
        for (const auto& [ms, bytes] : c.sent) {
            quota.sent(bytes, start + std::chrono::milliseconds(ms));
        }
        const auto when = quota.earliestSend(c.bytes, start + std::chrono::milliseconds(c.nowMs));
        EXPECT_EQ(std::chrono::duration_cast<std::chrono::milliseconds>(when - start).count(),
                  c.expectedMs)
            << c.what;
    }
}

TEST(SendQuota, UnitsAndTheLongestLineFollowTheServersFigures) {
    const ServerQuota stock;
    EXPECT_EQ((std::vector<int>{stock.unitsOf(0), stock.unitsOf(40), stock.unitsOf(41),
                                stock.unitsOf(160), stock.unitsOf(161)}),
              (std::vector<int>{1, 1, 2, 4, 5}));
    // A 161-byte line costs five units and is refused on its own: 160 bytes is the most.
    EXPECT_EQ(stock.longestLine(), 160u);
    EXPECT_EQ((ServerQuota{10, 5000ms, 40, 200}.longestLine()), 200u);
    EXPECT_EQ((ServerQuota{2, 5000ms, 64, 200}.longestLine()), 64u);
}
