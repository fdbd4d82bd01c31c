#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "GatewaySim.h"
#include "connection/GatewayClient.h"
#include "settings/IniFile.h"
#include "settings/SettingsFile.h"
#include "support/EventLoop.h"
#include "watch/UserUpdate.h"
#include "watch/WatchListFile.h"
#include "watch/WatchListModel.h"

using namespace std::chrono_literals;

namespace tesk::test {

namespace {

// The watch list wired to the connection the way the main window wires it.
class WatchListWiring : public ConnectionView, public ServerLineHandlers, public OnlineAnnouncer {
public:
    explicit WatchListWiring(WatchListModel& list) : list_(list) {}
    void showStatus(const StatusDisplay&) override {}
    std::vector<std::string> namesToPoll() override { return list_.namesToPoll(); }
    void resetWatchRows() override { list_.resetAll(); }
    void showError(const std::string& message) override { errors.push_back(message); }
    void AddToLog(const LogEntry&) override {}
    void UpdateUser(ReaderState& state) override { tesk::UpdateUser(list_, state, *this); }
    void UpdateStats(ReaderState&) override {}
    void HandleWhisperLine(const std::string&) override {}
    void announceOnline(const std::string& name) override { announced.push_back(name); }

    std::vector<std::string> errors;
    std::vector<std::string> announced;

private:
    WatchListModel& list_;
};

}  // namespace

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
    const IniFile ini(path);
    LiveSettings settings;
    settings.publish(readSettings(ini));
    WatchListModel list;
    list.assign(readWatchedNames(ini));
    WatchListWiring wiring(list);

    ConnectionTimings timings;
    timings.writerPause = 50ms;
    timings.pollInterval = 200ms;
    timings.port = sim.port();
    CommandQueue queue;
    GatewayClient client(queue, settings, wiring, wiring, timings);
    client.start();
    ASSERT_TRUE(waitUntil([&] { return list.row(2).state.image == image::kOffline; }));

    EXPECT_EQ(list.names(), (std::vector<std::string>{"alice", "bob", "carol"}));
    const WatchRowState& alice = list.row(0).state;
    EXPECT_EQ(alice.image, image::kAway);
    EXPECT_EQ(alice.place, "channel: Foo");
    EXPECT_EQ(alice.program, "Starcraft");
    EXPECT_EQ(alice.awayMessage, "lunch");
    const WatchRowState& bob = list.row(1).state;
    EXPECT_EQ(bob.image, image::kOnline);
    EXPECT_EQ(bob.place, "game: Bar");
    EXPECT_EQ(bob.program, "Warcraft III");
    EXPECT_EQ(list.row(2).state.place, "offline");

    // carol logs on: the next cycle turns her row online and announces her.
    sim.setUserOnline("carol", "Chat", gatewaysim::Place::privateChannel());
    ASSERT_TRUE(waitUntil([&] { return !wiring.announced.empty(); }, 5000));
    EXPECT_EQ(wiring.announced, (std::vector<std::string>{"carol"}));
    EXPECT_EQ(list.row(2).state.place, "private channel");
    EXPECT_TRUE(wiring.errors.empty());
}

}  // namespace tesk::test
