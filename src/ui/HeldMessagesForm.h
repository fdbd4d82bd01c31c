#pragma once

#include <QDialog>

class QListWidget;

namespace tesk {

class Conversations;

// The partners whose whispers are held, and a way to open their chat windows with the
// held text.
class HeldMessagesForm : public QDialog {
    Q_OBJECT
public:
    explicit HeldMessagesForm(Conversations& conversations, QWidget* parent = nullptr);

    // Lists the partners held now, then shows the dialog.
    void showHeld();
    // Opens the chat windows of the selected partners.
    void openSelected();

private:
    void refresh();

    Conversations& conversations_;
    QListWidget* partners_;
};

}  // namespace tesk
