#include "ui/TeskApplication.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QMessageBox>
#include <QSessionManager>
#include <QTimer>
#include <QUrl>

#include "platform/SingleInstance.h"
#include "settings/IniFile.h"
#include "settings/SettingsFile.h"
#include "ui/ProjectInfo.h"
#include "watch/RecoveryCopy.h"
#include "watch/WatchListFile.h"

namespace tesk {

namespace {

StoredStart readStoredStart(const QString& iniPath) {
    const IniFile ini(iniPath);
    StoredStart stored;
    stored.startMinimized = readSettings(ini).minimize;  // read once, from the file
    stored.trayHintShown = readTrayHintShown(ini);
    stored.geometry = readMainFormGeometry(ini);
    stored.watchedNames = readWatchedNames(ini);
    stored.lastSeen = readLastSeen(ini);
    return stored;
}

}  // namespace

TeskApplication::TeskApplication(const StartOptions& options, SoundPlayer& sounds)
    : options_(options),
      stored_(readStoredStart(options.iniPath)),
      session_(options.timings),
      tray_(sounds, [this] { return session_.settings().snapshot().sounds; }),
      notifications_(QDBusConnection::sessionBus(), applicationIconUri()),
      notices_(notifications_, session_.settings(), [this] { return mainForm_.isActiveWindow(); }),
      mainForm_(session_, tray_, options.iniPath),
      ping_(
          session_.settings(), [this](const std::string& text) { mainForm_.showPing(text); },
          [this](const std::string& message) {
              mainForm_.errorBoxes().show("Ping error", QString::fromStdString(message));
          }),
      settingsForm_(session_.settings(), options.iniPath, &mainForm_),
      console_(session_.queue()),
      addUser_([this](const std::string& name) { session_.addUser(name); }, &mainForm_),
      about_(&mainForm_),
      conversations_(chatContext(), session_, tray_, sounds,
                     [this] { return mainForm_.isVisible(); }),
      heldMessages_(conversations_),
      trayWindow_(tray_, mainForm_),
      trayHint_(
          mainForm_, [this](const QString& text) { return tray_.showMessage(text); },
          options.iniPath, stored_.trayHintShown) {
    // Dialogs closing while the main window is hidden must not end the program.
    QApplication::setQuitOnLastWindowClosed(false);
    session_.watchList().assign(stored_.watchedNames);
    session_.watchList().restoreSightings(stored_.lastSeen);
    stored_.watchedNames = {};
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
    mainForm_.setLogSink([this](const LogEntry& entry) { console_.addToLog(entry); });
    mainForm_.setWindowOpeners({[this] { addUser_.exec(); }, [this] { settingsForm_.exec(); },
                                [this] { openConsole(); }, [this] { about_.exec(); },
                                [this] { heldMessages_.showHeld(); }});
    settingsForm_.setReconnect([this] { session_.reconnectIfOnline(); });
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
    context.iniPath = options_.iniPath;
    return context;
}

void TeskApplication::openConsole() {
    console_.show();
    console_.raise();
    console_.activateWindow();
}

int TeskApplication::run() {
    if (stored_.startMinimized && tray_.hasIcon()) {
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
    const IniFile ini(options_.iniPath);
    mainForm_.loadToolbarLayout(ini);
    session_.start();
    if (!ini.exists()) {
        // The start-up connect may fail meanwhile: its box waits for these two.
        mainForm_.errorBoxes().hold();
        QMessageBox::information(boxParent, "Information", project::welcomeMessage());
        settingsForm_.exec();
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

int runTesk(const StartOptions& options, SoundPlayer& sounds) {
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
    TeskApplication application(options, sounds);
    return application.run();
}

}  // namespace tesk
