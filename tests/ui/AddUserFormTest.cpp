// The add-user dialog: its frame and controls, an empty and focused name field on every
// showing, OK and Enter that hand over the name exactly as typed, Esc and the close box
// that add nothing, and the refusal of an empty name.
#include <gtest/gtest.h>
#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <string>
#include <vector>

#include "ui/AddUserForm.h"

namespace {

using namespace tesk;

struct Message {
    QString caption;
    QString text;
};

class AddUserFormTest : public ::testing::Test {
protected:
    AddUserFormTest() {
        form.setErrorBox([this](QWidget* parent, const QString& caption, const QString& text) {
            EXPECT_EQ(parent, &form);
            errors.push_back({caption, text});
        });
    }

    std::vector<std::string> added;
    std::vector<Message> errors;
    AddUserForm form{[this](const std::string& name) { added.push_back(name); }};

    template <typename T>
    T* child(const char* name) {
        T* widget = form.findChild<T*>(QLatin1String(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    QLineEdit* userEdit() { return child<QLineEdit>("UserEdit"); }
    QPushButton* okButton() { return child<QPushButton>("OKButton"); }

    void open() {
        form.show();
        form.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    }
};

// ---- Frame and controls ----

TEST_F(AddUserFormTest, FrameIsAFixedSizeModalDialogCalledAddUser) {
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Add user"));
    EXPECT_TRUE(form.isModal());
    EXPECT_EQ(form.size(), QSize(332, 120));
    EXPECT_EQ(form.minimumSize(), QSize(332, 120));
    EXPECT_EQ(form.maximumSize(), QSize(332, 120));
    EXPECT_TRUE(form.windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(form.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_EQ(form.font().pixelSize(), 13);
    EXPECT_FALSE(form.isVisible());
}

TEST_F(AddUserFormTest, ControlsShowTheirTextsInsideTheClientArea) {
    EXPECT_EQ(child<QLabel>("UserLabel")->text(), QStringLiteral("User:"));
    auto* note = child<QLabel>("NoteLabel");
    EXPECT_EQ(note->text(), QStringLiteral("If you're adding a Warcraft III user, you must add "
                                           "@gateway_name suffix, e.g.: john@northrend"));
    EXPECT_TRUE(note->wordWrap());
    // The wrapped note must not be cut off at the bottom.
    EXPECT_LE(note->heightForWidth(note->width()), note->height());
    EXPECT_EQ(okButton()->text(), QStringLiteral("OK"));
    for (QWidget* widget : form.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        EXPECT_TRUE(form.rect().contains(widget->geometry())) << widget->objectName().toStdString();
    }
    // The labels sit left of the field and above the button, without overlapping them.
    EXPECT_FALSE(child<QLabel>("UserLabel")->geometry().intersects(userEdit()->geometry()));
    EXPECT_FALSE(note->geometry().intersects(okButton()->geometry()));
    EXPECT_FALSE(note->geometry().intersects(userEdit()->geometry()));
}

TEST_F(AddUserFormTest, OnlyButtonIsOkAndSeparatorIsAShadowLine) {
    const auto buttons = form.findChildren<QPushButton*>();
    ASSERT_EQ(buttons.size(), 1);
    EXPECT_EQ(buttons.front(), okButton());
    auto* separator = child<QFrame>("Separator");
    EXPECT_EQ(separator->height(), 1);
    EXPECT_GT(separator->width(), 200);
    const QImage image = separator->grab().toImage();
    EXPECT_EQ(image.pixelColor(separator->width() / 2, 0).rgb(),
              form.palette().color(QPalette::Dark).rgb());
    EXPECT_LT(separator->y(), okButton()->y());
}

TEST_F(AddUserFormTest, ShowsCentredOnTheDesktop) {
    open();
    const QRect desktop = form.screen()->availableGeometry();
    EXPECT_LE((form.frameGeometry().center() - desktop.center()).manhattanLength(), 2);
}

// ---- Showing ----

TEST_F(AddUserFormTest, EveryShowingEmptiesAndFocusesTheNameField) {
    open();
    EXPECT_EQ(QApplication::focusWidget(), userEdit());
    QTest::keyClicks(userEdit(), QStringLiteral("alice"));
    okButton()->click();
    ASSERT_FALSE(form.isVisible());

    open();
    EXPECT_TRUE(userEdit()->text().isEmpty());
    EXPECT_EQ(QApplication::focusWidget(), userEdit());

    // Text left behind by Esc is gone as well, and the focus is back even after it moved.
    QTest::keyClicks(userEdit(), QStringLiteral("bob"));
    okButton()->setFocus();
    QTest::keyClick(okButton(), Qt::Key_Escape);
    ASSERT_FALSE(form.isVisible());
    open();
    EXPECT_TRUE(userEdit()->text().isEmpty());
    EXPECT_EQ(QApplication::focusWidget(), userEdit());
    EXPECT_EQ(added, std::vector<std::string>{"alice"});
}

// ---- OK and Enter ----

TEST_F(AddUserFormTest, OkHandsOverTheNameExactlyAsTypedAndCloses) {
    open();
    QTest::keyClicks(userEdit(), QStringLiteral(" John@Northrend "));
    QTest::mouseClick(okButton(), Qt::LeftButton);
    EXPECT_EQ(added, std::vector<std::string>{" John@Northrend "});
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_TRUE(errors.empty());
}

TEST_F(AddUserFormTest, OneSpaceIsAName) {
    open();
    QTest::keyClick(userEdit(), Qt::Key_Space);
    okButton()->click();
    EXPECT_EQ(added, std::vector<std::string>{" "});
    EXPECT_FALSE(form.isVisible());
}

TEST_F(AddUserFormTest, SameNameTwiceIsAddedTwice) {
    for (int i = 0; i < 2; ++i) {
        open();
        QTest::keyClicks(userEdit(), QStringLiteral("alice"));
        okButton()->click();
    }
    EXPECT_EQ(added, (std::vector<std::string>{"alice", "alice"}));
}

TEST_F(AddUserFormTest, EnterInTheNameFieldIsOk) {
    open();
    QTest::keyClicks(userEdit(), QStringLiteral("bob"));
    QTest::keyClick(userEdit(), Qt::Key_Return);
    EXPECT_EQ(added, std::vector<std::string>{"bob"});
    EXPECT_FALSE(form.isVisible());

    open();
    QTest::keyClicks(userEdit(), QStringLiteral("carol"));
    QTest::keyClick(userEdit(), Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(added, (std::vector<std::string>{"bob", "carol"}));
}

TEST_F(AddUserFormTest, EmptyNameIsRefusedAndTheDialogStaysOpenWithItsFieldEmpty) {
    open();
    okButton()->click();
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].caption, QStringLiteral("Error"));
    EXPECT_EQ(errors[0].text, QStringLiteral("You haven't entered user's name!"));
    EXPECT_TRUE(form.isVisible());
    EXPECT_TRUE(userEdit()->text().isEmpty());
    EXPECT_TRUE(added.empty());

    // Enter on the empty field is refused the same way; then a name still goes through.
    QTest::keyClick(userEdit(), Qt::Key_Return);
    EXPECT_EQ(errors.size(), 2u);
    EXPECT_TRUE(form.isVisible());
    QTest::keyClicks(userEdit(), QStringLiteral("dave"));
    okButton()->click();
    EXPECT_EQ(added, std::vector<std::string>{"dave"});
}

TEST_F(AddUserFormTest, EmptyNameByDefaultShowsACriticalMessageBox) {
    AddUserForm plain([this](const std::string& name) { added.push_back(name); });
    plain.show();
    QString caption;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        caption = box->windowTitle();
        text = box->text();
        icon = box->icon();
        box->accept();
    });
    plain.findChild<QPushButton*>(QStringLiteral("OKButton"))->click();
    EXPECT_EQ(caption, QStringLiteral("Error"));
    EXPECT_EQ(text, QStringLiteral("You haven't entered user's name!"));
    EXPECT_EQ(icon, QMessageBox::Critical);
    EXPECT_TRUE(plain.isVisible());
    EXPECT_TRUE(added.empty());
}

// ---- Leaving without adding ----

TEST_F(AddUserFormTest, EscClosesWithoutAdding) {
    open();
    QTest::keyClicks(userEdit(), QStringLiteral("eve"));
    QTest::keyClick(userEdit(), Qt::Key_Escape);
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(form.result(), QDialog::Rejected);
    EXPECT_TRUE(added.empty());
    EXPECT_TRUE(errors.empty());
}

TEST_F(AddUserFormTest, CloseBoxClosesWithoutAdding) {
    open();
    QTest::keyClicks(userEdit(), QStringLiteral("eve"));
    EXPECT_TRUE(form.close());
    EXPECT_FALSE(form.isVisible());
    EXPECT_TRUE(added.empty());
}

}  // namespace
