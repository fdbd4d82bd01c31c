#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <cstdio>

#include "headless/HeadlessRun.h"
#include "history/WhisperHistory.h"
#include "platform/DesktopFileName.h"
#include "platform/MemoryPolicy.h"
#include "platform/SingleInstance.h"
#include "platform/keyring/KeychainSecretStore.h"
#include "platform/sound/CanberraSoundPlayer.h"
#include "settings/ConfigLocation.h"
#include "settings/SaveTarget.h"
#include "ui/CommandLine.h"
#include "ui/TeskApplication.h"
#include "ui/TeskStyle.h"
#include "watch/RecoveryCopy.h"

namespace {

QStringList argumentsOf(int argc, char** argv) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i) {
        arguments << QString::fromLocal8Bit(argv[i]);
    }
    return arguments;
}

}  // namespace

int main(int argc, char** argv) {
    tesk::returnLargeBlocksToTheSystem();
    const tesk::CommandLine command = tesk::parseCommandLine(argumentsOf(argc, argv));
    if (!command.error.isEmpty()) {
        std::fprintf(stderr, "tesk: %s\n\n%s", command.error.toLocal8Bit().constData(),
                     tesk::usageText().toLocal8Bit().constData());
        return 2;
    }
    if (command.help) {
        std::fputs(tesk::usageText().toLocal8Bit().constData(), stdout);
        return 0;
    }
    if (command.version) {
        std::printf("TESK %s\n", TESK_VERSION);
        return 0;
    }

    const auto start = [&command] {
        tesk::StartOptions options;
        options.iniPath = tesk::chooseConfigPath(command.configPath);
        QDir().mkpath(QFileInfo(options.iniPath).absolutePath());
        options.lockDirectory = tesk::SingleInstance::defaultDirectory();
        options.recoveryPath = tesk::recoveryCopyPath();
        options.historyFolder = tesk::WhisperHistory::defaultFolder();
        tesk::removeLeftoverTemporaries(options.iniPath);
        if (command.pollInterval.count() > 0) {
            options.timings.pollInterval = command.pollInterval;
        }
        options.quitWhenShown = command.quitWhenShown;
        return options;
    };
    tesk::KeychainSecretStore secrets;
    if (command.headless) {
        QCoreApplication app(argc, argv);
        QCoreApplication::setApplicationName("TESK");
        return tesk::runHeadless(start(), secrets);
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName("TESK");
    QApplication::setApplicationVersion(TESK_VERSION);
    QApplication::setDesktopFileName(tesk::kDesktopFileName);
    QApplication::setStyle(new tesk::TeskStyle);
    tesk::CanberraSoundPlayer sounds;
    return tesk::runTesk(start(), sounds, secrets);
}
