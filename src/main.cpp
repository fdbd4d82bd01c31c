#include <QApplication>

#include "platform/SingleInstance.h"
#include "settings/SettingsFile.h"
#include "ui/TeskApplication.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("TESK");
    QApplication::setApplicationVersion(TESK_VERSION);

    tesk::StartOptions options;
    options.iniPath = tesk::iniPathBesideExecutable();
    options.lockDirectory = tesk::SingleInstance::defaultDirectory();
    return tesk::runTesk(options);
}
