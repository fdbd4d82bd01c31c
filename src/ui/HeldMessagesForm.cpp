#include "ui/HeldMessagesForm.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/Conversations.h"
#include "ui/DialogParts.h"
#include "ui/ScreenPlacement.h"
#include "watch/RemoteTextLimits.h"
#include "watch/ShownText.h"

namespace tesk {

HeldMessagesForm::HeldMessagesForm(Conversations& conversations, QWidget* parent)
    : QDialog(parent), conversations_(conversations), partners_(new QListWidget(this)) {
    setObjectName("HeldMessagesForm");
    setWindowTitle("Held messages");
    setFont(dialogFont());
    resize(260, 300);

    auto* label = new QLabel("Whispers from these users wait for their chat windows:", this);
    label->setWordWrap(true);
    partners_->setObjectName("HeldPartners");
    partners_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    connect(partners_, &QListWidget::itemActivated, this, &HeldMessagesForm::openSelected);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    QPushButton* open = buttons->addButton("Open", QDialogButtonBox::AcceptRole);
    open->setObjectName("OpenButton");
    connect(open, &QPushButton::clicked, this, &HeldMessagesForm::openSelected);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::hide);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(partners_, 1);
    layout->addWidget(buttons);

    keepLookThroughSwitches(this);
    placeOnHomeScreenWhenShown(this, Placement::Centre);
}

void HeldMessagesForm::showHeld() {
    refresh();
    show();
    raise();
    activateWindow();
}

void HeldMessagesForm::refresh() {
    partners_->clear();
    for (const std::string& name : conversations_.heldPartners()) {
        auto* item = new QListWidgetItem(shownText(name, RemoteTextLimits::kShownLineBytes));
        item->setData(Qt::UserRole, QByteArray::fromStdString(name));
        partners_->addItem(item);
    }
    if (partners_->count() > 0) {
        partners_->setCurrentRow(0);
    }
}

void HeldMessagesForm::openSelected() {
    const QList<QListWidgetItem*> selected = partners_->selectedItems();
    for (const QListWidgetItem* item : selected) {
        conversations_.openChat(item->data(Qt::UserRole).toByteArray().toStdString());
    }
    refresh();
    if (partners_->count() == 0) {
        hide();
    }
}

}  // namespace tesk
