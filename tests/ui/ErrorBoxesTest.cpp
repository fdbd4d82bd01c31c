// One error box at a time: errors wait for the open box and for the first-run dialogs,
// and an error already open or waiting is not shown twice.
#include <gtest/gtest.h>

#include <vector>

#include "ui/ErrorBoxes.h"

namespace {

TEST(ErrorBoxes, OneAtATimeEachKindOnce) {
    std::vector<QString> shown;
    std::function<void()> whileOpen;  // what arrives while the next box is open
    tesk::ErrorBoxes boxes([&](const QString& caption, const QString& text) {
        shown.push_back(caption + ": " + text);
        if (whileOpen) {
            const auto arriving = std::move(whileOpen);
            whileOpen = nullptr;
            arriving();
        }
    });

    // The first-run welcome is up: the start-up connect fails, twice alike, and the ping.
    boxes.hold();
    boxes.show("Error", "Can't connect");
    boxes.show("Error", "Can't connect");
    boxes.show("Ping error", "Lookup failed");
    EXPECT_TRUE(shown.empty());
    boxes.release();
    EXPECT_EQ(shown, (std::vector<QString>{"Error: Can't connect", "Ping error: Lookup failed"}));

    // While a box is open the same error is dropped and another one waits for it.
    shown.clear();
    whileOpen = [&] {
        boxes.show("Error", "Login incorrect");
        boxes.show("Error", "Can't connect");
    };
    boxes.show("Error", "Login incorrect");
    EXPECT_EQ(shown, (std::vector<QString>{"Error: Login incorrect", "Error: Can't connect"}));

    // Once closed, the same error is shown again.
    boxes.show("Error", "Login incorrect");
    EXPECT_EQ(shown.back(), "Error: Login incorrect");
    EXPECT_EQ(shown.size(), 3u);
}

}  // namespace
