// The notification-area icon: tip texts and pictures of every notice, TrayTimer taking the
// online notice down after the first of several notices, the length limit of the shown
// tip, clicks, life without a system tray and a tray that appears later, and sounds that
// never hold up the caller.
#include <gtest/gtest.h>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QMenu>
#include <QSystemTrayIcon>
#include <QTemporaryDir>
#include <chrono>
#include <memory>

#include "platform/SoundPlayer.h"
#include "platform/sound/CanberraSoundPlayer.h"
#include "support/EventLoop.h"
#include "ui/ImageList.h"
#include "ui/TrayNotifier.h"

namespace {

using namespace std::chrono_literals;
using tesk::TrayNotifier;
using tesk::test::processEventsFor;
using tesk::test::waitUntil;

class RecordingSounds : public tesk::SoundPlayer {
public:
    void play(const QString& path) override { played.push_back(path); }
    std::vector<QString> played;
};

QImage imageOf(const QIcon& icon) {
    return icon.pixmap(16, 16).toImage().convertToFormat(QImage::Format_ARGB32);
}

QImage listImage(int index) {
    return imageOf(tesk::images::icon(index));
}

class TrayNotifierTest : public ::testing::Test {
protected:
    // Shown in a tray that is there unless trayThere says otherwise.
    std::unique_ptr<TrayNotifier> make(std::chrono::milliseconds interval = 10000ms) {
        auto tray = std::make_unique<TrayNotifier>(
            sounds, [this] { return soundsOn; }, interval,
            [this] {
                ++trayChecks;
                return trayThere;
            },
            20ms);
        tray->show();
        return tray;
    }
    static QSystemTrayIcon* iconOf(TrayNotifier& tray) {
        return tray.findChild<QSystemTrayIcon*>();
    }

