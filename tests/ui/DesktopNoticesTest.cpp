// Desktop notifications against a notification service of the test's own on a private
// session bus: a user coming online, a whisper whose "Open" opens its chat window, one
// notice per user, strangers within their limits, and no service at all.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QUrl>
#include <memory>

#include "PrivateBus.h"
#include "QuietSessionView.h"
#include "connection/ReplyLines.h"
#include "platform/SoundPlayer.h"
#include "platform/notifications/DesktopNotifications.h"
#include "session/Session.h"
#include "support/EventLoop.h"
#include "ui/Conversations.h"
#include "ui/DesktopNotices.h"
#include "ui/MainForm.h"
#include "ui/TrayNotifier.h"

using namespace tesk;

namespace {

struct SilentSounds : SoundPlayer {
    void play(const QString&) override {}
};

const QStringList kMarkupService = {"body", "body-markup", "actions"};

RemoteTextLimits twoStrangersAMinute() {
    RemoteTextLimits limits;
    limits.strangerWindows = 2;
    return limits;
}

// The windowed front end over a session that is never started, its notices going to a
// private bus. Events are handed to the session as the reader would.
class DesktopNoticesTest : public ::testing::Test {
protected:
    DesktopNoticesTest()
        : session({}, twoStrangersAMinute()),
          tray(sounds, [] { return false; }),
          form(session, tray, dir.filePath("Tesk.ini")) {
        SettingsValues values;
        values.user = "me";
        values.notifications = true;
        session.settings().publish(values);
        session.watchList().assign({"alice", "bob"});
        ChatContext context;
        context.queue = &session.queue();
        context.status = [] { return ConnectionStatus::Online; };
        context.addUser = [](const std::string&) {};
        context.openUrl = [](const QUrl&) {};
        context.showError = [](QWidget*, const QString&) {};
        context.iniPath = dir.filePath("Tesk.ini");
        conversations =
            std::make_unique<Conversations>(context, session, tray, sounds, [] { return false; });
        form.attachConversations(conversations.get());
        session.attachViews(form, *conversations);
    }

    void SetUp() override {
        if (bus.address().isEmpty()) {
            GTEST_SKIP() << "dbus-daemon is not installed (Debian package dbus)";
        }
    }

    // The program's side of the bus, as the application wires it.
    void connectNotices(QDBusConnection connection) {
        notifications = std::make_unique<DesktopNotifications>(connection, "file:///tesk.png");
        notices = std::make_unique<DesktopNotices>(*notifications, session.settings(),
                                                   [this] { return mainActive; });
        form.attachNotices(notices.get());
        conversations->attachNotices(notices.get());
        QObject::connect(notifications.get(), &DesktopNotifications::openRequested, &form,
                         [this](const std::string& partner) { conversations->openChat(partner); });
    }
    void startService(const QStringList& capabilities = kMarkupService) {
        server.reset();  // frees the service's name
        server = std::make_unique<test::FakeNotificationServer>(bus.connect(), capabilities);
        ASSERT_TRUE(server->registered());
    }

    void whois(const std::string& name, const std::string& line) {
        session.handle(WhoisAnswer{name, line});
    }
    void comesOnline(const std::string& name, const std::string& channel) {
        whois(name, "1019 ERROR \"That user is not logged on.\"");
        whois(name, "1018 INFO \"" + name + " is using Chat in the channel " + channel + ".\"");
    }
    void whisper(const std::string& partner, const std::string& text) {
        session.handle(WhisperEvent{true, partner, text});
    }
    bool noticesReach(std::size_t count) {
        return test::waitUntil([&] { return server->notices.size() >= count; }) &&
               server->notices.size() == count;
    }
    // Nothing more arrives within a while.
    bool staysAt(std::size_t count) {
        test::processEventsFor(300);
        return server->notices.size() == count;
    }
    std::vector<QString> summaries() const {
        std::vector<QString> result;
        for (const auto& notice : server->notices) {
            result.push_back(notice.summary);
        }
        return result;
    }

    test::PrivateBus bus;
    QTemporaryDir dir;
    SilentSounds sounds;
    Session session;
    TrayNotifier tray;
    MainForm form;
    std::unique_ptr<Conversations> conversations;
    std::unique_ptr<test::FakeNotificationServer> server;
    std::unique_ptr<DesktopNotifications> notifications;
    std::unique_ptr<DesktopNotices> notices;
    bool mainActive = true;
};

}  // namespace

// The place is received text: a service that reads markup gets it escaped, one that does
// not gets it as it is.
TEST_F(DesktopNoticesTest, AWatchedUserComingOnlineIsNotifiedWithThePlace) {
    const struct {
        QStringList capabilities;
        QString body;
    } services[] = {
        {kMarkupService, "channel: &lt;b&gt;Clan&lt;/b&gt; &amp; Co"},
        {{"body", "actions"}, "channel: <b>Clan</b> & Co"},
    };
    for (const auto& service : services) {
        startService(service.capabilities);
        connectNotices(bus.connect());
        comesOnline("alice", "<b>Clan</b> & Co");
        ASSERT_TRUE(noticesReach(1));
        const auto& notice = server->notices.front();
        EXPECT_EQ(notice.summary, "alice is online");
        EXPECT_EQ(notice.body, service.body);
        EXPECT_EQ(notice.appIcon, "file:///tesk.png");
        EXPECT_TRUE(notice.actions.isEmpty());
        EXPECT_EQ(notice.replacesId, 0u);
        EXPECT_EQ(tray.tip(), "TESK: User alice is online");  // the tray notice stays

        SettingsValues off = session.settings().snapshot();
        off.notifications = false;
        session.settings().publish(off);
        comesOnline("bob", "Foo");
        EXPECT_TRUE(staysAt(1));
        off.notifications = true;
        session.settings().publish(off);
    }
}

