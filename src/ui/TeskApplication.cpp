#include "ui/TeskApplication.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QMessageBox>
#include <QSessionManager>
#include <QTimer>
#include <QUrl>

#include "platform/MemoryPolicy.h"
#include "platform/SingleInstance.h"
#include "settings/IniFile.h"
#include "settings/SettingsFile.h"
#include "ui/Look.h"
#include "ui/ProjectInfo.h"
#include "watch/RecoveryCopy.h"
#include "watch/WatchListFile.h"

namespace tesk {

namespace {

StoredStart readStoredStart(const IniFile& ini) {
    StoredStart stored;
    stored.settings = readSettings(ini);
    stored.trayHintShown = readTrayHintShown(ini);
    stored.geometry = readMainFormGeometry(ini);
    stored.watchedNames = readWatchedNames(ini);
    stored.lastSeen = readLastSeen(ini);
    return stored;
}

}  // namespace

TeskApplication::TeskApplication(const StartOptions& options, SoundPlayer& sounds,
                                 SecretStore& secrets)
    : options_(options),
      storedFile_(std::make_unique<const IniFile>(options.iniPath)),
      stored_(readStoredStart(*storedFile_)),
      session_(options.timings),
      passwords_(secrets, options.iniPath,
                 [this](const std::string& text) {
                     mainForm_.errorBoxes().show("Keyring", QString::fromStdString(text));
                 }),
      tray_(sounds, [this] { return session_.settings().snapshot().sounds; }),
      notifications_(QDBusConnection::sessionBus(), applicationIconUri()),
      notices_(notifications_, session_.settings(), [this] { return mainForm_.isActiveWindow(); }),
      mainForm_(session_, tray_, options.iniPath),
      ping_(
          session_.settings(), [this](const std::string& text) { mainForm_.showPing(text); },
          [this](const std::string& message) {
              mainForm_.errorBoxes().show("Ping error", QString::fromStdString(message));
          }),
      conversations_(chatContext(), session_, tray_, sounds,
                     [this] { return mainForm_.isVisible(); }),
      trayWindow_(tray_, mainForm_),
      trayHint_(
          mainForm_, [this](const QString& text) { return tray_.showMessage(text); },
          options.iniPath, stored_.trayHintShown) {
    // Dialogs closing while the main window is hidden must not end the program.
    QApplication::setQuitOnLastWindowClosed(false);
    session_.settings().publish(stored_.settings);
    session_.keepHistoryIn(options.historyFolder);
    if (stored_.settings.officeXp) {
        applyLook(*qApp, true);
    }
    session_.watchList().assign(std::move(stored_.watchedNames), stored_.lastSeen);
    stored_.lastSeen = {};
    session_.attachViews(mainForm_, conversations_);

    mainForm_.setRecoveryPath(options.recoveryPath);
    mainForm_.attachPing(&ping_);
    mainForm_.attachConversations(&conversations_);
    mainForm_.attachNotices(&notices_);
    conversations_.attachNotices(&notices_);
    QObject::connect(&notifications_, &DesktopNotifications::openRequested, &mainForm_,
                     [this](const std::string& partner) { conversations_.openChat(partner); });
    mainForm_.resize(stored_.geometry.width, stored_.geometry.height);
    mainForm_.move(stored_.geometry.left, stored_.geometry.top);
    mainForm_.setLogSink([this](const LogEntry& entry) {
        if (console_) {
            console_->addToLog(entry);
        } else {
            earlyLog_.add(entry);
        }
    });
    mainForm_.setWindowOpeners({[this] { addUser().exec(); }, [this] { settingsForm().exec(); },
                                [this] { openConsole(); }, [this] { about().exec(); },
                                [this] { heldMessages().showHeld(); }});
    conversations_.setHeldChanged([this](std::size_t count) { mainForm_.showHeldMessages(count); });

    tray_.setMenu(mainForm_.trayMenu());
    tray_.show();
    QObject::connect(&termination_, &TerminationSignals::terminationRequested, &mainForm_,
                     &MainForm::endProgram);
    QObject::connect(qApp, &QGuiApplication::commitDataRequest, &mainForm_,
                     [this](QSessionManager&) { mainForm_.endProgram(); });
}

// The workers end before the windows they talk to.
TeskApplication::~TeskApplication() {
    session_.stop();
}

ChatContext TeskApplication::chatContext() {
    ChatContext context;
    context.queue = &session_.queue();
    context.status = [this] { return session_.status(); };
    context.dialect = [this] { return &session_.dialect(); };
    context.addUser = [this](const std::string& name) { session_.addUser(name); };
    context.openUrl = [](const QUrl& url) { QDesktopServices::openUrl(url); };
    context.showError = [](QWidget* window, const QString& text) {
        QMessageBox::critical(window, "Error", text);
    };
    context.historyTail = [this](const std::string& partner) {
        return session_.historyTail(partner);
    };
    context.deleteHistory = [this](const std::string& partner) { session_.deleteHistory(partner); };
    context.confirm = [](QWidget* window, const QString& question) {
        QMessageBox box(QMessageBox::Question, "Confirm", question,
                        QMessageBox::Yes | QMessageBox::No, window);
        box.setTextFormat(Qt::PlainText);  // the question names the partner
        box.setDefaultButton(QMessageBox::No);
        return box.exec() == QMessageBox::Yes;
    };
    context.iniPath = options_.iniPath;
    return context;
}

void TeskApplication::openConsole() {
    if (!console_) {
        console_ = std::make_unique<ConsoleForm>(session_.queue());
        console_->takeEarlyLines(std::move(earlyLog_));
    }
    console_->show();
    console_->raise();
    console_->activateWindow();
}

// Made, it loads the file into its controls and publishes them, as it does whenever it
// closes.
SettingsForm& TeskApplication::settingsForm() {
    if (!settingsForm_) {
        settingsForm_ = std::make_unique<SettingsForm>(session_.settings(), options_.iniPath,
                                                       &mainForm_, &passwords_);
        settingsForm_->setReconnect([this] { session_.reconnectIfOnline(); });
    }
    return *settingsForm_;
}

AddUserForm& TeskApplication::addUser() {
    if (!addUser_) {
        addUser_ = std::make_unique<AddUserForm>(
            [this](const std::string& name) { session_.addUser(name); }, &mainForm_);
    }
    return *addUser_;
}

AboutForm& TeskApplication::about() {
    if (!about_) {
        about_ = std::make_unique<AboutForm>(&mainForm_);
    }
    return *about_;
}

HeldMessagesForm& TeskApplication::heldMessages() {
    if (!heldMessages_) {
        heldMessages_ = std::make_unique<HeldMessagesForm>(conversations_);
    }
    return *heldMessages_;
}

int TeskApplication::run() {
    if (stored_.settings.minimize && tray_.hasIcon()) {
        tray_.showStatusTip();
    } else {
        mainForm_.showWindow();
    }
    QTimer::singleShot(0, &mainForm_, [this] { startUp(); });
    const int result = QApplication::exec();
    session_.stop();  // stops and joins the workers while the windows still exist
    trayHint_.saveAtExit();
    return result;
}

void TeskApplication::startUp() {
    QWidget* boxParent = mainForm_.isVisible() ? &mainForm_ : nullptr;
    mainForm_.loadToolbarLayout(*storedFile_);
    const bool firstRun = !storedFile_->exists();
    // The first connect waits for the password, which the keyring hands over later.
    passwords_.load(*storedFile_, [this](const std::string& password) {
        if (settingsForm_) {
            settingsForm_->takeKeyringPassword(password);
        } else {
            SettingsValues values = session_.settings().snapshot();
            values.password = password;
            session_.settings().publish(values);
        }
        session_.start();
    });
    storedFile_.reset();
    returnFreePagesToTheSystem();  // of reading the file, much for a long watch list
    if (firstRun) {
        // The start-up connect may fail meanwhile: its box waits for these two.
        mainForm_.errorBoxes().hold();
        QMessageBox::information(boxParent, "Information", project::welcomeMessage());
        settingsForm().exec();
        mainForm_.errorBoxes().release();
    }
    if (!options_.recoveryPath.isEmpty() && QFileInfo::exists(options_.recoveryPath)) {
        QMessageBox box(QMessageBox::Information, "Information",
                        recoveryNotice(options_.iniPath, options_.recoveryPath), QMessageBox::Ok,
                        boxParent);
        box.setTextFormat(Qt::PlainText);
        box.exec();
    }
    mainForm_.setExitFlag(false);
    // Start-up benchmark: measure from exec to here, then leave.
    if (options_.quitWhenShown) {
        QCoreApplication::exit(0);
    }
}

int runTesk(const StartOptions& options, SoundPlayer& sounds, SecretStore& secrets) {
    SingleInstance instance(options.lockDirectory);
    switch (instance.acquire()) {
        case SingleInstance::Result::Acquired:
            break;
        case SingleInstance::Result::AlreadyRunning:
            QMessageBox::information(nullptr, "Information", "Program is already running.");
            return 0;
        case SingleInstance::Result::Failed:
            QMessageBox::critical(nullptr, "Error", instance.errorMessage());
            return 1;
    }
    TeskApplication application(options, sounds, secrets);
    return application.run();
}

}  // namespace tesk
