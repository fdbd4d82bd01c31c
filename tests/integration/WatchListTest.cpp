#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "GatewaySim.h"
#include "SessionRecorder.h"
#include "session/Session.h"
#include "settings/IniFile.h"
#include "settings/SettingsFile.h"
#include "support/EventLoop.h"
#include "watch/WatchListFile.h"
#include "watch/WatchListModel.h"

using namespace std::chrono_literals;

namespace tesk::test {

TEST(WatchListAgainstTheSimulator, RowsFollowTheGatewayFromATeskIni) {
    gatewaysim::Options options;
    options.port = 0;
    gatewaysim::SimThread sim(options);
    ASSERT_TRUE(sim.start());
    sim.setUserOnline("alice", "Starcraft", gatewaysim::Place::channel("Foo"));
    sim.setAway("alice", "lunch");
    sim.setUserOnline("Bob", "Warcraft III", gatewaysim::Place::game("Bar"));

    QTemporaryDir dir;
    const QString path = dir.filePath("Tesk.ini");
    {
        IniFile ini(path);
        ini.writeString("Settings", "Gateway", "127.0.0.1");
        writeWatchedNames(ini, {"carol", "bob", "alice"});
        ASSERT_TRUE(ini.flush());
    }
    ConnectionTimings timings;
    timings.writerPause = 50ms;
    timings.pollInterval = 200ms;
    timings.port = sim.port();
    Session session(timings);
    const IniFile ini(path);
    session.settings().publish(readSettings(ini));
    WatchListModel& list = session.watchList();
    list.assign(readWatchedNames(ini));
    SessionRecorder recorder;
    session.attachViews(recorder, recorder);
    session.start();
    ASSERT_TRUE(waitUntil([&] { return list.row(2).user.presence == Presence::Offline; }));

    EXPECT_EQ(list.names(), (std::vector<std::string>{"alice", "bob", "carol"}));
    const WatchedUser& alice = list.row(0).user;
    EXPECT_EQ(alice.presence, Presence::Away);
    EXPECT_EQ(alice.place, (Place{Place::Kind::Channel, "Foo"}));
    EXPECT_EQ(alice.program, "Starcraft");
    EXPECT_EQ(alice.awayMessage, "lunch");
    const WatchedUser& bob = list.row(1).user;
    EXPECT_EQ(bob.presence, Presence::Online);
    EXPECT_EQ(bob.place, (Place{Place::Kind::Game, "Bar"}));
    EXPECT_EQ(bob.program, "Warcraft III");
    EXPECT_EQ(placeText(list.row(2).user), "offline");

    // carol's whisper waits unread; she logs on: she is still polled, the next cycle turns
    // her row online and announces her, and her message still waits.
    list.setUnread(2, true);
    sim.setUserOnline("carol", "Chat", gatewaysim::Place::privateChannel());
    ASSERT_TRUE(waitUntil([&] { return !recorder.announced.empty(); }, 5000));
    EXPECT_EQ(recorder.announced, (std::vector<std::string>{"carol"}));
    EXPECT_EQ(placeText(list.row(2).user), "private channel");
    EXPECT_TRUE(list.row(2).user.unread);
    EXPECT_TRUE(recorder.errors.empty());
}

}  // namespace tesk::test
