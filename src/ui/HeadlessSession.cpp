#include "ui/HeadlessSession.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <algorithm>

#include "connection/Connection.h"
#include "connection/GatewayClient.h"
#include "platform/GuiThread.h"
#include "platform/SingleInstance.h"
#include "platform/TerminationSignals.h"
#include "settings/IniFile.h"
#include "settings/LiveSettings.h"
#include "settings/SettingsFile.h"
#include "watch/FriendNotices.h"
#include "watch/Products.h"
#include "watch/RecoveryCopy.h"
#include "watch/RowReport.h"
#include "watch/ShownText.h"
#include "watch/UserUpdate.h"
#include "watch/WatchListFile.h"
#include "watch/WatchListModel.h"

namespace tesk {

HeadlessSession::HeadlessSession(WatchListModel& watchList, CommandQueue& queue,
                                 const std::string& accountName, std::FILE* out,
                                 std::function<QTime()> clock)
    : watchList_(watchList),
      queue_(queue),
      accountName_(accountName),
      out_(out),
      clock_(std::move(clock)) {
    // A whois reply can take two lines (the place, then away or DND): report a row once
    // its reply is complete, not the state in between.
    rowReport_.setSingleShot(true);
    rowReport_.setInterval(300);
    QObject::connect(&rowReport_, &QTimer::timeout, [this] { reportChangedRows(); });
    const auto later = [this] { rowReport_.start(); };
    QObject::connect(&watchList_, &WatchListModel::dataChanged, &rowReport_, later);
    QObject::connect(&watchList_, &WatchListModel::modelReset, &rowReport_, later);
}

// Received text is in most lines, so every line is escaped for the terminal.
void HeadlessSession::print(const std::string& text) {
    const std::string line = terminalText(text);
    std::fprintf(out_, "%s %s\n", clock_().toString("hh:mm").toStdString().c_str(), line.c_str());
    std::fflush(out_);
}

void HeadlessSession::reportChangedRows() {
    for (int i = 0; i < watchList_.size(); ++i) {
        const WatchRow& row = watchList_.row(i);
        const std::string text = describeRow(row.name, row.user);
        std::string& shown = shownRows_[row.key];
        // Rows start unknown; only what the gateway tells about them is news.
        if (shown.empty() && row.user.presence == Presence::Unknown) {
            shown = text;
        }
        if (shown != text) {
            shown = text;
            print(text);
        }
    }
}

void HeadlessSession::displayStatus(const StatusDisplay& display) {
    TESK_ASSERT_GUI_THREAD();
    const std::string& status = display.tipCaption.empty() ? display.caption : display.tipCaption;
    if (status != shownStatus_) {
        shownStatus_ = status;
        print("status: " + status);
    }
}

std::vector<std::string> HeadlessSession::namesToPoll() {
    TESK_ASSERT_GUI_THREAD();
    return watchList_.names();
}

void HeadlessSession::resetWatchRows() {
    TESK_ASSERT_GUI_THREAD();
    watchList_.resetAll();
}

void HeadlessSession::showError(const std::string& message) {
    TESK_ASSERT_GUI_THREAD();
    // Our messages are meant for boxes and have line breaks; one change is one line here.
    std::string line = message;
    std::replace(line.begin(), line.end(), '\n', ' ');
    print("error: " + line);
}

void HeadlessSession::logNote(const std::string& text) {
    TESK_ASSERT_GUI_THREAD();
    print("note: " + text);
}

void HeadlessSession::handle(const ServerEvent& event) {
    TESK_ASSERT_GUI_THREAD();
    std::visit(
        EventHandlers{
            [](const LogEntry&) {},
            [this](const WhoisAnswer& answer) { updateUser(watchList_, answer, *this); },
            [this](const FriendNotice& notice) {
                applyFriendNotice(notice, watchList_, queue_, *this);
            },
            [this](const StatsAnswer& reply) {
                if (reply.productCode) {
                    print("statistics " + reply.name + ": " + statsHeading(*reply.productCode));
                }
                if (reply.body) {
                    print("statistics " + reply.name + ":   " + *reply.body);
                }
            },
            [this](const WhisperEvent& whisper) {
                if (whisper.incoming) {
                    print("whisper from " + whisper.partner + ": " + whisper.text);
                } else {
                    print("whisper to " + whisper.partner + " from " + accountName_ + ": " +
                          whisper.text);
                }
            },
            [this](const WhisperRefusal& refusal) {
                print("whisper to " + refusal.partner + " not delivered (" + refusal.reason +
                      "): " + refusal.text);
            },
        },
        event);
}

void HeadlessSession::announceOnline(const std::string& name) {
    TESK_ASSERT_GUI_THREAD();
    print("User " + name + " is online");
}

int runHeadless(const StartOptions& options) {
    SingleInstance instance(options.lockDirectory);
    switch (instance.acquire()) {
        case SingleInstance::Result::Acquired:
            break;
        case SingleInstance::Result::AlreadyRunning:
            std::fprintf(stderr, "Program is already running.\n");
            return 1;
        case SingleInstance::Result::Failed:
            std::fprintf(stderr, "%s\n", instance.errorMessage().toLocal8Bit().constData());
            return 1;
    }
    LiveSettings settings;
    WatchListModel watchList;
    {
        const IniFile ini(options.iniPath);
        settings.publish(readSettings(ini));
        watchList.assign(readWatchedNames(ini));
    }
    if (!options.recoveryPath.isEmpty() && QFileInfo::exists(options.recoveryPath)) {
        std::fprintf(
            stderr, "%s\n",
            recoveryNotice(options.iniPath, options.recoveryPath).toLocal8Bit().constData());
    }
    CommandQueue queue;
    HeadlessSession session(watchList, queue, settings.snapshot().user, stdout);
    auto gateway =
        std::make_unique<GatewayClient>(queue, settings, session, session, options.timings);
    TerminationSignals termination;
    QObject::connect(&termination, &TerminationSignals::terminationRequested,
                     QCoreApplication::instance(), &QCoreApplication::quit);
    gateway->start();
    QCoreApplication::exec();

    gateway->connection().goOffline();
    gateway.reset();
    IniFile ini(options.iniPath);
    writeWatchedNames(ini, watchList.names());
    if (!ini.flush()) {
        const std::string report =
            keepUnsavedWatchList(options.iniPath, options.recoveryPath, watchList.names());
        std::fprintf(stderr, "%s\n", report.c_str());
        return 1;
    }
    retireRecoveryCopy(options.recoveryPath);
    return 0;
}

}  // namespace tesk
