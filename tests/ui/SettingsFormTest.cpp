// The settings dialog: its frame, controls, places and focus order; loading Tesk.ini into
// the controls; OK that writes the keys byte for byte and then reconnects; Cancel,
// Esc and the close box that drop every edit, the look included; a failed save that
// keeps the dialog open; the anonymous switch; and the controls as the live settings.
#include <gtest/gtest.h>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QStyleOptionButton>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "settings/IniFile.h"
#include "settings/LiveSettings.h"
#include "ui/Look.h"
#include "ui/SettingsForm.h"

namespace {

using namespace tesk;

// The stored form of an ASCII password, worked out here from the fixed key so that the
// test does not lean on the program's own transform.
std::string scrambled(const std::string& plain) {
    static const char kKey[] = "Wz4kLm8QpT2vXa6N";
    std::string out = plain;
    for (std::size_t i = 0; i < out.size(); ++i) {
        out[i] = static_cast<char>(~(out[i] ^ kKey[i % 16]));
    }
    return out;
}

QByteArray bytes(const std::string& text) {
    return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
}

// Every key away from its default; the password is stored scrambled.
const std::string kStoredFile =
    "[Settings]\r\nMinimize=1\r\nOfficeXP=0\r\nSounds=0\r\n"
    "Gateway=asia.battle.net\r\nForce=1\r\nAnonymous=0\r\n"
    "User=alice\r\nPassword=" +
    scrambled("Open Sesame!") + "\r\n";

SettingsValues storedValues() {
    SettingsValues v;
    v.minimize = true;
    v.officeXp = false;
    v.sounds = false;
    v.gateway = "asia.battle.net";
    v.force = true;
    v.anonymous = false;
    v.user = "alice";
    v.password = "Open Sesame!";
    return v;
}

void expectSame(const SettingsValues& actual, const SettingsValues& expected) {
    EXPECT_EQ(actual.minimize, expected.minimize);
    EXPECT_EQ(actual.officeXp, expected.officeXp);
    EXPECT_EQ(actual.sounds, expected.sounds);
    EXPECT_EQ(actual.notifications, expected.notifications);
    EXPECT_EQ(actual.history, expected.history);
    EXPECT_EQ(actual.gateway, expected.gateway);
    EXPECT_EQ(actual.serverType, expected.serverType);
    EXPECT_EQ(actual.force, expected.force);
    EXPECT_EQ(actual.anonymous, expected.anonymous);
    EXPECT_EQ(actual.user, expected.user);
    EXPECT_EQ(actual.password, expected.password);
}

struct Message {
    QString caption;
    QString text;
};

class SettingsFormTest : public ::testing::Test {
protected:
    void TearDown() override { applyLook(*qApp, false); }

