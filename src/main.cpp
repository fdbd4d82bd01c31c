#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <cstdio>

#include "platform/MemoryPolicy.h"
#include "platform/SingleInstance.h"
#include "settings/ConfigLocation.h"
#include "ui/CommandLine.h"
#include "ui/HeadlessSession.h"
#include "ui/TeskApplication.h"

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
        // The demo run polls more often than once a minute, so that a newcomer sees a
        // user come online within the first minute.
        bool ok = false;
        const int pollMs = qEnvironmentVariableIntValue("TESK_DEMO_POLL_MS", &ok);
        if (ok && pollMs >= 1000) {
            options.timings.pollInterval = std::chrono::milliseconds(pollMs);
        }
        return options;
    };
    if (command.headless) {
        QCoreApplication app(argc, argv);
        QCoreApplication::setApplicationName("TESK");
        return tesk::runHeadless(start());
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName("TESK");
    QApplication::setApplicationVersion(TESK_VERSION);
    return tesk::runTesk(start());
}
