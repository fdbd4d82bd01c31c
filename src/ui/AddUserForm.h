#pragma once

#include <QDialog>
#include <QString>
#include <functional>
#include <string>

class QLineEdit;

namespace tesk {

// The dialog that asks for the name of a user to watch. Created once and reused: every
// showing starts with an empty, focused name field. OK (or Enter) hands the name over
// exactly as typed and closes; Esc or the close box leave without adding. An empty name
// is refused with an error message and the dialog stays open.
class AddUserForm : public QDialog {
    Q_OBJECT
public:
    using AddUser = std::function<void(const std::string& name)>;
    using ErrorBox =
        std::function<void(QWidget* parent, const QString& caption, const QString& text)>;

    explicit AddUserForm(AddUser addUser, QWidget* parent = nullptr);

    // Replaces the modal critical message box that refuses an empty name.
    void setErrorBox(ErrorBox errorBox);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void okButtonClick();

    AddUser addUser_;
    ErrorBox errorBox_;
    QLineEdit* userEdit_;
};

}  // namespace tesk
