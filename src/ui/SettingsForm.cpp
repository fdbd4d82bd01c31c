#include "ui/SettingsForm.h"
#include "ui/DialogParts.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProxyStyle>
#include <QPushButton>
#include <iterator>
#include <utility>

#include "settings/IniFile.h"
#include "settings/PasswordKeeper.h"
#include "settings/SettingsFile.h"
#include "ui/Look.h"
#include "ui/ScreenPlacement.h"

namespace tesk {
namespace {

constexpr int kClientWidth = 314;
constexpr int kClientHeight = 440;

const char* const kGateways[] = {"asia.battle.net", "europe.battle.net", "useast.battle.net",
                                 "uswest.battle.net"};

// In the order the list offers them.
const std::pair<const char*, ServerType> kServerTypes[] = {
    {"Automatic", ServerType::Automatic},
    {"Classic", ServerType::Classic},
    {"PvPGN", ServerType::PvPGN},
};

// The metrics of the classic Windows controls that the fixed layout was drawn for: a
// narrow gap between a check box and its caption, and "*" as the password mask.
class ClassicStyle : public QProxyStyle {
public:
    int pixelMetric(PixelMetric metric, const QStyleOption* option,
                    const QWidget* widget) const override {
        if (metric == PM_CheckBoxLabelSpacing) {
            return 4;
        }
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override {
        if (hint == SH_LineEdit_PasswordCharacter) {
            return '*';
        }
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

void showCritical(QWidget* parent, const QString& caption, const QString& text) {
    QMessageBox::critical(parent, caption, text);
}

template <typename T>
T* place(T* widget, const char* name, const QRect& box) {
    widget->setObjectName(QLatin1String(name));
    widget->setGeometry(box);
    return widget;
}

// A label sized to its text, at the given top left corner.
QLabel* addLabel(QWidget* parent, const char* name, const QString& text, int x, int y) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setTextFormat(Qt::PlainText);
    label->move(x, y);
    label->resize(label->sizeHint());
    return label;
}

void addHeading(QWidget* parent, const char* name, const QString& text, int y) {
    auto* heading = place(new QLabel(text, parent), name, {16, y, 289, 17});
    heading->setTextFormat(Qt::PlainText);
    QFont font = heading->font();
    font.setBold(true);
    font.setUnderline(true);
    heading->setFont(font);
}

void addSeparator(QWidget* parent, const char* name, int y) {
    addShadowLine(parent, name, {16, y, 289, 1});
}

// Neither button answers Enter or Esc on behalf of the dialog.
QPushButton* addButton(QWidget* parent, const char* name, const QString& text, int x) {
    auto* button = place(new QPushButton(text, parent), name, {x, 408, 75, 25});
    button->setAutoDefault(false);
    return button;
}

// Paints a text field's background in a colour of the dialog's palette, in every colour
// group, so that it also holds while the field is disabled.
void paintBackground(QLineEdit* edit, QPalette::ColorRole source) {
    const QPalette dialog = edit->parentWidget()->palette();
    QPalette palette = edit->palette();
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        palette.setColor(group, QPalette::Base, dialog.color(group, source));
    }
    edit->setPalette(palette);
}

}  // namespace

SettingsForm::SettingsForm(LiveSettings& live, QString iniPath, QWidget* parent,
                           PasswordKeeper* passwords)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      live_(live),
      iniPath_(std::move(iniPath)),
      passwords_(passwords),
      lookSwitch_([](bool officeXp) { applyLook(*qApp, officeXp); }),
      errorBox_(showCritical) {
    setObjectName(QStringLiteral("SettingsForm"));
    setWindowTitle(QStringLiteral("Settings"));
    setModal(true);
    setFixedSize(kClientWidth, kClientHeight);
    setFont(dialogFont());

    buildControls();
    formCreate();
    keepLookThroughSwitches(this);
    // Centred on the screen, not over the window that opened it.
    placeOnHomeScreenWhenShown(this, Placement::Centre);
}

void SettingsForm::buildControls() {
    auto* classic = new ClassicStyle;
    classic->setParent(this);
    const auto addCheck = [this, classic](const char* name, const QString& text, const QRect& box) {
        auto* check = place(new QCheckBox(text, this), name, box);
        check->setStyle(classic);
        return check;
    };

    addHeading(this, "GeneralLabel", QStringLiteral("General"), 16);
    minimizeCheck_ =
        addCheck("MinimizeCheck", QStringLiteral("Start minimized"), {32, 40, 113, 20});
    historyCheck_ =
        addCheck("HistoryCheck", QStringLiteral("Keep whisper history"), {152, 40, 153, 20});
    officeXpCheck_ =
        addCheck("OfficeXPCheck", QStringLiteral("Use Office XP alike look"), {32, 64, 161, 20});
    soundsCheck_ = addCheck("SoundsCheck", QStringLiteral("Play sounds"), {32, 88, 100, 20});
    notificationsCheck_ =
        addCheck("NotificationsCheck", QStringLiteral("Desktop notifications"), {152, 88, 153, 20});

    addHeading(this, "NetworkLabel", QStringLiteral("Network"), 120);
    addLabel(this, "GatewayLabel", QStringLiteral("Gateway:"), 32, 156);
    gatewayEdit_ = place(new QComboBox(this), "GatewayEdit", {104, 152, 201, 24});
    gatewayEdit_->setEditable(true);
    // Enter in the field must not add the typed host to the offered list.
    gatewayEdit_->setInsertPolicy(QComboBox::NoInsert);
    for (const char* host : kGateways) {
        gatewayEdit_->addItem(QLatin1String(host));
    }
    addLabel(this, "ServerTypeLabel", QStringLiteral("Server:"), 32, 188);
    serverTypeBox_ = place(new QComboBox(this), "ServerTypeBox", {104, 184, 201, 24});
    for (const auto& [caption, type] : kServerTypes) {
        serverTypeBox_->addItem(QLatin1String(caption), static_cast<int>(type));
    }
    forceCheck_ = addCheck("ForceCheck", QStringLiteral("Force reconnect (may raise CPU usage)"),
                           {32, 216, 249, 20});
    addSeparator(this, "NetworkSeparator", 248);

    anonymousCheck_ =
        addCheck("AnonymousCheck", QStringLiteral("Anonymous access"), {32, 256, 137, 20});
    addLabel(this, "UserLabel", QStringLiteral("User:"), 32, 284);
    userEdit_ = place(new QLineEdit(this), "UserEdit", {104, 280, 201, 24});
    addLabel(this, "PasswordLabel", QStringLiteral("Password:"), 32, 316);
    passwordEdit_ = place(new QLineEdit(this), "PasswordEdit", {104, 312, 201, 24});
    passwordEdit_->setEchoMode(QLineEdit::Password);
    passwordEdit_->setStyle(classic);
    addLabel(this, "War3AccountsLabel",
             QStringLiteral("Warcraft III accounts are not supported yet."), 32, 344);
    keyringCheck_ =
        addCheck("KeyringCheck", QStringLiteral("Keep the password in the system keyring"),
                 {32, 368, 273, 20});
    addSeparator(this, "ButtonSeparator", 400);

    QPushButton* cancel = addButton(this, "CancelButton", QStringLiteral("Cancel"), 152);
    QPushButton* ok = addButton(this, "OKButton", QStringLiteral("OK"), 232);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(ok, &QPushButton::clicked, this, &SettingsForm::okButtonClick);

    QWidget* const focusOrder[] = {minimizeCheck_, officeXpCheck_,  soundsCheck_, gatewayEdit_,
                                   serverTypeBox_, anonymousCheck_, userEdit_,    passwordEdit_,
                                   keyringCheck_,  cancel,          ok,           forceCheck_};
    for (std::size_t i = 1; i < std::size(focusOrder); ++i) {
        setTabOrder(focusOrder[i - 1], focusOrder[i]);
    }
    // Each right-hand box after its neighbour on the same line.
    setTabOrder(minimizeCheck_, historyCheck_);
    setTabOrder(soundsCheck_, notificationsCheck_);

    // toggled fires only when a box really changes, also when a reload changes it.
    connect(officeXpCheck_, &QCheckBox::toggled, this, [this](bool on) { lookSwitch_(on); });
    connect(anonymousCheck_, &QCheckBox::toggled, this, &SettingsForm::anonymousCheckChange);
    for (QCheckBox* check : {minimizeCheck_, historyCheck_, officeXpCheck_, soundsCheck_,
                             notificationsCheck_, forceCheck_, anonymousCheck_, keyringCheck_}) {
        connect(check, &QCheckBox::toggled, this, &SettingsForm::publish);
    }
    connect(gatewayEdit_, &QComboBox::editTextChanged, this, &SettingsForm::publish);
    connect(serverTypeBox_, &QComboBox::currentIndexChanged, this, &SettingsForm::publish);
    connect(userEdit_, &QLineEdit::textChanged, this, &SettingsForm::publish);
    connect(passwordEdit_, &QLineEdit::textChanged, this, &SettingsForm::publish);
}

void SettingsForm::setReconnect(std::function<void()> reconnectIfOnline) {
    reconnect_ = std::move(reconnectIfOnline);
}

void SettingsForm::setLookSwitch(std::function<void(bool officeXp)> lookSwitch) {
    lookSwitch_ = std::move(lookSwitch);
}

void SettingsForm::setErrorBox(ErrorBox errorBox) {
    errorBox_ = std::move(errorBox);
}

void SettingsForm::formCreate() {
    const IniFile ini(iniPath_);
    const SettingsValues stored = passwords_ ? passwords_->read(ini) : readSettings(ini);
    // Workers see the reloaded values only as a whole, never half old and half new.
    loading_ = true;
    minimizeCheck_->setChecked(stored.minimize);
    officeXpCheck_->setChecked(stored.officeXp);
    soundsCheck_->setChecked(stored.sounds);
    notificationsCheck_->setChecked(stored.notifications);
    historyCheck_->setChecked(stored.history);
    const QString gateway = QString::fromStdString(stored.gateway);
    // A known host is also marked in the list; any other text stays as it was typed.
    gatewayEdit_->setCurrentIndex(gatewayEdit_->findText(gateway));
    gatewayEdit_->setEditText(gateway);
    serverTypeBox_->setCurrentIndex(serverTypeBox_->findData(static_cast<int>(stored.serverType)));
    forceCheck_->setChecked(stored.force);
    anonymousCheck_->setChecked(stored.anonymous);
    userEdit_->setText(QString::fromStdString(stored.user));
    passwordEdit_->setText(QString::fromStdString(stored.password));
    keyringCheck_->setChecked(stored.keyring);
    storedQuota_ = stored.quota;
    loading_ = false;
    publish();
}

SettingsValues SettingsForm::values() const {
    SettingsValues current;
    current.minimize = minimizeCheck_->isChecked();
    current.officeXp = officeXpCheck_->isChecked();
    current.sounds = soundsCheck_->isChecked();
    current.notifications = notificationsCheck_->isChecked();
    current.history = historyCheck_->isChecked();
    current.gateway = gatewayEdit_->currentText().toStdString();
    current.serverType = static_cast<ServerType>(serverTypeBox_->currentData().toInt());
    current.force = forceCheck_->isChecked();
    current.anonymous = anonymousCheck_->isChecked();
    current.user = userEdit_->text().toStdString();
    current.password = passwordEdit_->text().toStdString();
    current.keyring = keyringCheck_->isChecked();
    current.quota = storedQuota_;  // no control of its own: kept as the file has it
    return current;
}

void SettingsForm::publish() {
    if (!loading_) {
        live_.publish(values());
    }
}

void SettingsForm::anonymousCheckChange(bool anonymous) {
    for (QLineEdit* edit : {userEdit_, passwordEdit_}) {
        edit->setEnabled(!anonymous);
        paintBackground(edit, anonymous ? QPalette::Button : QPalette::Base);
    }
}

void SettingsForm::okButtonClick() {
    IniFile ini(iniPath_);
    bool saved = false;
    if (passwords_) {
        saved = passwords_->save(ini, values());
    } else {
        writeSettings(ini, values());
        saved = ini.flush();
    }
    if (!saved) {
        // The edits stay in the dialog so that the user can retry or cancel.
        errorBox_(this, QStringLiteral("Error"), IniFile::unableToWriteMessage(ini.path()));
        return;
    }
    if (reconnect_) {
        reconnect_();
    }
    accept();
}

void SettingsForm::takeKeyringPassword(const std::string& password) {
    if (!passwordEdit_->isModified()) {
        passwordEdit_->setText(QString::fromStdString(password));
    }
}

void SettingsForm::done(int result) {
    QDialog::done(result);
    formCreate();
}

void SettingsForm::keyPressEvent(QKeyEvent* event) {
    // Enter presses the button that has the focus and nothing else.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (auto* button = qobject_cast<QPushButton*>(focusWidget())) {
            button->click();
            return;
        }
    }
    QDialog::keyPressEvent(event);
}

}  // namespace tesk