    RecordingSounds sounds;
    bool soundsOn = true;
    QString caption = QStringLiteral("Offline");
    bool trayThere = true;
    int trayChecks = 0;
};

// ---- Tips and pictures ----

TEST_F(TrayNotifierTest, StartsWithoutPictureAndWithAnEmptyTip) {
    auto tray = make();
    tray->show();
    EXPECT_EQ(tray->tip(), QString());
    EXPECT_EQ(tray->image(), -1);
    ASSERT_NE(iconOf(*tray), nullptr);
    EXPECT_EQ(iconOf(*tray)->toolTip(), QString());
    for (int i = 0; i < tesk::images::kCount; ++i) {
        EXPECT_NE(imageOf(iconOf(*tray)->icon()), listImage(i)) << i;
    }
}

TEST_F(TrayNotifierTest, StatusTipFollowsTheCaptionOfTheMoment) {
    auto tray = make();
    for (const char* shown : {"Connecting...", "Offline", "Online", "Away", "DND"}) {
        caption = QString::fromLatin1(shown);
        tray->setStatus(caption);
        tray->showStatusTip();
        EXPECT_EQ(tray->tip(), QStringLiteral("TESK: ") + caption);
        EXPECT_EQ(tray->image(), 2);
    }
    EXPECT_EQ(iconOf(*tray)->toolTip(), QStringLiteral("TESK: DND"));
    EXPECT_EQ(imageOf(iconOf(*tray)->icon()), listImage(2));
    EXPECT_FALSE(tray->isTrayTimerArmed());
}

TEST_F(TrayNotifierTest, OnlineNoticeShowsTheUserPictureAndArmsTrayTimer) {
    auto tray = make();
    tray->showStatusTip();
    tray->announceOnline(QStringLiteral("alice"));
    EXPECT_EQ(tray->tip(), QStringLiteral("TESK: User alice is online"));
    EXPECT_EQ(tray->image(), 0);
    EXPECT_EQ(iconOf(*tray)->toolTip(), QStringLiteral("TESK: User alice is online"));
    EXPECT_EQ(imageOf(iconOf(*tray)->icon()), listImage(0));
    EXPECT_TRUE(tray->isTrayTimerArmed());
}

TEST_F(TrayNotifierTest, NewMessageNoticeShowsTheEnvelopeWithoutTimerOrSound) {
    auto tray = make(100ms);
    tray->showStatusTip();
    tray->announceNewMessage(QStringLiteral("bob"));
    EXPECT_EQ(tray->tip(), QStringLiteral("TESK: New message from bob"));
    EXPECT_EQ(tray->image(), 13);
    EXPECT_EQ(imageOf(iconOf(*tray)->icon()), listImage(13));
    EXPECT_FALSE(tray->isTrayTimerArmed());
    EXPECT_TRUE(sounds.played.empty());
    processEventsFor(250);
    EXPECT_EQ(tray->tip(), QStringLiteral("TESK: New message from bob"));
    EXPECT_EQ(tray->image(), 13);
}

TEST_F(TrayNotifierTest, SetTipKeepsThePicture) {
    auto tray = make();
    tray->announceNewMessage(QStringLiteral("bob"));
    tray->setTip(QStringLiteral("TESK: Online (42 ms) "));
    EXPECT_EQ(tray->tip(), QStringLiteral("TESK: Online (42 ms) "));
    EXPECT_EQ(tray->image(), 13);
    EXPECT_EQ(iconOf(*tray)->toolTip(), QStringLiteral("TESK: Online (42 ms) "));
    EXPECT_EQ(imageOf(iconOf(*tray)->icon()), listImage(13));
}

// ---- Online chime ----

TEST_F(TrayNotifierTest, OnlineNoticePlaysTheOnlineSoundWhenSoundsAreOn) {
    auto tray = make();
    tray->announceOnline(QStringLiteral("alice"));
    ASSERT_EQ(sounds.played.size(), 1u);
    EXPECT_EQ(sounds.played[0], QStringLiteral("sounds/online.wav"));
}

TEST_F(TrayNotifierTest, SoundsSettingIsReadAtEachNotice) {
    auto tray = make();
    soundsOn = false;
    tray->announceOnline(QStringLiteral("alice"));
    EXPECT_TRUE(sounds.played.empty());
    EXPECT_EQ(tray->tip(),
              QStringLiteral("TESK: User alice is online"));  // the notice itself stays
    soundsOn = true;
    tray->announceOnline(QStringLiteral("bob"));
    EXPECT_EQ(sounds.played.size(), 1u);
}

// ---- TrayTimer ----

TEST_F(TrayNotifierTest, NoticeTakenDownAfterTheIntervalWithTheCaptionOfThatMoment) {
    auto tray = make(150ms);
    tray->showStatusTip();
    tray->announceOnline(QStringLiteral("alice"));
    caption = QStringLiteral("Away");  // the status changed while the notice was shown
    tray->setStatus(caption);
    ASSERT_TRUE(waitUntil([&] { return tray->image() == 2; }, 3000));
    EXPECT_EQ(tray->tip(), QStringLiteral("TESK: Away"));
    EXPECT_EQ(iconOf(*tray)->toolTip(), QStringLiteral("TESK: Away"));
    EXPECT_EQ(imageOf(iconOf(*tray)->icon()), listImage(2));
    EXPECT_FALSE(tray->isTrayTimerArmed());
}

TEST_F(TrayNotifierTest, SecondNoticeNamesItsUserButDoesNotExtendTheFirstCountdown) {
    // Ten units of 100 ms; the second user comes online four units after the first.
    auto tray = make(1000ms);
    tray->showStatusTip();
    QElapsedTimer clock;
    clock.start();
    tray->announceOnline(QStringLiteral("alice"));
    processEventsFor(400);
    tray->announceOnline(QStringLiteral("bob"));
    EXPECT_EQ(tray->tip(), QStringLiteral("TESK: User bob is online"));
    EXPECT_EQ(tray->image(), 0);

    ASSERT_TRUE(waitUntil([&] { return tray->image() == 2; }, 3000));
    const qint64 restoredAt = clock.elapsed();
    EXPECT_EQ(tray->tip(), QStringLiteral("TESK: Offline"));
    EXPECT_GE(restoredAt, 990);
    EXPECT_LT(restoredAt, 1250);  // a restarted countdown would end at 1400
    EXPECT_EQ(sounds.played.size(), 2u);
}

TEST_F(TrayNotifierTest, NoticeAfterTheTimerFiredArmsItAgain) {
    auto tray = make(100ms);
    tray->announceOnline(QStringLiteral("alice"));
    ASSERT_TRUE(waitUntil([&] { return !tray->isTrayTimerArmed(); }, 3000));
    tray->announceOnline(QStringLiteral("bob"));
    EXPECT_TRUE(tray->isTrayTimerArmed());
    ASSERT_TRUE(waitUntil([&] { return tray->image() == 2; }, 3000));
    EXPECT_EQ(tray->tip(), QStringLiteral("TESK: Offline"));
}

TEST_F(TrayNotifierTest, TimerOfAnEarlierOnlineNoticeAlsoEndsTheEnvelope) {
    auto tray = make(150ms);
    tray->announceOnline(QStringLiteral("alice"));
    tray->announceNewMessage(QStringLiteral("bob"));
    EXPECT_EQ(tray->image(), 13);
    ASSERT_TRUE(waitUntil([&] { return tray->image() == 2; }, 3000));
    EXPECT_EQ(tray->tip(), QStringLiteral("TESK: Offline"));
}

// ---- Shown tip length ----

TEST_F(TrayNotifierTest, TipLongerThan127CharactersIsCutWhereShown) {
    auto tray = make();
    const QString longTip = QStringLiteral("TESK: ") + QString(200, QLatin1Char('x'));
    tray->setTip(longTip);
    EXPECT_EQ(tray->tip(), longTip);
    EXPECT_EQ(tray->shownTip(), longTip.left(127));
    EXPECT_EQ(iconOf(*tray)->toolTip(), longTip.left(127));

    const QString exact(127, QLatin1Char('y'));
    tray->setTip(exact);
    EXPECT_EQ(tray->shownTip(), exact);
}

TEST_F(TrayNotifierTest, LongNameInANoticeIsCutToo) {
    auto tray = make();
    tray->announceOnline(QString(150, QLatin1Char('n')));
    EXPECT_EQ(tray->shownTip().size(), 127);
    EXPECT_TRUE(tray->shownTip().startsWith(QStringLiteral("TESK: User nnn")));
    EXPECT_TRUE(tray->tip().endsWith(QStringLiteral(" is online")));
}

TEST_F(TrayNotifierTest, CutNeverSplitsACharacterOutsideTheBasicPlane) {
    auto tray = make();
    // U+1F600 takes two UTF-16 units, the 127th and 128th.
    const QString tip =
        QString(126, QLatin1Char('a')) + QString::fromUcs4(U"\U0001F600") + QStringLiteral("tail");
    tray->setTip(tip);
    EXPECT_EQ(tray->shownTip(), QString(126, QLatin1Char('a')));
}

// ---- Mouse, menu and the icon's presence ----

TEST_F(TrayNotifierTest, LeftClickAndDoubleClickAreReported) {
    auto tray = make();
    int clicks = 0;
    int doubleClicks = 0;
    QObject::connect(tray.get(), &TrayNotifier::clicked, [&] { ++clicks; });
    QObject::connect(tray.get(), &TrayNotifier::doubleClicked, [&] { ++doubleClicks; });
    QSystemTrayIcon* icon = iconOf(*tray);
    emit icon->activated(QSystemTrayIcon::Trigger);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(doubleClicks, 0);
    emit icon->activated(QSystemTrayIcon::DoubleClick);
    EXPECT_EQ(doubleClicks, 1);
    EXPECT_EQ(clicks, 1);
    emit icon->activated(QSystemTrayIcon::Context);
    emit icon->activated(QSystemTrayIcon::MiddleClick);
    EXPECT_EQ(doubleClicks, 1);
    EXPECT_EQ(clicks, 1);
}

TEST_F(TrayNotifierTest, RightClickMenuIsTheOneGiven) {
    auto tray = make();
    QMenu menu;
    tray->setMenu(&menu);
    EXPECT_EQ(iconOf(*tray)->contextMenu(), &menu);
}

TEST_F(TrayNotifierTest, IconComesWithATrayThatAppearsLaterAndGoesAtExit) {
    trayThere = false;
    auto tray = make(100ms);
    int added = 0;
    QObject::connect(tray.get(), &TrayNotifier::iconAdded, [&] { ++added; });
    QMenu menu;
    tray->setMenu(&menu);
    // Everything else goes on as usual without a tray.
    tray->announceOnline(QStringLiteral("alice"));
    EXPECT_EQ(tray->image(), 0);
    processEventsFor(100);
    EXPECT_FALSE(tray->hasIcon());
    EXPECT_EQ(iconOf(*tray), nullptr);
    EXPECT_FALSE(tray->showMessage(QStringLiteral("nobody sees this")));

    trayThere = true;
    ASSERT_TRUE(waitUntil([&] { return tray->hasIcon(); }, 3000));
    EXPECT_EQ(added, 1);
    EXPECT_EQ(iconOf(*tray)->toolTip(), tray->tip());
    EXPECT_EQ(imageOf(iconOf(*tray)->icon()), listImage(tray->image()));
    EXPECT_EQ(iconOf(*tray)->contextMenu(), &menu);
    EXPECT_TRUE(tray->showMessage(QStringLiteral("now it does")));
    const int checks = trayChecks;
    processEventsFor(100);
    EXPECT_EQ(trayChecks, checks);  // no more looking once the icon is there

    tray->remove();
    EXPECT_FALSE(iconOf(*tray)->isVisible());
    EXPECT_FALSE(tray->hasIcon());
}

// ---- The real player ----

qint64 millisecondsToPlay(tesk::SoundPlayer& player, const QString& path) {
    QElapsedTimer clock;
    clock.start();
    player.play(path);
    return clock.elapsed();
}

TEST(CanberraSoundPlayer, MissingFileReturnsAtOnce) {
    tesk::CanberraSoundPlayer player;
    EXPECT_LT(millisecondsToPlay(player, QStringLiteral("sounds/no-such-chime.wav")), 100);
    EXPECT_LT(millisecondsToPlay(player, QStringLiteral("/nonexistent/message.wav")), 100);
    EXPECT_LT(millisecondsToPlay(player, QString()), 100);
}

void writeWave(const QString& path) {
    // 0.1 s of silence, 8 kHz, 16-bit mono PCM.
    const quint32 dataBytes = 1600;
    QByteArray wave;
    auto u32 = [&](quint32 v) {
        for (int i = 0; i < 4; ++i) wave.append(char((v >> (8 * i)) & 0xff));
    };
    auto u16 = [&](quint16 v) {
        wave.append(char(v & 0xff));
        wave.append(char(v >> 8));
    };
    wave.append("RIFF");
    u32(36 + dataBytes);
    wave.append("WAVEfmt ");
    u32(16);
    u16(1);
    u16(1);
    u32(8000);
    u32(16000);
    u16(2);
    u16(16);
    wave.append("data");
    u32(dataBytes);
    wave.append(QByteArray(dataBytes, '\0'));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(wave);
}

TEST(CanberraSoundPlayer, ExistingFileNeverHoldsUpTheCallerWithOrWithoutADevice) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString wave = dir.filePath(QStringLiteral("online.wav"));
    writeWave(wave);
    const QString junk = dir.filePath(QStringLiteral("message.wav"));
    {
        QFile file(junk);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("not a wave file at all");
    }

    QElapsedTimer clock;
    clock.start();
    {
        tesk::CanberraSoundPlayer player;
        for (int i = 0; i < 10; ++i) {
            EXPECT_LT(millisecondsToPlay(player, wave), 100);
            EXPECT_LT(millisecondsToPlay(player, junk), 100);
        }
    }
    EXPECT_LT(clock.elapsed(), 500);  // destroying the player does not wait for the device
}

}  // namespace
