#pragma once

#include <QDialog>
#include <QString>
#include <functional>

#include "settings/LiveSettings.h"

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace tesk {

class PasswordKeeper;

// The dialog that edits the "Settings" section of Tesk.ini. Made when it is first opened,
// it lives for the rest of the run and its controls are the live settings: every change
// of any control is published at once, so the workers always read what the dialog shows. Every
// close (OK, Cancel, Esc, the close box) reloads the controls from the file, so edits that were not
// saved with OK are dropped again, together with a look that was only tried out.
class SettingsForm : public QDialog {
    Q_OBJECT
public:
    using ErrorBox =
        std::function<void(QWidget* parent, const QString& caption, const QString& text)>;

    // Loads the file into the controls; a stored Office XP look is switched on here. The
    // password is read and saved through `passwords`, which keeps it in the system keyring
    // when that box is ticked; without it, Tesk.ini holds it whatever the box says.
    SettingsForm(LiveSettings& live, QString iniPath, QWidget* parent = nullptr,
                 PasswordKeeper* passwords = nullptr);

    // The keyring's password arrived after the dialog was made: shown unless the user has
    // typed another meanwhile.
    void takeKeyringPassword(const std::string& password);

    // Run after OK has saved the file and before the dialog closes, so that a changed
    // gateway or account takes effect while connected.
    void setReconnect(std::function<void()> reconnectIfOnline);
    // Run whenever "Use Office XP alike look" changes; the default restyles the application.
    void setLookSwitch(std::function<void(bool officeXp)> lookSwitch);
    // Replaces the modal critical message box that reports a failed save.
    void setErrorBox(ErrorBox errorBox);

    // Every way of closing ends here and reloads the controls from the file.
    void done(int result) override;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void buildControls();
    void formCreate();
    SettingsValues values() const;
    void publish();
    void anonymousCheckChange(bool anonymous);
    void okButtonClick();

    LiveSettings& live_;
    QString iniPath_;
    PasswordKeeper* passwords_;
    std::function<void()> reconnect_;
    std::function<void(bool)> lookSwitch_;
    ErrorBox errorBox_;
    bool loading_ = false;
    QuotaSettings storedQuota_;

    QCheckBox* minimizeCheck_ = nullptr;
    QCheckBox* historyCheck_ = nullptr;
    QCheckBox* officeXpCheck_ = nullptr;
    QCheckBox* soundsCheck_ = nullptr;
    QCheckBox* notificationsCheck_ = nullptr;
    QComboBox* gatewayEdit_ = nullptr;
    QComboBox* serverTypeBox_ = nullptr;
    QCheckBox* forceCheck_ = nullptr;
    QCheckBox* anonymousCheck_ = nullptr;
    QLineEdit* userEdit_ = nullptr;
    QLineEdit* passwordEdit_ = nullptr;
    QCheckBox* keyringCheck_ = nullptr;
};

}  // namespace tesk
