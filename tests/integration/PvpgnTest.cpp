// The client against the simulator playing a PvPGN server: the login bytes, the login
// failure and the refused anonymous access, replies reaching their handlers without any
// echo from the server, the watch list rows, whispers both ways and refused ones, mode
// notices, a quota drop heard at once, an account in use elsewhere, and the Automatic
// server type.
#include "GatewayFixture.h"

#include <unistd.h>
#include <algorithm>
#include <regex>
#include <thread>

#include "SessionRecorder.h"
#include "connection/Connection.h"
#include "connection/GatewayDialect.h"
#include "connection/WhisperLines.h"
#include "session/Session.h"
#include "support/EventLoop.h"
#include "support/LoopbackListener.h"
#include "watch/ServerReplies.h"
#include "watch/WhoisReply.h"

using namespace std::chrono_literals;
using Lines = std::vector<std::string>;

namespace tesk::test {

namespace {

gatewaysim::Options pvpgnSim() {
    gatewaysim::Options options;
    options.dialect = gatewaysim::Dialect::Pvpgn;
    options.accounts.insert("tesk", "secret");
    return options;
}

SettingsValues pvpgnAccount(const std::string& password = "secret") {
    SettingsValues values;
    values.gateway = "127.0.0.1";
    values.serverType = ServerType::PvPGN;
    values.anonymous = false;
    values.user = "tesk";
    values.password = password;
    return values;
}

bool contains(const Lines& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

}  // namespace

// ---- Login ----

TEST_F(GatewayFixture, PvpgnLoginSendsTheChatClassBytesAndTheAccountThenJoins) {
    startSim(pvpgnSim());
    view.names = {"alpha"};
    startClient(pvpgnAccount());
    ASSERT_TRUE(waitForStatus(ConnectionStatus::Online));
    ASSERT_TRUE(waitForReceived(5));
    const Lines lines = received(1);
    EXPECT_EQ(Lines(lines.begin(), lines.begin() + 3), (Lines{"\x03\x04", "tesk", "secret"}));
    EXPECT_TRUE(std::regex_match(lines[3], std::regex("/join public chat tesk[0-9]+"))) << lines[3];
    EXPECT_EQ(lines[4], "/whois alpha");

    // The console shows the server's lines as they came, prompts and all, and no echo.
    ASSERT_TRUE(waitUntil([&] { return handlers.userReplies.size() == 1; }));
    EXPECT_TRUE(contains(handlers.log, "Username: tesk"));
    EXPECT_TRUE(contains(handlers.log, "Password: "));
    EXPECT_TRUE(contains(handlers.log, "BOT or Telnet Connection from [127.0.0.1]"));
    EXPECT_TRUE(std::none_of(handlers.log.begin(), handlers.log.end(),
                             [](const std::string& line) { return startsWith(line, "/"); }));
    EXPECT_EQ(handlers.userReplies, (Lines{"alpha <- 1019 ERROR \"That user is not logged on.\""}));
    EXPECT_TRUE(view.errors.empty());
}

TEST_F(GatewayFixture, PvpgnWrongPasswordIsTheLoginFailure) {
    startSim(pvpgnSim());
    view.names = {"alpha"};
    startClient(pvpgnAccount("wrong"));
    ASSERT_TRUE(waitUntil([&] { return !view.errors.empty(); }));
    processEventsFor(300);
    EXPECT_EQ(view.errors, (Lines{protocol::kPvpgnLoginFailedMessage}));
    EXPECT_EQ(sim->connectionCount(), 1);
    EXPECT_EQ(client->queue().size(), 0u);
    EXPECT_EQ(client->connection().status(), ConnectionStatus::Offline);
    EXPECT_TRUE(contains(handlers.log, "Login failed."));
}

// "Login failed." for the account and password that already logged in during this run:
// the account is in use elsewhere (a game). Without "Force reconnect" the box; with it a
// quiet retry, the tray saying why, until the login works again.
TEST_F(GatewayFixture, PvpgnAccountInUseIsRetriedQuietlyWithForce) {
    for (const bool force : {false, true}) {
        SCOPED_TRACE(force ? "force" : "no force");
        startSim(pvpgnSim());
        SettingsValues values = pvpgnAccount();
        values.force = force;
        ConnectionTimings timings = fast();
        timings.accountInUseRetry = 100ms;
        startClient(values, timings);
        ASSERT_TRUE(waitForStatus(ConnectionStatus::Online));
        const quint16 port = sim->port();
        const auto restartSim = [&](const char* password) {
            gatewaysim::Options options = pvpgnSim();
            options.accounts["tesk"] = password;
            options.port = port;
            sim = std::make_unique<gatewaysim::SimThread>(options);
            return sim->start();
        };
        sim.reset();  // the account logs on elsewhere: the server now refuses our password
        ASSERT_TRUE(restartSim("taken"));
        if (!force) {
            ASSERT_TRUE(waitUntil([&] { return !view.errors.empty(); }));
            EXPECT_EQ(view.errors, (Lines{protocol::kPvpgnLoginFailedMessage}));
        } else {
            ASSERT_TRUE(waitUntil([&] { return sim->connectionCount() >= 2; }));
            EXPECT_TRUE(view.errors.empty());
            EXPECT_TRUE(
                contains(view.notes, "The account is logged on elsewhere. Trying again in 0.1 s."));
            EXPECT_TRUE(contains(view.tips, protocol::kAccountInUse));
            sim.reset();
            ASSERT_TRUE(restartSim("secret"));
            EXPECT_TRUE(waitForStatus(ConnectionStatus::Online));
        }
        client.reset();
        sim.reset();
        view = {};
    }
}

// Automatic: the classic login first, PvPGN's at once in the same connect when the
// server does not take it; the console says which the gateway is.
TEST_F(GatewayFixture, AutomaticFindsTheServerTypeItself) {
    for (const bool pvpgn : {false, true}) {
        SCOPED_TRACE(pvpgn ? "PvPGN" : "classic");
        startSim(pvpgn ? pvpgnSim() : gatewaysim::Options{});
        SettingsValues values = pvpgnAccount();
        values.serverType = ServerType::Automatic;
        ConnectionTimings timings = fast();
        timings.loginTimeout = 300ms;
        startClient(values, timings);
        ASSERT_TRUE(waitForStatus(ConnectionStatus::Online, 8000));
        EXPECT_EQ(sim->connectionCount(), pvpgn ? 2 : 1);
        EXPECT_EQ(received(sim->connectionCount())[0], pvpgn ? "\x03\x04" : "c");
        EXPECT_TRUE(contains(
            view.notes, pvpgn ? "127.0.0.1 is a PvPGN server." : "127.0.0.1 is a classic server."));
        EXPECT_TRUE(view.errors.empty());
        client.reset();
        sim.reset();
        view = {};
    }
}

TEST_F(GatewayFixture, AutomaticShowsTheBoxOnlyWhenBothLoginsFail) {
    LoopbackListener closer;
    std::thread closing([&] {
        for (int i = 0; i < 2; ++i) {
            const int fd = closer.acceptOne();
            LoopbackListener::readBytes(fd, 2, 1000);
            ::close(fd);
        }
    });
    SettingsValues values = pvpgnAccount();
    values.serverType = ServerType::Automatic;
    ConnectionTimings timings = fast();
    timings.port = closer.port();
    startClient(values, timings);
    ASSERT_TRUE(waitUntil([&] { return !view.errors.empty(); }));
    EXPECT_EQ(view.errors, (Lines{protocol::closedDuringLoginMessage(false)}));
    closing.join();
}

TEST_F(GatewayFixture, PvpgnWithAnonymousAccessSaysSoInsteadOfConnecting) {
    startSim(pvpgnSim());
    view.names = {"alpha"};
    SettingsValues values = anonymous();
    values.serverType = ServerType::PvPGN;
    values.force = true;  // not even a forced reconnect tries
    startClient(values);
    ASSERT_TRUE(waitUntil([&] { return !view.errors.empty(); }));
    processEventsFor(300);
    EXPECT_EQ(view.errors, (Lines{protocol::kAccountNeededMessage}));
    EXPECT_EQ(sim->connectionCount(), 0);
    EXPECT_EQ(client->queue().size(), 0u);
    EXPECT_GE(view.resets, 1);
    EXPECT_EQ(view.statuses.back(), "Offline");

    // With an account the same client connects.
    settings.publish(pvpgnAccount());
    client->connection().connect();
    EXPECT_TRUE(waitForStatus(ConnectionStatus::Online));
}

// ---- Replies without echo ----

TEST_F(GatewayFixture, PvpgnRepliesReachTheirHandlersAsIfTheCommandsWereEchoed) {
    startSim(pvpgnSim());
    sim->setUserOnline("alice", "Starcraft", gatewaysim::Place::channel("Foo"));
    sim->setAway("alice", "gone fishing");
    sim->setUserOnline("carol", "Chat", gatewaysim::Place::channel("Foo"));
    sim->setUserOffline("carol");
    sim->setUserOnline("dave", "Starcraft", gatewaysim::Place::privateChannel());
    view.names = {"alice", "carol", "nobody", "dave"};
    startClient(pvpgnAccount());
    ASSERT_TRUE(waitUntil([&] { return handlers.userReplies.size() == 5; }));
    // Both offline answers count: the echo between them keeps the second from being a repeat.
    EXPECT_EQ(handlers.userReplies,
              (Lines{"alice <- 1018 INFO \"alice is using Starcraft in the channel Foo.\"",
                     "alice <- 1018 INFO \"alice is away (gone fishing)\"",
                     "carol <- 1019 ERROR \"That user is not logged on.\"",
                     "nobody <- 1019 ERROR \"That user is not logged on.\"",
                     "dave <- 1018 INFO \"dave is using Starcraft in no channel and no game.\""}));
    EXPECT_TRUE(contains(handlers.log, "1018 INFO \"User is offline\""));

    client->queue().putFront("/stats alice war3", mark::kProgram);
    ASSERT_TRUE(waitUntil([&] { return handlers.statsReplies.size() == 10; }));
    EXPECT_EQ(handlers.statsReplies[0], "alice | war3 | (record)");
    EXPECT_TRUE(contains(handlers.log, "1018 INFO \"alice's Ladder Record's:\""));
}

TEST_F(GatewayFixture, PvpgnModeNoticesMoveTheStatus) {
    startSim(pvpgnSim());
    startClient(pvpgnAccount());
    ASSERT_TRUE(waitForStatus(ConnectionStatus::Online));
    client->queue().putFront("/dnd", mark::kProgram);
    ASSERT_TRUE(waitUntil([&] { return view.statuses.back() == "DND"; }));
    client->queue().putFront("/dnd", mark::kProgram);
    ASSERT_TRUE(waitUntil([&] { return view.statuses.back() == "Online"; }));
    EXPECT_TRUE(contains(handlers.log, "1018 INFO \"Do Not Disturb mode canceled.\""));
    client->queue().putFront("/away", mark::kProgram);
    ASSERT_TRUE(waitUntil([&] { return view.statuses.back() == "Away"; }));
}

TEST_F(GatewayFixture, PvpgnWhispersGoBothWays) {
    startSim(pvpgnSim());
    sim->setUserOnline("alice", "Chat", gatewaysim::Place::channel("Foo"));
    sim->setAutoReply("alice", "brb");
    startClient(pvpgnAccount());
    ASSERT_TRUE(waitForStatus(ConnectionStatus::Online));

    client->queue().putFront("/w alice hi there", mark::kProgram);
    ASSERT_TRUE(waitUntil([&] { return handlers.whispers.size() == 2; }));
    EXPECT_EQ(handlers.whispers, (Lines{"to alice: hi there", "from alice: brb"}));
    sim->whisperTo("tesk", "bob", "psst");
    ASSERT_TRUE(waitUntil([&] { return handlers.whispers.size() == 3; }));
    EXPECT_EQ(handlers.whispers[2], "from bob: psst");
    EXPECT_TRUE(handlers.userReplies.empty()) << "the greeting was no reply to the whisper";
}

TEST_F(GatewayFixture, PvpgnRefusedWhispersReachTheirHandlerOnceWithTheReason) {
    startSim(pvpgnSim());
    sim->setUserOnline("ivy", "Chat", gatewaysim::Place::channel("Foo"));
    sim->setDnd("ivy", "in a meeting");
    sim->setUserOnline("alice", "Chat", gatewaysim::Place::channel("Foo"));
    sim->setAway("alice", "lunch");
    startClient(pvpgnAccount());
    ASSERT_TRUE(waitForStatus(ConnectionStatus::Online));
    const std::string tooLong(200, 'x');
    for (const std::string& command : Lines{"/w carol hi", "/whois carol", "/w ivy are you there",
                                            "/w alice " + tooLong, "/w alice hello"}) {
        client->queue().putBack(command, mark::kProgram);
    }
    ASSERT_TRUE(
        waitUntil([&] { return contains(handlers.log, "1018 INFO \"alice is away (lunch)\""); }));
    // A quota of two units: the second whisper reaches it and is refused, then the warning
    // follows.
    sim->setFloodLimit(2, 60000);
    client->queue().putBack("/w alice one", mark::kProgram);
    client->queue().putBack("/w alice two", mark::kProgram);
    ASSERT_TRUE(waitUntil([&] { return handlers.refusals.size() == 4; }));
    processEventsFor(300);
    EXPECT_EQ(handlers.refusals,
              (Lines{"carol | hi | That user is not logged on.",
                     "ivy | are you there | ivy is refusing messages (in a meeting)",
                     "alice | " + tooLong + " | Your line length quota has been exceeded!",
                     "alice | two | Your message quota has been exceeded!"}));
    EXPECT_EQ(handlers.whispers, (Lines{"to alice: hello", "to alice: one"}));
}

// ---- Quota ----

TEST_F(GatewayFixture, PvpgnQuotaDropIsNoticedAtOnce) {
    gatewaysim::Options options = pvpgnSim();
    options.floodLines = 2;
    options.floodWindowMs = 60000;
    startSim(options);
    view.names = {"a", "b", "c", "d", "e", "f"};
    startClient(pvpgnAccount());
    ASSERT_TRUE(waitUntil([&] { return sim->connectionCount() == 2; }, 8000));
    sim->setFloodLimit(0, 5000);
    ASSERT_TRUE(waitForReceived(4, 2));
    EXPECT_EQ(received(2)[0], "\x03\x04");
    EXPECT_TRUE(waitForStatus(ConnectionStatus::Online));

    EXPECT_TRUE(contains(handlers.log, "1019 ERROR \"Your message quota has been exceeded!\""));
    EXPECT_FALSE(contains(handlers.log, protocol::kFlooding));
    // The client hears the close itself and logs in again before it sends anything more.
    qint64 dropped = -1;
    qint64 reconnected = -1;
    for (const auto& line : sim->received()) {
        if (line.connection == 1) {
            dropped = line.ms;
        } else if (line.connection == 2 && reconnected < 0) {
            reconnected = line.ms;
        }
    }
    EXPECT_LT(reconnected - dropped, 500);
}

// ---- Watch list rows ----

using P = Presence;
using K = Place::Kind;

TEST(PvpgnWatchList, RowsFollowTwoUsersThroughEveryPlaceAndMode) {
    gatewaysim::Options options = pvpgnSim();
    options.port = 0;
    options.emptyInfoAfterWhois = true;  // it must leave away and do-not-disturb alone
    gatewaysim::SimThread sim(options);
    ASSERT_TRUE(sim.start());
    sim.setUserOnline("alice", "Starcraft", gatewaysim::Place::channel("Foo"));
    sim.setUserOnline("Bob", "Warcraft III", gatewaysim::Place::game("Bar"));

    ConnectionTimings timings;
    timings.writerPause = 50ms;
    timings.quotaWindow = 100ms;
    timings.pollInterval = 200ms;
    timings.port = sim.port();
    Session session(timings);
    session.settings().publish(pvpgnAccount());
    WatchListModel& list = session.watchList();
    list.assign({"alice", "bob"});
    SessionRecorder recorder;
    session.attachViews(recorder, recorder);
    session.start();

    const auto rowsBecome = [&list](const WatchedUser& alice, const WatchedUser& bob) {
        return waitUntil([&] { return list.row(0).user == alice && list.row(1).user == bob; },
                         5000);
    };
    const auto rows = [&list] {
        std::string text;
        for (int row : {0, 1}) {
            const WatchedUser& u = list.row(row).user;
            text += std::to_string(static_cast<int>(u.presence)) + " / " + placeText(u) + " / " +
                    u.program + " / " + u.awayMessage + " / " + u.dndMessage + "; ";
        }
        return text;
    };
    ASSERT_TRUE(rowsBecome({P::Online, {K::Channel, "Foo"}, "Starcraft", "", ""},
                           {P::Online, {K::Game, "Bar"}, "Warcraft III", "", ""}))
        << rows();

    sim.setAway("alice", "lunch");
    sim.setUserPlace("Bob", gatewaysim::Place::passwordGame("pgame"));
    ASSERT_TRUE(rowsBecome({P::Away, {K::Channel, "Foo"}, "Starcraft", "lunch", ""},
                           {P::Online, {K::PrivateGame, ""}, "Warcraft III", "", ""}))
        << rows();

    sim.setAway("alice", "");
    sim.setDnd("alice", "busy");
    sim.setUserOffline("Bob");
    ASSERT_TRUE(rowsBecome({P::Dnd, {K::Channel, "Foo"}, "Starcraft", "", "busy"},
                           {P::Offline, {}, "", "", ""}))
        << rows();

    sim.setDnd("alice", "");
    sim.setUserPlace("alice", gatewaysim::Place::privateChannel());  // in no channel or game
    sim.setUserOnline("Bob", "Warcraft III", gatewaysim::Place::channel("Baz"));
    ASSERT_TRUE(rowsBecome({P::Online, {}, "Starcraft", "", ""},
                           {P::Online, {K::Channel, "Baz"}, "Warcraft III", "", ""}))
        << rows();
    EXPECT_EQ(recorder.announced, (Lines{"bob"}));
    EXPECT_TRUE(recorder.errors.empty());
}

TEST(PvpgnWatchList, FriendNoticesSetTheRowAtOnceAndAForgedOneIsAWhisper) {
    gatewaysim::Options options = pvpgnSim();
    options.port = 0;
    gatewaysim::SimThread sim(options);
    ASSERT_TRUE(sim.start());
    sim.setUserOnline("alice", "Starcraft", gatewaysim::Place::channel("Foo"));
    sim.setUserOffline("alice");

    ConnectionTimings timings;
    timings.writerPause = 50ms;
    timings.quotaWindow = 100ms;
    timings.port = sim.port();  // one polling cycle: only the notices change the row later
    Session session(timings);
    session.settings().publish(pvpgnAccount());
    WatchListModel& list = session.watchList();
    list.assign({"Alice"});
    SessionRecorder recorder;
    session.attachViews(recorder, recorder);
    session.start();
    const auto presence = [&list] { return list.row(0).user.presence; };
    ASSERT_TRUE(waitUntil([&] { return presence() == P::Offline; }));

    const std::string forged = "Your friend alice has entered PvPGN Realm.";
    sim.whisperTo("tesk", "bob", QString::fromStdString(forged));
    ASSERT_TRUE(waitUntil([&] { return !recorder.whispers.empty(); }));
    EXPECT_EQ(recorder.whispers, Lines{"bob: " + forged});
    EXPECT_EQ(presence(), P::Offline);

    sim.setUserOnline("alice", "Starcraft", gatewaysim::Place::channel("Foo"));
    ASSERT_TRUE(waitUntil([&] { return presence() == P::Online; }));
    EXPECT_EQ(recorder.announced, Lines{"Alice"});
    // The "/whois" that the notice put first tells where she is.
    ASSERT_TRUE(waitUntil([&] { return list.row(0).user.place == Place{K::Channel, "Foo"}; }));
    EXPECT_EQ(list.row(0).user.program, "Starcraft");

    sim.setUserOffline("alice");
    ASSERT_TRUE(waitUntil([&] { return presence() == P::Offline; }));
    EXPECT_EQ(recorder.whispers.size(), 1u);
}

// A long whisper typed while the watch list is polled, against a server with a short quota
// window: every piece goes within the quota, whole and in order.
TEST_F(GatewayFixture, PvpgnLongWhisperArrivesWholeInOrderWithinTheQuota) {
    gatewaysim::Options options = pvpgnSim();
    options.floodLines = 5;
    options.floodWindowMs = 400;
    startSim(options);
    sim->setUserOnline("alice", "Chat", gatewaysim::Place::channel("Foo"));
    view.names = {"alice", "bob", "carol"};
    ConnectionTimings timings = fast();
    timings.writerPause = 50ms;
    timings.pollInterval = 100ms;
    timings.quotaWindow = 400ms;
    timings.quotaMargin = 20ms;
    startClient(pvpgnAccount(), timings);
    ASSERT_TRUE(waitUntil([&] { return handlers.userReplies.size() >= 6; }));

    // 300 bytes whose first line ends in the middle of a word, at a two-byte character.
    const std::string message = std::string(150, 'a') + "\xC3\xA9 " + std::string(147, 'b');
    client->queue().putFrontInOrder(
        whisperLines("alice", message, client->connection().dialect().longestLine()),
        mark::kProgram);
    const Lines pieces{std::string(150, 'a'), "\xC3\xA9 " + std::string(147, 'b')};
    ASSERT_TRUE(waitUntil([&] { return handlers.whispers.size() == 2; }, 5000));
    EXPECT_EQ(handlers.whispers, (Lines{"to alice: " + pieces[0], "to alice: " + pieces[1]}));
    Lines sent;
    for (const std::string& line : received(1)) {
        if (line.rfind("/w alice ", 0) == 0) {
            sent.push_back(line.substr(9));
        }
    }
    EXPECT_EQ(sent, pieces);
    processEventsFor(500);  // polling goes on meanwhile
    for (const std::string& line : handlers.log) {
        EXPECT_EQ(line.find("quota"), std::string::npos) << line;
    }
    EXPECT_EQ(sim->connectionCount(), 1);
}

// Each whois line of the recordings, taken by the dialect and then by the watch list.
TEST(PvpgnWatchList, RecordedWhoisLinesGiveTheRowsTheyDescribe) {
    const WatchedUser online{P::Online, {K::Channel, "Chat"}, "Chat", "", ""};
    const struct {
        const char* pvpgn;
        WatchedUser before;
        WatchedUser after;
    } cases[] = {
        {"1018 INFO \"bob is using Chat and is currently in channel \"public chat tesk4711\".\"",
         {},
         {P::Online, {K::Channel, "public chat tesk4711"}, "Chat", "", ""}},
        {"1018 INFO \"dave is using Starcraft and is currently in  game \"tgame\".\"",
         online,
         {P::Online, {K::Game, "tgame"}, "Starcraft", "", ""}},
        {"1018 INFO \"dave is using Starcraft and is currently in private game \"pgame\".\"",
         online,
         {P::Online, {K::PrivateGame, ""}, "Starcraft", "", ""}},
        {"1018 INFO \"dave is using Starcraft.\"",
         {P::Online, {K::Game, "tgame"}, "Starcraft", "", ""},
         {P::Online, {}, "Starcraft", "", ""}},
        {"1018 INFO \"bob away (some message)\"",
         online,
         {P::Away, {K::Channel, "Chat"}, "Chat", "some message", ""}},
        {"1018 INFO \"bob is refusing messages (busy)\"",
         online,
         {P::Dnd, {K::Channel, "Chat"}, "Chat", "", "busy"}},
        {"1018 INFO \"User is offline\"", online, {P::Offline, {}, "", "", ""}},
        {"1019 ERROR \"Unknown user.\"", online, {P::Offline, {}, "", "", ""}},
    };
    for (const auto& c : cases) {
        const WhoisOutcome outcome = interpretWhoisReply(classicFromPvpgn(c.pvpgn), c.before);
        const WatchedUser& u = outcome.user;
        EXPECT_TRUE(u == c.after) << c.pvpgn << " gives " << static_cast<int>(u.presence) << " / "
                                  << placeText(u) << " / " << u.program << " / " << u.awayMessage
                                  << " / " << u.dndMessage;
    }
}

}  // namespace tesk::test
