#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTemporaryDir>

#include "GatewaySim.h"
#include "QuietSessionView.h"
#include "platform/SoundPlayer.h"
#include "session/Session.h"
#include "support/EventLoop.h"
#include "ui/Conversations.h"
#include "ui/TrayNotifier.h"

using namespace std::chrono_literals;
using namespace tesk;

namespace {

struct NoSounds : SoundPlayer {
    void play(const QString&) override {}
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
    ConnectionTimings timings;
    timings.writerPause = 50ms;
    timings.port = sim.port();
    Session session(timings);
    SettingsValues values;
    values.gateway = "127.0.0.1";
    values.user = "me";
    session.settings().publish(values);
    NoSounds sounds;
    TrayNotifier tray(sounds, [] { return false; });
    ChatContext context;
    context.queue = &session.queue();
    context.status = [&session] { return session.status(); };
    context.iniPath = dir.filePath("Tesk.ini");
    Conversations chats(context, session, tray, sounds, [] { return true; });
    test::QuietSessionView view;
    session.attachViews(view, chats);
    session.start();
    ASSERT_TRUE(test::waitUntil([&] { return session.status() == ConnectionStatus::Online; }));

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
