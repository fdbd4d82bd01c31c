#pragma once

#include <QObject>
#include <QString>
#include <functional>

namespace tesk {

class MainForm;

// The one notice from the tray icon, the first time closing the main window only hides it:
// a user who sees the window vanish would think TESK had ended. Once shown it is
// remembered in Tesk.ini, so it never comes again.
class TrayHint : public QObject {
    Q_OBJECT
public:
    static const QString kText;

    // `notify` shows the notice and says whether there was an icon to show it from;
    // `shownBefore` is what Tesk.ini said at start.
    TrayHint(MainForm& window, std::function<bool(const QString&)> notify, QString iniPath,
             bool shownBefore);

    // A first run has no Tesk.ini until the settings are confirmed or TESK exits, and the
    // notice alone does not make one; the mark then goes into the file the exit wrote.
    void saveAtExit();

private:
    void windowClosedToTray();
    bool markInFile() const;  // false when Tesk.ini does not exist (yet)

    std::function<bool(const QString&)> notify_;
    const QString iniPath_;
    bool shown_;
    bool unsaved_ = false;
};

}  // namespace tesk
