#include "Scenario.h"
#include "SimClient.h"
#include "support/EventLoop.h"

#include <gtest/gtest.h>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

namespace gatewaysim::test {
namespace {

using Action = ScenarioEvent::Action;

std::optional<Scenario> parse(const QByteArray& text, QString* error = nullptr) {
    return Scenario::parse(text, "test.txt", error);
}

TEST(SimScenario, ReadsEveryKindOfLine) {
    QString error;
    const std::optional<Scenario> scenario = parse(
        "# a comment\r\n"
        "\r\n"
        "user alice\r\n"
        "user dave@northrend\n"
        "  reply alice  back in five  \n"
        "at 2.5 online dave@northrend \"Warcraft III\" game Orc Rush\n"
        "at 1 place ALICE private-game\n"
        "at 1 online alice Starcraft channel Town Square\n"
        "at 3 away alice gone fishing\n"
        "at 4 dnd alice busy\n"
        "at 5 away-off alice\n"
        "at 5 dnd-off alice\n"
        "at 6 place alice password-game secret one\n"
        "at 7 place alice private-channel\n"
        "at 8 whisper alice hi \"there\"\n"
        "at 9 whisper-to alice Tester just you\n"
        "at 10 offline alice\n"
        "loop 12\n",
        &error);
    ASSERT_TRUE(scenario) << error.toStdString();
    EXPECT_EQ(scenario->users, (QStringList{"alice", "dave@northrend"}));
    EXPECT_EQ(scenario->replies.value("alice"), "back in five");
    EXPECT_EQ(scenario->loopMs, 12'000);

    const QVector<ScenarioEvent>& events = scenario->events;
    ASSERT_EQ(events.size(), 12);
    // Sorted by time; equal times keep the order of the file.
    EXPECT_EQ(events[0].atMs, 1000);
    EXPECT_EQ(events[0].action, Action::Move);
    EXPECT_EQ(events[0].user, "alice") << "the declared spelling";
    EXPECT_EQ(events[0].place.kind, Place::Kind::PrivateGame);
    EXPECT_EQ(events[1].action, Action::Online);
    EXPECT_EQ(events[1].program, "Starcraft");
    EXPECT_EQ(events[1].place.kind, Place::Kind::Channel);
    EXPECT_EQ(events[1].place.name, "Town Square");
    EXPECT_EQ(events[2].atMs, 2500);
    EXPECT_EQ(events[2].program, "Warcraft III");
    EXPECT_EQ(events[2].place.kind, Place::Kind::Game);
    EXPECT_EQ(events[2].place.name, "Orc Rush");
    EXPECT_EQ(events[3].action, Action::Away);
    EXPECT_EQ(events[3].text, "gone fishing");
    EXPECT_EQ(events[4].action, Action::Dnd);
    EXPECT_EQ(events[5].action, Action::AwayOff);
    EXPECT_EQ(events[6].action, Action::DndOff);
    EXPECT_EQ(events[7].place.kind, Place::Kind::PasswordGame);
    EXPECT_EQ(events[7].place.name, "secret one");
    EXPECT_EQ(events[8].place.kind, Place::Kind::PrivateChannel);
    EXPECT_EQ(events[9].action, Action::Whisper);
    EXPECT_EQ(events[9].text, "hi \"there\"");
    EXPECT_EQ(events[10].action, Action::WhisperTo);
    EXPECT_EQ(events[10].target, "Tester");
    EXPECT_EQ(events[10].text, "just you");
    EXPECT_EQ(events[11].action, Action::Offline);
}

TEST(SimScenario, RejectsBadLinesWithLineAndReason) {
    const struct {
        QByteArray text;
        QString error;
    } cases[] = {
        {"user a\nusr b\n", "test.txt:2: unknown command 'usr'"},
        {"at 1 online bob X channel c\n", "test.txt:1: user 'bob' is not declared"},
        {"user a\nat soon offline a\n", "test.txt:2: 'soon' is not a time in seconds"},
        {"user a\nat -1 offline a\n", "test.txt:2: '-1' is not a time in seconds"},
        {"user a\nat 1 online a X lobby\n", "test.txt:2: unknown place 'lobby'"},
        {"user a\nat 1 online a X\n", "test.txt:2: missing a place"},
        {"user a\nat 1 online a \"X channel c\n", "test.txt:2: missing closing quote"},
        {"user a\nat 1 place a channel\n", "test.txt:2: missing the channel name"},
        {"user a\nat 1 place a private-game now\n", "test.txt:2: unexpected text after"},
        {"user a\nat 1 away a\n", "test.txt:2: missing the away message"},
        {"user a\nat 1 offline a now\n", "test.txt:2: unexpected text after offline a"},
        {"user a\nat 1 wave a\n", "test.txt:2: unknown action 'wave'"},
        {"user a\nuser A\n", "test.txt:2: user 'A' is declared twice"},
        {"user \"a b\"\n", "test.txt:1: 'a b' is not a user name"},
        {"user a\nat 1 whisper a\n", "test.txt:2: missing the text of the whisper"},
        {"loop 0\n", "test.txt:1: the loop length must be more than 0 seconds"},
        {"loop 5\nloop 6\n", "test.txt:2: loop is given twice"},
        {"user a\nat 2 offline a\nat 9 offline a\nloop 9\n", "test.txt:3: this step at 9 s"},
    };
    for (const auto& c : cases) {
        QString error;
        EXPECT_FALSE(parse(c.text, &error)) << c.text.constData();
        EXPECT_TRUE(error.startsWith(c.error)) << error.toStdString();
    }
}

TEST(SimScenario, MissingFileGivesAnError) {
    QString error;
    EXPECT_FALSE(Scenario::load("/nonexistent/scenario.txt", &error));
    EXPECT_TRUE(error.contains("/nonexistent/scenario.txt")) << error.toStdString();
}

TEST(SimScenario, DemoHasSomethingToShowWithinAMinute) {
    QString error;
    const std::optional<Scenario> demo =
        Scenario::load(QString(GATEWAY_SIM_SCENARIOS) + "/demo.txt", &error);
    ASSERT_TRUE(demo) << error.toStdString();
    EXPECT_GE(demo->users.size(), 5);
    EXPECT_GT(demo->loopMs, 0);

    bool whisperEarly = false;
    bool loggedOnLate = false;
    QSet<QString> onlineAtStart;
    for (const ScenarioEvent& event : demo->events) {
        if (event.action == Action::Online && event.atMs == 0) {
            onlineAtStart.insert(event.user);
        }
        if (event.action == Action::Online && event.atMs >= 10'000 && event.atMs <= 30'000 &&
            !onlineAtStart.contains(event.user)) {
            loggedOnLate = true;
        }
        if (event.action == Action::Whisper && event.atMs <= 45'000) {
            whisperEarly = true;
        }
    }
    EXPECT_TRUE(loggedOnLate);
    EXPECT_TRUE(whisperEarly);
}

TEST(SimScenario, StepsRunOnTimeAndTheLoopRestartsThem) {
    const std::optional<Scenario> scenario = parse(
        "user zed\n"
        "at 0 online zed X private-game\n"
        "at 0.1 offline zed\n"
        "loop 0.2\n");
    ASSERT_TRUE(scenario);
    GatewaySim sim(Options{});
    QElapsedTimer clock;
    QList<std::pair<qint64, QString>> steps;
    QObject::connect(&sim, &GatewaySim::scenarioStep, [&](const QString& step) {
        steps.append({clock.elapsed(), step});
    });
    clock.start();
    sim.playScenario(*scenario);
    ASSERT_EQ(steps.size(), 1) << "steps at second 0 run before playing returns";
    EXPECT_EQ(steps[0].second, "at 0 online zed X private-game");

    ASSERT_TRUE(tesk::test::waitUntil([&] { return steps.size() >= 4; }, 2000));
    EXPECT_EQ(steps[1].second, "at 0.1 offline zed");
    EXPECT_GE(steps[1].first, 100);
    EXPECT_TRUE(steps[2].second.startsWith("loop"));
    EXPECT_GE(steps[2].first, 200);
    EXPECT_EQ(steps[3].second, "at 0 online zed X private-game");
}

TEST(SimScenario, TimelinePlaysAndLoopsOnTheSimulator) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QFile file(dir.filePath("quick.txt"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(
        "user zed\n"
        "at 0 online zed Starcraft channel Lobby\n"
        "at 0.15 whisper zed hello\n"
        "at 0.2 away zed brb\n"
        "at 0.25 offline zed\n"
        "loop 0.4\n");
    file.close();

    auto sim = startSim();
    ASSERT_TRUE(sim);
    SimClient client;
    ASSERT_TRUE(client.connectTo(sim->port()));
    ASSERT_FALSE(client.loginAnonymous().isEmpty());
    QString error;
    ASSERT_TRUE(sim->loadScenario(file.fileName(), &error)) << error.toStdString();

    client.send("/whois zed");
    EXPECT_EQ(client.readLines(2).value(1),
              "1018 INFO \"zed is using Starcraft in the channel Lobby.\"")
        << "steps at second 0 are in place when loading returns";
    const QByteArray hello = "1004 WHISPER zed 0000 \"hello\"";
    EXPECT_EQ(client.readLine(1000), hello);
    EXPECT_EQ(client.readLine(1000), hello) << "the timeline loops";

    QString loadError;
    EXPECT_FALSE(sim->loadScenario(dir.filePath("missing.txt"), &loadError));
    EXPECT_FALSE(loadError.isEmpty());
}

}  // namespace
}  // namespace gatewaysim::test
