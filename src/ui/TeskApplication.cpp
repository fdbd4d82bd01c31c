#include "ui/TeskApplication.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QMessageBox>
#include <QSessionManager>
#include <QTimer>
#include <QUrl>
#include <memory>

#include "connection/Connection.h"
#include "connection/GatewayClient.h"
#include "ping/Pinger.h"
#include "platform/SingleInstance.h"
#include "platform/TerminationSignals.h"
#include "settings/IniFile.h"
#include "settings/LiveSettings.h"
#include "settings/SettingsFile.h"
#include "settings/WindowLayout.h"
#include "ui/AboutForm.h"
#include "ui/AddUserForm.h"
#include "ui/ConsoleForm.h"
#include "ui/Conversations.h"
#include "ui/HeldMessagesForm.h"
#include "ui/MainForm.h"
#include "ui/ProjectInfo.h"
#include "ui/SettingsForm.h"
#include "ui/TrayHint.h"
#include "ui/TrayNotifier.h"
#include "ui/TrayWindowControl.h"
#include "watch/AddUser.h"
#include "watch/RecoveryCopy.h"
#include "watch/WatchListFile.h"
#include "watch/WatchListModel.h"

namespace tesk {

int runTesk(const StartOptions& options, SoundPlayer& sounds) {
    auto* app = qApp;
    // Dialogs closing while the main window is hidden must not end the program.
    QApplication::setQuitOnLastWindowClosed(false);

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

    CommandQueue queue;
    LiveSettings settings;
    WatchListModel watchList;
    bool startMinimized = false;
    bool trayHintShown = false;
    MainFormGeometry geometry;
    {
        const IniFile ini(options.iniPath);
        startMinimized = readSettings(ini).minimize;  // read once, from the file
        trayHintShown = readTrayHintShown(ini);
        watchList.assign(readWatchedNames(ini));
        geometry = readMainFormGeometry(ini);
    }

    std::unique_ptr<MainForm> mainForm;
    TrayNotifier tray(
        sounds, [&settings] { return settings.snapshot().sounds; },
        [&mainForm] { return mainForm ? mainForm->trayStatus() : QString("Offline"); });
    mainForm = std::make_unique<MainForm>(watchList, settings, tray, options.iniPath);
    mainForm->setRecoveryPath(options.recoveryPath);
    Pinger ping(
        settings, [&mainForm](const std::string& text) { mainForm->showPing(text); },
        [&mainForm](const std::string& message) {
            mainForm->errorBoxes().show("Ping error", QString::fromStdString(message));
        });
    mainForm->attachPing(&ping);
    mainForm->resize(geometry.width, geometry.height);
    mainForm->move(geometry.left, geometry.top);

    // The permanent windows, in this order; the settings dialog loads and publishes the
    // live settings (and the look) as it is made.
    std::unique_ptr<GatewayClient> gateway;
    const auto status = [&gateway] {
        return gateway ? gateway->connection().status() : ConnectionStatus::None;
    };
    SettingsForm settingsForm(settings, options.iniPath, mainForm.get());
    settingsForm.setReconnect([&gateway] {
        if (gateway) {
            gateway->connection().reconnectIfOnline();
        }
    });
    ConsoleForm console(queue);
    const auto addUserNamed = [&](const std::string& name) {
        addWatchedUser(watchList, queue, status(), name);
    };
    AddUserForm addUser(addUserNamed, mainForm.get());
    AboutForm about(mainForm.get());

    ChatContext chatContext;
    chatContext.queue = &queue;
    chatContext.status = status;
    chatContext.dialect = [&gateway] {
        return gateway ? &gateway->connection().dialect() : nullptr;
    };
    chatContext.addUser = addUserNamed;
    chatContext.openUrl = [](const QUrl& url) { QDesktopServices::openUrl(url); };
    chatContext.showError = [](QWidget* window, const QString& text) {
        QMessageBox::critical(window, "Error", text);
    };
    chatContext.iniPath = options.iniPath;
    Conversations conversations(chatContext, watchList, tray, sounds, settings,
                                [&mainForm] { return mainForm->isVisible(); });
    mainForm->attachConversations(&conversations);
    mainForm->setLogSink([&console](const LogEntry& entry) { console.addToLog(entry); });
    HeldMessagesForm heldMessages(conversations);
    conversations.setHeldChanged(
        [&mainForm](std::size_t count) { mainForm->showHeldMessages(count); });
    conversations.setNoteSink([&mainForm](const std::string& note) { mainForm->logNote(note); });
    mainForm->setWindowOpeners(
        {[&addUser] { addUser.exec(); }, [&settingsForm] { settingsForm.exec(); },
         [&console] {
             console.show();
             console.raise();
             console.activateWindow();
         },
         [&about] { about.exec(); }, [&heldMessages] { heldMessages.showHeld(); }});

    tray.setMenu(mainForm->trayMenu());
    tray.show();
    TrayWindowControl trayWindow(tray, *mainForm);
    TrayHint trayHint(
        *mainForm, [&tray](const QString& text) { return tray.showMessage(text); }, options.iniPath,
        trayHintShown);

    // Log-off, shut-down and termination end the program like Exit: everything is saved.
    TerminationSignals termination;
    QObject::connect(&termination, &TerminationSignals::terminationRequested, mainForm.get(),
                     &MainForm::endProgram);
    QObject::connect(qobject_cast<QGuiApplication*>(app), &QGuiApplication::commitDataRequest,
                     mainForm.get(), [&mainForm](QSessionManager&) { mainForm->endProgram(); });

    if (startMinimized && tray.hasIcon()) {
        tray.showStatusTip();
    } else {
        mainForm->showWindow();
    }

    QTimer::singleShot(0, mainForm.get(), [&] {
        const IniFile ini(options.iniPath);
        mainForm->loadToolbarLayout(ini);
        gateway = std::make_unique<GatewayClient>(queue, settings, *mainForm, *mainForm,
                                                  options.timings);
        mainForm->attachGateway(gateway.get());
        gateway->start();
        if (!ini.exists()) {
            // The start-up connect may fail meanwhile: its box waits for these two.
            mainForm->errorBoxes().hold();
            QMessageBox::information(mainForm->isVisible() ? mainForm.get() : nullptr,
                                     "Information", project::welcomeMessage());
            settingsForm.exec();
            mainForm->errorBoxes().release();
        }
        if (!options.recoveryPath.isEmpty() && QFileInfo::exists(options.recoveryPath)) {
            QMessageBox box(QMessageBox::Information, "Information",
                            recoveryNotice(options.iniPath, options.recoveryPath), QMessageBox::Ok,
                            mainForm->isVisible() ? mainForm.get() : nullptr);
            box.setTextFormat(Qt::PlainText);
            box.exec();
        }
        mainForm->setExitFlag(false);
        // Start-up benchmark: measure from exec to here, then leave.
        if (options.quitWhenShown) {
            QCoreApplication::exit(0);
        }
    });

    const int result = QApplication::exec();
    gateway.reset();  // stops and joins the workers while the windows still exist
    trayHint.saveAtExit();
    return result;
}

}  // namespace tesk