TEST_F(DesktopNoticesTest, AWhisperWhileTheMainWindowIsNotActiveOffersOpen) {
    startService();
    connectNotices(bus.connect());
    whisper("bob", "you there?");
    EXPECT_TRUE(staysAt(0));  // the main window is the active one

    mainActive = false;
    const std::string longLine(300, 'x');
    whisper("bob", longLine);
    ASSERT_TRUE(noticesReach(1));
    const auto& notice = server->notices.front();
    EXPECT_EQ(notice.summary, "Message from bob");
    EXPECT_EQ(notice.body, QString(199, 'x') + QChar(0x2026));
    EXPECT_EQ(notice.actions, (QStringList{"open", "Open"}));
    ChatForm* chat = conversations->findChat("bob");
    ASSERT_NE(chat, nullptr);
    EXPECT_FALSE(chat->isVisible());
    EXPECT_TRUE(session.watchList().row(session.watchList().find("bob")).user.unread);

    server->invokeAction(notice.id, "open");
    EXPECT_TRUE(test::waitUntil([&] { return chat->isVisible(); }));
    EXPECT_FALSE(session.watchList().row(session.watchList().find("bob")).user.unread);
}

// Also when the service has not answered yet: the notices that came meanwhile wait, and
// only the last of them replaces the first.
TEST_F(DesktopNoticesTest, ANewNoticeAboutTheSameUserReplacesTheLast) {
    startService();
    connectNotices(bus.connect());
    mainActive = false;
    server->holdAnswers();
    comesOnline("alice", "Foo");
    ASSERT_TRUE(noticesReach(1));
    whisper("Alice", "first");
    whisper("alice", "second");
    whisper("bob", "hi");
    ASSERT_TRUE(noticesReach(2));
    EXPECT_EQ(server->notices[1].summary, "Message from bob");
    EXPECT_EQ(server->notices[1].replacesId, 0u);

    server->releaseAnswers();
    ASSERT_TRUE(noticesReach(3));
    const uint alice = server->notices[0].id;
    EXPECT_EQ(server->notices[2].replacesId, alice);
    EXPECT_EQ(server->notices[2].body, "second");
    whisper("alice", "third");
    ASSERT_TRUE(noticesReach(4));
    EXPECT_EQ(server->notices[3].replacesId, alice);

    // A notice the user closed is not replaced: the next one is new.
    server->close(alice);
    test::processEventsFor(100);
    whisper("alice", "fourth");
    ASSERT_TRUE(noticesReach(5));
    EXPECT_EQ(server->notices[4].replacesId, 0u);
}

// Two windows a minute for new partners here: two strangers open windows and notify, the
// next two are held and notify once each, and further ones only wait in the held list.
TEST_F(DesktopNoticesTest, AStrangerFloodIsNotifiedOnlyWithinTheLimits) {
    startService();
    connectNotices(bus.connect());
    mainActive = false;
    for (int round = 0; round < 2; ++round) {
        for (const char* stranger : {"s1", "s2", "s3", "s4", "s5", "s6"}) {
            whisper(stranger, "buy gold");
        }
    }
    test::processEventsFor(500);
    std::map<QString, int> perUser;
    for (const QString& summary : summaries()) {
        ++perUser[summary];
    }
    EXPECT_GE(perUser["Message from s1"], 1);
    EXPECT_GE(perUser["Message from s2"], 1);
    EXPECT_EQ(perUser["Message from s3"], 1);
    EXPECT_EQ(perUser["Message from s4"], 1);
    EXPECT_EQ(perUser.count("Message from s5"), 0u);
    EXPECT_EQ(perUser.count("Message from s6"), 0u);
    EXPECT_EQ(conversations->heldPartners(), (std::vector<std::string>{"s3", "s4", "s5", "s6"}));

    // "Open" on a held partner's notice brings his held lines into the window.
    const auto s3 = std::find_if(server->notices.begin(), server->notices.end(),
                                 [](const auto& n) { return n.summary == "Message from s3"; });
    server->invokeAction(s3->id, "open");
    ASSERT_TRUE(test::waitUntil([&] { return conversations->findChat("s3") != nullptr; }));
    EXPECT_EQ(conversations->findChat("s3")->transcript().count("buy gold"), 2);
}

// Without a service the notices go nowhere, at once and without a word; one that starts
// later is used. Without a bus at all nothing happens either.
TEST_F(DesktopNoticesTest, WithoutAServiceNothingWaitsAndNothingIsSaid) {
    connectNotices(bus.connect());
    mainActive = false;
    QElapsedTimer elapsed;
    elapsed.start();
    comesOnline("alice", "Foo");
    whisper("bob", "hello");
    test::processEventsFor(300);
    EXPECT_LT(elapsed.elapsed(), 2000);
    EXPECT_EQ(tray.tip(), "TESK: New message from bob");
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);

    startService();
    whisper("bob", "still there?");
    ASSERT_TRUE(noticesReach(1));
    EXPECT_EQ(server->notices.front().body, "still there?");

    connectNotices(QDBusConnection::connectToBus(QStringLiteral("unix:path=/nonexistent"),
                                                 QStringLiteral("test-no-bus")));
    whisper("bob", "anyone?");
    test::processEventsFor(100);
    EXPECT_EQ(conversations->findChat("bob")->transcript().count("anyone?"), 1);
    QDBusConnection::disconnectFromBus(QStringLiteral("test-no-bus"));
}
