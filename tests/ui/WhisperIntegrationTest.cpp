#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTemporaryDir>

#include "GatewaySim.h"
#include "connection/Connection.h"
#include "connection/ConnectionView.h"
#include "connection/GatewayClient.h"
#include "platform/SoundPlayer.h"
#include "settings/LiveSettings.h"
#include "support/EventLoop.h"
#include "ui/Conversations.h"
#include "ui/TrayNotifier.h"
#include "watch/WatchListModel.h"

using namespace std::chrono_literals;
using namespace tesk;

namespace {

struct NoSounds : SoundPlayer {
    void play(const QString&) override {}
};

// Whisper lines and refused whispers go to the chat windows; everything else is not
// looked at here.
class WhisperWiring : public ConnectionView, public ServerEventSink {
public:
    explicit WhisperWiring(Conversations*& conversations) : conversations_(conversations) {}
    void displayStatus(const StatusDisplay&) override {}
    std::vector<std::string> namesToPoll() override { return {}; }
    void resetWatchRows() override {}
    void showError(const std::string&) override {}
    void handle(const ServerEvent& event) override {
        if (const auto* whisper = std::get_if<WhisperEvent>(&event)) {
            conversations_->handle(*whisper);
        } else if (const auto* refusal = std::get_if<WhisperRefusal>(&event)) {
            conversations_->handle(*refusal);
        }
    }

private:
    Conversations*& conversations_;
};

}  // namespace

TEST(WhispersAgainstTheSimulator, TranscriptsHoldBothSidesInOrder) {
    gatewaysim::Options options;
    options.port = 0;
    gatewaysim::SimThread sim(options);
    ASSERT_TRUE(sim.start());
    sim.setUserOnline("alice", "Chat", gatewaysim::Place::channel("Foo"));
    sim.setUserOnline("bob", "Chat", gatewaysim::Place::channel("Foo"));

    QTemporaryDir dir;
    LiveSettings settings;
    SettingsValues values;
    values.gateway = "127.0.0.1";
    values.user = "me";
    settings.publish(values);
    WatchListModel list;
    CommandQueue queue;
    NoSounds sounds;
    TrayNotifier tray(sounds, [] { return false; }, [] { return QString("Online"); });
    Conversations* conversations = nullptr;
    WhisperWiring wiring(conversations);
    ConnectionTimings timings;
    timings.writerPause = 50ms;
    timings.port = sim.port();
    GatewayClient client(queue, settings, wiring, wiring, timings);

    ChatContext context;
    context.queue = &queue;
    context.status = [&client] { return client.connection().status(); };
    context.iniPath = dir.filePath("Tesk.ini");
    Conversations chats(context, list, tray, sounds, settings, [] { return true; });
    conversations = &chats;
    client.start();
    ASSERT_TRUE(test::waitUntil([&] { return client.connection().status() == ConnectionStatus::Online; }));

    sim.whisperToAll("alice", "hello there");
    ASSERT_TRUE(test::waitUntil([&] { return chats.findChat("alice") != nullptr; }));
    ChatForm* alice = chats.findChat("alice");
    alice->msgEdit()->setText("hi alice");
    alice->sendButtonClick();
    sim.whisperToAll("bob", "psst");
    ASSERT_TRUE(test::waitUntil([&] { return alice->transcript().contains("hi alice"); }));
    sim.whisperToAll("alice", "bye");
    ASSERT_TRUE(test::waitUntil([&] { return alice->transcript().contains("bye"); }));

    const QStringList lines = alice->transcript().split('\n');
    ASSERT_EQ(lines.size(), 6);
    EXPECT_TRUE(lines[0].startsWith("alice ("));
    EXPECT_EQ(lines[1], "hello there");
    EXPECT_TRUE(lines[2].startsWith("me ("));
    EXPECT_EQ(lines[3], "hi alice");
    EXPECT_EQ(lines[5], "bye");
    ASSERT_NE(chats.findChat("bob"), nullptr);
    EXPECT_TRUE(chats.findChat("bob")->transcript().endsWith("psst"));
    EXPECT_TRUE(sim.receivedLines().contains("/w alice hi alice"));
}
