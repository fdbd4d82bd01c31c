#include "headless/HeadlessRun.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <cstdio>

#include "headless/HeadlessPrinter.h"
#include "platform/SingleInstance.h"
#include "platform/TerminationSignals.h"
#include "session/Session.h"
#include "settings/IniFile.h"
#include "settings/PasswordKeeper.h"
#include "settings/SettingsFile.h"
#include "watch/RecoveryCopy.h"
#include "watch/WatchListFile.h"

namespace tesk {

namespace {

// Writes the watch list back; when Tesk.ini cannot be written it goes to the recovery copy.
int saveWatchList(const StartOptions& options, const WatchListModel& list) {
    const std::vector<std::string> names = list.names();
    IniFile ini(options.iniPath);
    writeWatchedNames(ini, names);
    writeLastSeen(ini, list.sightings());
    if (!ini.flush()) {
        const std::string report =
            keepUnsavedWatchList(options.iniPath, options.recoveryPath, names);
        std::fprintf(stderr, "%s\n", report.c_str());
        return 1;
    }
    retireRecoveryCopy(options.recoveryPath);
    return 0;
}

}  // namespace

int runHeadless(const StartOptions& options, SecretStore& secrets) {
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
    Session session(options.timings);
    session.keepHistoryIn(options.historyFolder);
    {
        const IniFile ini(options.iniPath);
        session.settings().publish(readSettings(ini));
        session.watchList().assign(readWatchedNames(ini), readLastSeen(ini));
    }
    if (!options.recoveryPath.isEmpty() && QFileInfo::exists(options.recoveryPath)) {
        std::fprintf(
            stderr, "%s\n",
            recoveryNotice(options.iniPath, options.recoveryPath).toLocal8Bit().constData());
    }
    HeadlessPrinter printer(session.watchList(), stdout);
    session.attachViews(printer, printer);
    TerminationSignals termination;
    QObject::connect(&termination, &TerminationSignals::terminationRequested,
                     QCoreApplication::instance(), &QCoreApplication::quit);
    PasswordKeeper passwords(secrets, options.iniPath, [](const std::string& text) {
        std::fprintf(stderr, "%s\n", text.c_str());
    });
    // The first connect waits for the password, which the keyring hands over later.
    passwords.load(IniFile(options.iniPath), [&session](const std::string& password) {
        SettingsValues values = session.settings().snapshot();
        values.password = password;
        session.settings().publish(values);
        session.start();
    });
    QCoreApplication::exec();

    session.goOffline();
    session.stop();
    return saveWatchList(options, session.watchList());
}

}  // namespace tesk