    void writeFile(const std::string& content) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes(content));
    }
    QByteArray fileBytes() const {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    // The dialog over `path`, with the look switch, reconnect and message box recorded.
    void create() {
        form = std::make_unique<SettingsForm>(live, path);
        form->setLookSwitch([this](bool officeXp) { looks.push_back(officeXp); });
        form->setReconnect([this] {
            ++reconnects;
            if (onReconnect) {
                onReconnect();
            }
        });
        form->setErrorBox([this](QWidget* parent, const QString& caption, const QString& text) {
            EXPECT_EQ(parent, form.get());
            errors.push_back({caption, text});
        });
    }
    void open() {
        form->show();
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }

    template <typename T>
    T* child(const char* name) {
        T* widget = form->findChild<T*>(QLatin1String(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    QCheckBox* check(const char* name) { return child<QCheckBox>(name); }
    QComboBox* gateway() { return child<QComboBox>("GatewayEdit"); }
    QComboBox* serverType() { return child<QComboBox>("ServerTypeBox"); }
    QLineEdit* edit(const char* name) { return child<QLineEdit>(name); }
    QPushButton* button(const char* name) { return child<QPushButton>(name); }

    SettingsValues shown() {
        SettingsValues v;
        v.minimize = check("MinimizeCheck")->isChecked();
        v.officeXp = check("OfficeXPCheck")->isChecked();
        v.sounds = check("SoundsCheck")->isChecked();
        v.notifications = check("NotificationsCheck")->isChecked();
        v.history = check("HistoryCheck")->isChecked();
        v.gateway = gateway()->currentText().toStdString();
        v.serverType = static_cast<ServerType>(serverType()->currentData().toInt());
        v.force = check("ForceCheck")->isChecked();
        v.anonymous = check("AnonymousCheck")->isChecked();
        v.user = edit("UserEdit")->text().toStdString();
        v.password = edit("PasswordEdit")->text().toStdString();
        return v;
    }

    // Changes every control away from the stored values of kStoredFile.
    void editEverything() {
        check("MinimizeCheck")->click();
        check("OfficeXPCheck")->click();
        check("SoundsCheck")->click();
        check("NotificationsCheck")->click();
        check("HistoryCheck")->click();
        gateway()->setCurrentIndex(3);
        serverType()->setCurrentText(QStringLiteral("PvPGN"));
        check("ForceCheck")->click();
        edit("UserEdit")->setText(QStringLiteral("mallory"));
        edit("PasswordEdit")->setText(QStringLiteral("guess"));
        check("AnonymousCheck")->click();
    }

    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("Tesk.ini"));
    LiveSettings live;
    std::vector<bool> looks;
    int reconnects = 0;
    std::function<void()> onReconnect;
    std::vector<Message> errors;
    std::unique_ptr<SettingsForm> form;
};

// ---- Frame and controls ----

TEST_F(SettingsFormTest, FrameIsAFixedSizeModalDialogCalledSettings) {
    create();
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Settings"));
    EXPECT_TRUE(form->isModal());
    EXPECT_EQ(form->size(), QSize(314, 440));
    EXPECT_EQ(form->minimumSize(), QSize(314, 440));
    EXPECT_EQ(form->maximumSize(), QSize(314, 440));
    EXPECT_TRUE(form->windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(form->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_EQ(form->font().pixelSize(), 13);
    EXPECT_FALSE(form->isVisible());
}

TEST_F(SettingsFormTest, ShowsCentredOnTheDesktop) {
    create();
    open();
    const QRect desktop = form->screen()->availableGeometry();
    EXPECT_LE((form->frameGeometry().center() - desktop.center()).manhattanLength(), 2);
}

TEST_F(SettingsFormTest, ControlsHaveTheirCaptionsAndPlaces) {
    create();
    struct Row {
        const char* name;
        QString text;
        QRect box;
    };
    const std::vector<Row> sized = {
        {"GeneralLabel", QStringLiteral("General"), {16, 16, 289, 17}},
        {"MinimizeCheck", QStringLiteral("Start minimized"), {32, 40, 113, 20}},
        {"HistoryCheck", QStringLiteral("Keep whisper history"), {152, 40, 153, 20}},
        {"OfficeXPCheck", QStringLiteral("Use Office XP alike look"), {32, 64, 161, 20}},
        {"SoundsCheck", QStringLiteral("Play sounds"), {32, 88, 100, 20}},
        {"NotificationsCheck", QStringLiteral("Desktop notifications"), {152, 88, 153, 20}},
        {"NetworkLabel", QStringLiteral("Network"), {16, 120, 289, 17}},
        {"ForceCheck", QStringLiteral("Force reconnect (may raise CPU usage)"), {32, 216, 249, 20}},
        {"AnonymousCheck", QStringLiteral("Anonymous access"), {32, 256, 137, 20}},
        {"KeyringCheck",
         QStringLiteral("Keep the password in the system keyring"),
         {32, 368, 273, 20}},
        {"CancelButton", QStringLiteral("Cancel"), {152, 408, 75, 25}},
        {"OKButton", QStringLiteral("OK"), {232, 408, 75, 25}},
    };
    for (const Row& row : sized) {
        QWidget* widget = child<QWidget>(row.name);
        ASSERT_NE(widget, nullptr);
        EXPECT_EQ(widget->geometry(), row.box) << row.name;
        const QVariant text = widget->property("text");
        EXPECT_EQ(text.toString(), row.text) << row.name;
    }
    for (const char* name : {"GeneralLabel", "NetworkLabel"}) {
        EXPECT_TRUE(child<QLabel>(name)->font().bold()) << name;
        EXPECT_TRUE(child<QLabel>(name)->font().underline()) << name;
    }
    EXPECT_EQ(gateway()->geometry(), QRect(104, 152, 201, 24));
    EXPECT_EQ(serverType()->geometry(), QRect(104, 184, 201, 24));
    EXPECT_EQ(edit("UserEdit")->geometry(), QRect(104, 280, 201, 24));
    EXPECT_EQ(edit("PasswordEdit")->geometry(), QRect(104, 312, 201, 24));

    const std::vector<Row> labels = {
        {"GatewayLabel", QStringLiteral("Gateway:"), {32, 156, 0, 0}},
        {"ServerTypeLabel", QStringLiteral("Server:"), {32, 188, 0, 0}},
        {"UserLabel", QStringLiteral("User:"), {32, 284, 0, 0}},
        {"PasswordLabel", QStringLiteral("Password:"), {32, 316, 0, 0}},
        {"War3AccountsLabel",
         QStringLiteral("Warcraft III accounts are not supported yet."),
         {32, 344, 0, 0}},
    };
    for (const Row& row : labels) {
        auto* label = child<QLabel>(row.name);
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->pos(), row.box.topLeft()) << row.name;
        EXPECT_EQ(label->text(), row.text) << row.name;
        EXPECT_GE(label->width(), label->sizeHint().width()) << row.name;
        EXPECT_LE(label->geometry().right(), 305) << row.name;
    }
    // Labels on the left end before their fields begin.
    for (const char* name : {"GatewayLabel", "ServerTypeLabel", "UserLabel", "PasswordLabel"}) {
        EXPECT_LT(child<QLabel>(name)->geometry().right(), 104) << name;
    }
}

TEST_F(SettingsFormTest, CheckBoxCaptionsAreNotCutOffInEitherLook) {
    create();
    const auto boxes = form->findChildren<QCheckBox*>();
    EXPECT_EQ(boxes.size(), 8);
    for (bool officeXp : {false, true}) {
        applyLook(*qApp, officeXp);
        for (QCheckBox* box : boxes) {
            QStyleOptionButton option;
            option.initFrom(box);
            option.text = box->text();
            const QRect caption =
                box->style()->subElementRect(QStyle::SE_CheckBoxContents, &option, box);
            EXPECT_LE(box->fontMetrics().horizontalAdvance(box->text()), caption.width())
                << box->objectName().toStdString() << " " << lookName(officeXp);
        }
    }
}

TEST_F(SettingsFormTest, GatewayListOffersFourHostsAndAcceptsFreeText) {
    create();
    QComboBox* box = gateway();
    EXPECT_TRUE(box->isEditable());
    ASSERT_EQ(box->count(), 4);
    EXPECT_EQ(box->itemText(0), QStringLiteral("asia.battle.net"));
    EXPECT_EQ(box->itemText(1), QStringLiteral("europe.battle.net"));
    EXPECT_EQ(box->itemText(2), QStringLiteral("useast.battle.net"));
    EXPECT_EQ(box->itemText(3), QStringLiteral("uswest.battle.net"));

    // Enter after typing a host keeps the list as it was.
    open();
    box->setFocus();
    box->lineEdit()->selectAll();
    QTest::keyClicks(box->lineEdit(), QStringLiteral("my.gateway"));
    QTest::keyClick(box->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(box->currentText(), QStringLiteral("my.gateway"));
    EXPECT_EQ(box->count(), 4);
}

TEST_F(SettingsFormTest, ServerTypeOffersAutomaticFirstAndANewConfigurationTakesIt) {
    create();
    QComboBox* box = serverType();
    EXPECT_FALSE(box->isEditable());
    ASSERT_EQ(box->count(), 3);
    EXPECT_EQ(box->itemText(0), QStringLiteral("Automatic"));
    EXPECT_EQ(box->itemText(1), QStringLiteral("Classic"));
    EXPECT_EQ(box->itemText(2), QStringLiteral("PvPGN"));
    EXPECT_EQ(box->currentIndex(), 0);
    // Below the gateway and above the force box, which moved down to make room.
    EXPECT_GT(box->geometry().top(), gateway()->geometry().bottom());
    EXPECT_LT(box->geometry().bottom(), check("ForceCheck")->geometry().top());
}

TEST_F(SettingsFormTest, SeparatorsAreOnePixelShadowLines) {
    create();
    std::vector<QRect> lines;
    for (QFrame* frame : form->findChildren<QFrame*>()) {
        if (qobject_cast<QLabel*>(frame) == nullptr && frame->height() == 1) {
            lines.push_back(frame->geometry());
            const QImage image = frame->grab().toImage();
            EXPECT_EQ(image.pixelColor(frame->width() / 2, 0).rgb(),
                      form->palette().color(QPalette::Dark).rgb());
        }
    }
    EXPECT_EQ(lines.size(), 2u);
    EXPECT_NE(std::find(lines.begin(), lines.end(), QRect(16, 248, 289, 1)), lines.end());
    EXPECT_NE(std::find(lines.begin(), lines.end(), QRect(16, 400, 289, 1)), lines.end());
}

TEST_F(SettingsFormTest, PasswordIsShownAsStarsInBothLooks) {
    create();
    QLineEdit* password = edit("PasswordEdit");
    EXPECT_EQ(password->echoMode(), QLineEdit::Password);
    for (bool officeXp : {false, true}) {
        applyLook(*qApp, officeXp);
        EXPECT_EQ(
            password->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter, nullptr, password),
            '*')
            << lookName(officeXp);
    }
}

TEST_F(SettingsFormTest, NeitherButtonIsBoundToEnter) {
    create();
    for (const char* name : {"OKButton", "CancelButton"}) {
        EXPECT_FALSE(button(name)->isDefault()) << name;
        EXPECT_FALSE(button(name)->autoDefault()) << name;
    }
    open();
    check("AnonymousCheck")->click();  // account fields enabled
    for (QWidget* field :
         std::vector<QWidget*>{check("MinimizeCheck"), check("OfficeXPCheck"), check("SoundsCheck"),
                               check("NotificationsCheck"), check("HistoryCheck"),
                               gateway()->lineEdit(), check("ForceCheck"), check("AnonymousCheck"),
                               edit("UserEdit"), edit("PasswordEdit")}) {
        field->setFocus();
        QTest::keyClick(field, Qt::Key_Return);
        QTest::keyClick(field, Qt::Key_Enter, Qt::KeypadModifier);
        EXPECT_TRUE(form->isVisible()) << field->objectName().toStdString();
    }
    EXPECT_EQ(reconnects, 0);
    EXPECT_FALSE(QFile::exists(path));
}

TEST_F(SettingsFormTest, EnterPressesOnlyTheFocusedButton) {
    create();
    open();
    button("CancelButton")->setFocus();
    QTest::keyClick(button("CancelButton"), Qt::Key_Return);
    EXPECT_FALSE(form->isVisible());
    EXPECT_FALSE(QFile::exists(path));

    open();
    button("OKButton")->setFocus();
    QTest::keyClick(button("OKButton"), Qt::Key_Return);
    EXPECT_FALSE(form->isVisible());
    EXPECT_TRUE(QFile::exists(path));
    EXPECT_EQ(reconnects, 1);
}

TEST_F(SettingsFormTest, TabFollowsTheFocusOrderWithForceReconnectLast) {
    create();
    check("AnonymousCheck")->setChecked(false);  // disabled fields would be skipped
    open();
    const std::vector<QWidget*> order = {
        check("MinimizeCheck"), check("HistoryCheck"),       check("OfficeXPCheck"),
        check("SoundsCheck"),   check("NotificationsCheck"), gateway(),
        serverType(),           check("AnonymousCheck"),     edit("UserEdit"),
        edit("PasswordEdit"),   check("KeyringCheck"),       button("CancelButton"),
        button("OKButton"),     check("ForceCheck"),         check("MinimizeCheck")};
    order.front()->setFocus();
    for (std::size_t i = 1; i < order.size(); ++i) {
        QWidget* from = QApplication::focusWidget();
        ASSERT_NE(from, nullptr);
        QTest::keyClick(from, Qt::Key_Tab);
        QWidget* now = QApplication::focusWidget();
        // The gateway's text field is part of the drop-down list.
        if (now != nullptr && now->parentWidget() == gateway()) {
            now = gateway();
        }
        EXPECT_EQ(now, order[i]) << "step " << i << ": expected "
                                 << order[i]->objectName().toStdString() << ", got "
                                 << (now ? now->objectName().toStdString() : "nothing");
    }
}

// ---- Loading ----

TEST_F(SettingsFormTest, LoadsEveryKeyFromTheFileWithThePasswordInClear) {
    writeFile(kStoredFile);
    live.publish(SettingsValues{});
    create();
    expectSame(shown(), storedValues());
    expectSame(live.snapshot(), storedValues());
    EXPECT_TRUE(edit("UserEdit")->isEnabled());
    EXPECT_EQ(fileBytes(), bytes(kStoredFile));  // loading writes nothing
}

TEST_F(SettingsFormTest, WithoutAFileEveryDefaultApplies) {
    SettingsValues stale = storedValues();
    live.publish(stale);
    create();
    SettingsValues defaults;
    defaults.gateway = "europe.battle.net";
    defaults.serverType = ServerType::Automatic;  // a new configuration
    defaults.notifications = true;                // likewise
    defaults.history = true;                      // likewise
    expectSame(shown(), defaults);
    expectSame(live.snapshot(), defaults);
    EXPECT_FALSE(isOfficeXpLook(*qApp));
    EXPECT_FALSE(edit("UserEdit")->isEnabled());
    EXPECT_FALSE(edit("PasswordEdit")->isEnabled());
    EXPECT_FALSE(QFile::exists(path));
}

TEST_F(SettingsFormTest, StoredGatewayIsMarkedInTheListOrShownAsTyped) {
    writeFile("[Settings]\r\nGateway=uswest.battle.net\r\n");
    create();
    EXPECT_EQ(gateway()->currentIndex(), 3);
    EXPECT_EQ(gateway()->currentText(), QStringLiteral("uswest.battle.net"));

    writeFile("[Settings]\r\nGateway=Europe.Battle.net\r\n");
    form->reject();
    EXPECT_EQ(gateway()->currentIndex(), -1);
    EXPECT_EQ(gateway()->currentText(), QStringLiteral("Europe.Battle.net"));
    EXPECT_EQ(live.snapshot().gateway, "Europe.Battle.net");

    writeFile("[Settings]\r\nGateway=\r\n");
    form->reject();
    EXPECT_TRUE(gateway()->currentText().isEmpty());
    EXPECT_EQ(gateway()->count(), 4);
}

TEST_F(SettingsFormTest, StoredServerTypeIsShownAndAnythingElseIsClassic) {
    writeFile("[Settings]\r\nServerType=1\r\n");
    create();
    EXPECT_EQ(serverType()->currentText(), QStringLiteral("PvPGN"));
    EXPECT_EQ(live.snapshot().serverType, ServerType::PvPGN);
    writeFile("[Settings]\r\nServerType=2\r\n");
    form->reject();
    EXPECT_EQ(serverType()->currentText(), QStringLiteral("Automatic"));

    for (const char* stored : {"0", "3", "-1", "PvPGN", ""}) {
        writeFile(std::string("[Settings]\r\nServerType=") + stored + "\r\n");
        form->reject();
        EXPECT_EQ(serverType()->currentText(), QStringLiteral("Classic")) << stored;
        EXPECT_EQ(live.snapshot().serverType, ServerType::Classic) << stored;
    }
}

TEST_F(SettingsFormTest, StoredOfficeXpLookIsSwitchedOnAtCreation) {
    writeFile("[Settings]\r\nOfficeXP=1\r\n");
    create();
    EXPECT_TRUE(check("OfficeXPCheck")->isChecked());
    EXPECT_TRUE(isOfficeXpLook(*qApp));
}

// ---- OK ----

TEST_F(SettingsFormTest, OkWritesTheKeysInOrderByteForByte) {
    create();
    open();
    check("MinimizeCheck")->click();
    check("SoundsCheck")->click();
    gateway()->setCurrentIndex(2);
    check("ForceCheck")->click();
    check("AnonymousCheck")->click();
    QTest::keyClicks(edit("UserEdit"), QStringLiteral("bob"));
    QTest::keyClicks(edit("PasswordEdit"), QStringLiteral("s3cret, really=1"));
    button("OKButton")->click();

    const std::string expected =
        "[Settings]\r\nMinimize=1\r\nOfficeXP=0\r\nSounds=0\r\nNotifications=1\r\n"
        "History=1\r\nGateway=useast.battle.net\r\nForce=1\r\nAnonymous=0\r\n"
        "User=bob\r\nPassword=" +
        scrambled("s3cret, really=1") + "\r\nServerType=2\r\n";
    EXPECT_EQ(fileBytes(), bytes(expected));
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(form->result(), QDialog::Accepted);
    EXPECT_TRUE(errors.empty());
}

TEST_F(SettingsFormTest, OkRewritesAnExistingFileAndReopeningShowsTheSavedValues) {
    writeFile("[Users]\r\nCount=0\r\n" + kStoredFile);
    create();
    open();
    edit("PasswordEdit")->setText(QStringLiteral("Seventeen chars!!"));
    gateway()->setEditText(QStringLiteral("my.own.gateway"));
    button("OKButton")->click();

    std::string expected = kStoredFile;
    expected.replace(expected.find("asia.battle.net"), 15, "my.own.gateway");
    expected.replace(expected.find("Password=") + 9, 12, scrambled("Seventeen chars!!"));
    EXPECT_EQ(fileBytes(), bytes("[Users]\r\nCount=0\r\n" + expected));

    open();
    SettingsValues saved = storedValues();
    saved.gateway = "my.own.gateway";
    saved.password = "Seventeen chars!!";
    expectSame(shown(), saved);
    expectSame(live.snapshot(), saved);
}

// The dialog has no control for PvPGN's quota: what the file holds must survive it.
TEST_F(SettingsFormTest, AQuotaThatOnlyTheFileHoldsIsPublishedAndKeptByOk) {
    writeFile(kStoredFile + "QuotaUnits=9\r\n");
    create();
    open();
    edit("UserEdit")->setText(QStringLiteral("mallory"));
    EXPECT_EQ(live.snapshot().quota.units, 9);
    button("OKButton")->click();
    EXPECT_EQ(IniFile(path).readInteger("Settings", "QuotaUnits", 0), 9);
}

TEST_F(SettingsFormTest, OkStoresTheServerTypeOnceChosenAndKeepsItFromThenOn) {
    writeFile(kStoredFile);
    create();
    open();
    serverType()->setCurrentText(QStringLiteral("PvPGN"));
    button("OKButton")->click();
    EXPECT_EQ(fileBytes(), bytes(kStoredFile + "ServerType=1\r\n"));

    open();
    EXPECT_EQ(serverType()->currentText(), QStringLiteral("PvPGN"));
    serverType()->setCurrentText(QStringLiteral("Classic"));
    button("OKButton")->click();
    EXPECT_EQ(fileBytes(), bytes(kStoredFile + "ServerType=0\r\n"));
    EXPECT_EQ(live.snapshot().serverType, ServerType::Classic);
}

TEST_F(SettingsFormTest, OkReconnectsAfterSavingAndBeforeClosing) {
    create();
    open();
    gateway()->setCurrentIndex(0);
    bool savedFirst = false;
    bool stillOpen = false;
    std::string liveGateway;
    onReconnect = [&] {
        savedFirst = fileBytes().contains("Gateway=asia.battle.net\r\n");
        stillOpen = form->isVisible();
        liveGateway = live.snapshot().gateway;
    };
    button("OKButton")->click();
    EXPECT_EQ(reconnects, 1);
    EXPECT_TRUE(savedFirst);
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(liveGateway, "asia.battle.net");
    EXPECT_FALSE(form->isVisible());
}

TEST_F(SettingsFormTest, FailedSaveReportsThePathAndKeepsTheEdits) {
    path = dir.filePath(QStringLiteral("missing/Tesk.ini"));
    create();
    open();
    check("AnonymousCheck")->click();
    edit("UserEdit")->setText(QStringLiteral("carol"));
    button("OKButton")->click();

    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].caption, QStringLiteral("Error"));
    EXPECT_EQ(errors[0].text, QStringLiteral("Unable to write to ") + path);
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(reconnects, 0);
    EXPECT_EQ(edit("UserEdit")->text(), QStringLiteral("carol"));
    EXPECT_FALSE(check("AnonymousCheck")->isChecked());
    EXPECT_EQ(live.snapshot().user, "carol");
    EXPECT_FALSE(QFile::exists(path));

    // Giving up afterwards drops the edits as any other close does.
    button("CancelButton")->click();
    EXPECT_FALSE(form->isVisible());
    EXPECT_TRUE(edit("UserEdit")->text().isEmpty());
    EXPECT_TRUE(live.snapshot().anonymous);
}

// ---- Cancel, Esc and the close box ----

class SettingsFormCloseTest : public SettingsFormTest,
                              public ::testing::WithParamInterface<const char*> {
protected:
    void closeTheDialog() {
        const std::string how = GetParam();
        if (how == "Cancel") {
            QTest::mouseClick(button("CancelButton"), Qt::LeftButton);
        } else if (how == "Esc") {
            QTest::keyClick(check("MinimizeCheck"), Qt::Key_Escape);
        } else {
            ASSERT_TRUE(form->close());
        }
    }
};

TEST_P(SettingsFormCloseTest, DropsEveryEditAndLeavesTheFileUntouched) {
    writeFile(kStoredFile);
    create();
    open();
    editEverything();
    check("MinimizeCheck")->setFocus();
    closeTheDialog();

    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(fileBytes(), bytes(kStoredFile));
    expectSame(shown(), storedValues());
    expectSame(live.snapshot(), storedValues());
    EXPECT_EQ(reconnects, 0);
    EXPECT_TRUE(edit("UserEdit")->isEnabled());
}

TEST_P(SettingsFormCloseTest, RestoresTheLookThatWasTriedOut) {
    create();
    open();
    check("OfficeXPCheck")->click();
    EXPECT_EQ(looks, std::vector<bool>{true});
    check("MinimizeCheck")->setFocus();
    closeTheDialog();
    EXPECT_EQ(looks, (std::vector<bool>{true, false}));
    EXPECT_FALSE(check("OfficeXPCheck")->isChecked());
}

INSTANTIATE_TEST_SUITE_P(ByCancelEscOrCloseBox, SettingsFormCloseTest,
                         ::testing::Values("Cancel", "Esc", "CloseBox"));

TEST_F(SettingsFormTest, ClosingWithoutChangesSwitchesNoLook) {
    writeFile("[Settings]\r\nOfficeXP=1\r\n");
    create();
    open();
    button("CancelButton")->click();
    open();
    button("OKButton")->click();
    EXPECT_TRUE(looks.empty());
}

// ---- Anonymous access ----

// The colour painted in the middle of a text field.
QColor fieldColour(QLineEdit* field) {
    const QImage image = field->grab().toImage();
    return image.pixelColor(field->width() / 2, field->height() / 2);
}

TEST_F(SettingsFormTest, AnonymousAccessDisablesAndGreysTheAccountFieldsInBothLooks) {
    writeFile(kStoredFile);
    create();
    // Colours that no style would pick by itself, the disabled field colour included.
    const QColor buttonFace(200, 180, 140);
    const QColor window(250, 250, 230);
    QPalette palette = form->palette();
    palette.setColor(QPalette::Button, buttonFace);
    palette.setColor(QPalette::Base, window);
    palette.setColor(QPalette::Disabled, QPalette::Base, Qt::red);
    form->setPalette(palette);
    for (bool officeXp : {false, true}) {
        applyLook(*qApp, officeXp);
        check("AnonymousCheck")->click();
        for (const char* name : {"UserEdit", "PasswordEdit"}) {
            EXPECT_FALSE(edit(name)->isEnabled()) << name;
            EXPECT_EQ(fieldColour(edit(name)), buttonFace) << name << " " << lookName(officeXp);
        }
        check("AnonymousCheck")->click();
        for (const char* name : {"UserEdit", "PasswordEdit"}) {
            EXPECT_TRUE(edit(name)->isEnabled()) << name;
            EXPECT_EQ(fieldColour(edit(name)), window) << name << " " << lookName(officeXp);
        }
    }
}

TEST_F(SettingsFormTest, TypingIntoADisabledAccountFieldChangesNothing) {
    create();
    open();
    QTest::keyClicks(edit("UserEdit"), QStringLiteral("x"));
    EXPECT_TRUE(edit("UserEdit")->text().isEmpty());
}

// ---- Live settings ----

TEST_F(SettingsFormTest, EveryChangeOfAControlIsPublishedAtOnce) {
    create();
    open();
    const std::vector<std::pair<const char*, std::function<bool(const SettingsValues&)>>> boxes = {
        {"MinimizeCheck", [](const SettingsValues& v) { return v.minimize; }},
        {"OfficeXPCheck", [](const SettingsValues& v) { return v.officeXp; }},
        {"SoundsCheck", [](const SettingsValues& v) { return v.sounds; }},
        {"NotificationsCheck", [](const SettingsValues& v) { return v.notifications; }},
        {"HistoryCheck", [](const SettingsValues& v) { return v.history; }},
        {"ForceCheck", [](const SettingsValues& v) { return v.force; }},
        {"AnonymousCheck", [](const SettingsValues& v) { return v.anonymous; }},
    };
    for (const auto& [name, field] : boxes) {
        for (int i = 0; i < 2; ++i) {
            QTest::mouseClick(check(name), Qt::LeftButton);
            EXPECT_EQ(field(live.snapshot()), check(name)->isChecked()) << name;
        }
    }

    serverType()->setCurrentText(QStringLiteral("PvPGN"));
    EXPECT_EQ(live.snapshot().serverType, ServerType::PvPGN);
    serverType()->setCurrentText(QStringLiteral("Classic"));
    EXPECT_EQ(live.snapshot().serverType, ServerType::Classic);

    gateway()->setCurrentIndex(3);
    EXPECT_EQ(live.snapshot().gateway, "uswest.battle.net");
    gateway()->lineEdit()->clear();
    QTest::keyClicks(gateway()->lineEdit(), QStringLiteral("my.gw"));
    EXPECT_EQ(live.snapshot().gateway, "my.gw");
    QTest::keyClick(gateway()->lineEdit(), Qt::Key_Backspace);
    EXPECT_EQ(live.snapshot().gateway, "my.g");

    check("AnonymousCheck")->click();
    ASSERT_FALSE(live.snapshot().anonymous);
    QTest::keyClicks(edit("UserEdit"), QStringLiteral("dan"));
    EXPECT_EQ(live.snapshot().user, "dan");
    QTest::keyClicks(edit("PasswordEdit"), QStringLiteral("pw"));
    EXPECT_EQ(live.snapshot().password, "pw");

    // Nothing was saved, yet the workers already read every value the dialog shows.
    expectSame(live.snapshot(), shown());
    EXPECT_FALSE(QFile::exists(path));
}

}  // namespace
