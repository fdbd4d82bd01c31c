#include "ui/AddUserForm.h"
#include "ui/DialogParts.h"
#include "ui/ScreenPlacement.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <utility>

namespace tesk {
namespace {

constexpr int kClientWidth = 332;
constexpr int kClientHeight = 120;

void showCritical(QWidget* parent, const QString& caption, const QString& text) {
    QMessageBox::critical(parent, caption, text);
}

}  // namespace

AddUserForm::AddUserForm(AddUser addUser, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      addUser_(std::move(addUser)),
      errorBox_(showCritical) {
    setObjectName(QStringLiteral("AddUserForm"));
    setWindowTitle(QStringLiteral("Add user"));
    setModal(true);
    setFixedSize(kClientWidth, kClientHeight);
    setFont(dialogFont());

    auto* userLabel = new QLabel(QStringLiteral("User:"), this);
    userLabel->setObjectName(QStringLiteral("UserLabel"));
    userLabel->move(16, 16);
    userLabel->resize(userLabel->sizeHint());

    userEdit_ = new QLineEdit(this);
    userEdit_->setObjectName(QStringLiteral("UserEdit"));
    userEdit_->setGeometry(56, 12, 260, 24);
    userLabel->setBuddy(userEdit_);

    auto* note = new QLabel(QStringLiteral("If you're adding a Warcraft III user, you must add "
                                           "@gateway_name suffix, e.g.: john@northrend"),
                            this);
    note->setObjectName(QStringLiteral("NoteLabel"));
    note->setTextFormat(Qt::PlainText);
    note->setWordWrap(true);
    note->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    note->setGeometry(16, 44, 300, 32);

    addShadowLine(this, "Separator", {16, 82, 300, 1});

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("OKButton"));
    ok->setGeometry(241, 89, 75, 25);
    // The only button is the default one, so Enter in the name field means OK.
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &AddUserForm::okButtonClick);

    setTabOrder(userEdit_, ok);

    keepLookThroughSwitches(this);
    // Centred on the screen, not over the window that opened it.
    placeOnHomeScreenWhenShown(this, Placement::Centre);
}

void AddUserForm::setErrorBox(ErrorBox errorBox) {
    errorBox_ = std::move(errorBox);
}

void AddUserForm::showEvent(QShowEvent* event) {
    userEdit_->clear();
    userEdit_->setFocus();
    QDialog::showEvent(event);
}

void AddUserForm::okButtonClick() {
    const QString name = userEdit_->text();
    if (name.isEmpty()) {
        errorBox_(this, QStringLiteral("Error"),
                  QStringLiteral("You haven't entered user's name!"));
        return;
    }
    addUser_(name.toStdString());
    accept();
}

}  // namespace tesk
