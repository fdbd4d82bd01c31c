#include <gtest/gtest.h>

#include <atomic>
#include <set>
#include <thread>
#include <vector>

#include "connection/CommandQueue.h"
#include "platform/StopFlag.h"

using namespace tesk;

namespace {

std::vector<std::string> texts(const CommandQueue& queue) {
    std::vector<std::string> result;
    for (const auto& entry : queue.entries()) {
        result.push_back(entry.text);
    }
    return result;
}

}  // namespace

TEST(CommandQueue, FrontEntriesGoAheadOfEachOtherAndOfTheBack) {
    CommandQueue queue;
    queue.putBack("/whois alpha", mark::kProgram);
    queue.putBack("#TESK: Control Command", mark::kControl);
    queue.putFront("A", mark::kProgram);
    queue.putFront("B", mark::kConsole);
    EXPECT_EQ(texts(queue),
              (std::vector<std::string>{"B", "A", "/whois alpha", "#TESK: Control Command"}));
    EXPECT_EQ(queue.front()->mark, mark::kConsole);
    EXPECT_EQ(queue.size(), 4u);
}

TEST(CommandQueue, RemovesExactlyTheGivenEntry) {
    CommandQueue queue;
    const auto sent = queue.putFront("/whois a", mark::kProgram);
    queue.putFront("/whois a", mark::kProgram);  // same text, another entry, now in front
    EXPECT_TRUE(queue.remove(sent));
    EXPECT_FALSE(queue.remove(sent));
    ASSERT_EQ(queue.size(), 1u);
    EXPECT_NE(queue.front()->id, sent);
}

TEST(CommandQueue, ClearEmptiesAndEveryChangeWakesTheWriter) {
    CommandQueue queue;
    const auto before = queue.wakeCount();
    const auto id = queue.putBack("x", 1);
    queue.putFront("y", 1);
    queue.remove(id);
    queue.clear();
    EXPECT_EQ(queue.size(), 0u);
    EXPECT_FALSE(queue.front().has_value());
    EXPECT_EQ(queue.wakeCount() - before, 4u);
}

TEST(CommandQueue, WakeAfterTheCountWasReadIsNeverLost) {
    CommandQueue queue;
    StopFlag stop;
    const auto seen = queue.wakeCount();
    queue.putBack("arrives before the wait", 1);
    queue.waitForWake(seen, stop);  // must return at once
    SUCCEED();
}

// Producers on several threads while a consumer like the writer takes entries off the
// front: every entry is taken exactly once and none is lost.
TEST(CommandQueue, ConcurrentProducersAndAConsumerLoseNothing) {
    CommandQueue queue;
    StopFlag stop;
    constexpr int kProducers = 4;
    constexpr int kPerProducer = 2000;
    std::multiset<std::string> taken;
    std::thread consumer([&] {
        while (taken.size() < kProducers * kPerProducer) {
            const auto seen = queue.wakeCount();
            if (auto entry = queue.front()) {
                ASSERT_TRUE(queue.remove(entry->id));
                taken.insert(entry->text);
                continue;
            }
            queue.waitForWake(seen, stop);
        }
    });
    std::vector<std::thread> producers;
    for (int p = 0; p < kProducers; ++p) {
        producers.emplace_back([&, p] {
            for (int i = 0; i < kPerProducer; ++i) {
                const std::string text = std::to_string(p) + ":" + std::to_string(i);
                if (i % 2) {
                    queue.putFront(text, 1);
                } else {
                    queue.putBack(text, 1);
                }
            }
        });
    }
    for (auto& producer : producers) {
        producer.join();
    }
    consumer.join();
    EXPECT_EQ(taken.size(), static_cast<std::size_t>(kProducers * kPerProducer));
    EXPECT_EQ(std::set<std::string>(taken.begin(), taken.end()).size(), taken.size());
    EXPECT_EQ(queue.size(), 0u);
}
