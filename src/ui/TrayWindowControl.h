#pragma once

#include <QObject>
#include <functional>

#include "ui/TrayClickRule.h"

namespace tesk {

class MainForm;
class TrayNotifier;

// Ties the main window to the tray icon: a click on the icon shows or hides the window as
// TrayClickRule says, and closing the window hides it only while there is an icon to bring
// it back with, counting a tray that appears after the start.
class TrayWindowControl : public QObject {
    Q_OBJECT
public:
    using Clock = std::function<TrayClickRule::TimePoint()>;

    TrayWindowControl(TrayNotifier& tray, MainForm& window,
                      Clock now = std::chrono::steady_clock::now);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void apply(TrayClickRule::Action action);

    MainForm& window_;
    Clock now_;
    TrayClickRule rule_;
};

}  // namespace tesk
