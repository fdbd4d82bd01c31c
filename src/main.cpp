#include <QApplication>
#include <QMessageBox>

#include "connection/GatewayClient.h"
#include "settings/IniFile.h"
#include "settings/LiveSettings.h"
#include "settings/SettingsFile.h"
#include "ui/TMainForm.h"
#include "watch/WatchListFile.h"
#include "watch/WatchListModel.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("TESK");
    QApplication::setApplicationVersion(TESK_VERSION);

    const QString iniPath = tesk::iniPathBesideExecutable();
    tesk::LiveSettings settings;
    tesk::WatchListModel watchList;
    {
        const tesk::IniFile ini(iniPath);
        settings.publish(tesk::readSettings(ini));
        watchList.assign(tesk::readWatchedNames(ini));
    }

    tesk::TMainForm mainForm(watchList);
    mainForm.resize(320, 480);
    mainForm.show();
    const int result = [&] {
        tesk::GatewayClient gateway(settings, mainForm, mainForm);
        gateway.start();
        return app.exec();
    }();

    tesk::IniFile ini(iniPath);
    tesk::writeWatchedNames(ini, watchList.names());
    if (!ini.flush()) {
        QMessageBox::critical(nullptr, "Error", tesk::IniFile::unableToWriteMessage(iniPath));
    }
    return result;
}
