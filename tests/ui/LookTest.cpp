// The two looks of toolbars and menus: "Default" leaves the plain style, "OfficeXP"
// paints flat toolbars and menus with navy-framed light-blue hot items and an icon gutter.
#include <gtest/gtest.h>
#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QToolBar>
#include <QToolButton>
#include <functional>
#include <map>
#include <memory>

#include "settings/LiveSettings.h"
#include "ui/AboutForm.h"
#include "ui/AddUserForm.h"
#include "ui/ImageList.h"
#include "ui/Look.h"
#include "ui/SettingsForm.h"

namespace {

using namespace tesk;

const QColor kNavy(0x0a, 0x24, 0x6a);
const QColor kHotFill(0xc1, 0xd2, 0xee);
const QColor kGutter(0xdd, 0xe3, 0xed);
const QColor kToolbarFace(0xf1, 0xef, 0xe9);

class LookTest : public ::testing::Test {
protected:
    QApplication& app = *qApp;
    void TearDown() override { applyLook(app, false); }
};

// A shown menu with two items, the first one highlighted; returns its painted image.
QImage paintedMenu(QRect* firstItem) {
    QMenu menu;
    QAction* chat = menu.addAction(images::icon(images::kEnvelope), QStringLiteral("Chat"));
    menu.addSeparator();
    menu.addAction(QStringLiteral("Delete"));
    menu.popup(QPoint(100, 100));
    menu.setActiveAction(chat);
    *firstItem = menu.actionGeometry(chat);
    const QImage image = menu.grab().toImage();
    menu.hide();
    return image;
}

// A toolbar with a checked (hot-looking) button; returns its painted image.
QImage paintedToolbar(QRect* button) {
    QToolBar bar;
    QAction* action = bar.addAction(images::icon(images::kUser), QStringLiteral("User"));
    action->setCheckable(true);
    action->setChecked(true);
    bar.addAction(images::icon(images::kBin), QStringLiteral("Delete"));
    bar.resize(120, 30);
    bar.show();
    *button = bar.widgetForAction(action)->geometry();
    const QImage image = bar.grab().toImage();
    bar.hide();
    return image;
}

// ---- Names ----

TEST_F(LookTest, NamesOfTheTwoLooks) {
    EXPECT_STREQ(lookName(true), "OfficeXP");
    EXPECT_STREQ(lookName(false), "Default");
}

// ---- Switching ----

TEST_F(LookTest, OfficeXpSetsAStyleSheetAndDefaultRemovesIt) {
    ASSERT_TRUE(app.styleSheet().isEmpty());
    EXPECT_FALSE(isOfficeXpLook(app));
    applyLook(app, true);
    EXPECT_FALSE(app.styleSheet().isEmpty());
    EXPECT_TRUE(app.styleSheet().contains(QStringLiteral("QToolBar")));
    EXPECT_TRUE(app.styleSheet().contains(QStringLiteral("QMenu")));
    EXPECT_TRUE(isOfficeXpLook(app));
    applyLook(app, true);  // twice is the same as once
    EXPECT_TRUE(isOfficeXpLook(app));
    applyLook(app, false);
    EXPECT_TRUE(app.styleSheet().isEmpty());
    EXPECT_FALSE(isOfficeXpLook(app));
}

TEST_F(LookTest, AnotherStyleSheetIsNotTakenForOfficeXp) {
    app.setStyleSheet(QStringLiteral("QToolBar { border: none; }"));
    EXPECT_FALSE(isOfficeXpLook(app));
}

// ---- What is painted ----

TEST_F(LookTest, OfficeXpMenuHasAnIconGutterAndANavyFramedHotItem) {
    applyLook(app, true);
    QRect item;
    const QImage menu = paintedMenu(&item);
    ASSERT_FALSE(item.isEmpty());
    // Hot item: navy frame on its top edge, light-blue fill in its middle.
    EXPECT_EQ(menu.pixelColor(item.center().x(), item.top()), kNavy);
    EXPECT_EQ(menu.pixelColor(item.right() - 4, item.center().y()), kHotFill);
    // The other item shows the gutter at its left and the white menu face to its right.
    const int lastRow = menu.height() - 6;
    EXPECT_EQ(menu.pixelColor(item.left() + 4, lastRow), kGutter);
    EXPECT_EQ(menu.pixelColor(item.right() - 4, lastRow), QColor(0xfc, 0xfc, 0xfc));
    // The gutter runs unbroken past the separator down to the last item.
    for (int y = item.bottom() + 1; y <= lastRow; ++y) {
        ASSERT_EQ(menu.pixelColor(item.left() + 1, y), kGutter) << "row " << y;
    }
    // Icons sit in the gutter: the envelope covers part of it on the hot item's row.
    int iconPixels = 0;
    for (int x = item.left() + 1; x < item.left() + 24; ++x) {
        const QColor c = menu.pixelColor(x, item.center().y());
        iconPixels += c != kHotFill && c != kNavy;
    }
    EXPECT_GT(iconPixels, 8);
}

TEST_F(LookTest, DefaultMenuHasNoOfficeXpColours) {
    applyLook(app, true);
    applyLook(app, false);
    QRect item;
    const QImage menu = paintedMenu(&item);
    ASSERT_FALSE(item.isEmpty());
    EXPECT_NE(menu.pixelColor(item.center().x(), item.top()), kNavy);
    EXPECT_NE(menu.pixelColor(item.right() - 4, item.center().y()), kHotFill);
    EXPECT_NE(menu.pixelColor(item.left() + 4, menu.height() - 6), kGutter);
}

TEST_F(LookTest, OfficeXpToolbarIsFlatWithNavyFramedHotButtons) {
    applyLook(app, true);
    QRect button;
    const QImage bar = paintedToolbar(&button);
    ASSERT_FALSE(button.isEmpty());
    EXPECT_EQ(bar.pixelColor(bar.width() - 3, bar.height() / 2), kToolbarFace);
    EXPECT_EQ(bar.pixelColor(button.center().x(), button.top()), kNavy);
    EXPECT_EQ(bar.pixelColor(button.left() + 2, button.bottom() - 2), kHotFill);
}

TEST_F(LookTest, DefaultToolbarHasNoOfficeXpColours) {
    QRect button;
    const QImage bar = paintedToolbar(&button);
    ASSERT_FALSE(button.isEmpty());
    EXPECT_NE(bar.pixelColor(bar.width() - 3, bar.height() / 2), kToolbarFace);
    EXPECT_NE(bar.pixelColor(button.center().x(), button.top()), kNavy);
}

}  // namespace

// ---- A look switch while the program runs ----

struct ChildLook {
    QRect geometry;
    QFont font;
    QColor text;
    QColor background;  // only for parts that paint one
    bool operator==(const ChildLook& other) const {
        return geometry == other.geometry && font == other.font && text == other.text &&
               background == other.background;
    }
};

std::map<QString, ChildLook> childLooks(QWidget& dialog) {
    std::map<QString, ChildLook> looks;
    for (QWidget* child : dialog.findChildren<QWidget*>()) {
        if (!child->objectName().isEmpty() && !child->objectName().startsWith("qt_")) {
            looks[child->objectName()] = {
                child->geometry(), child->font(), child->palette().color(QPalette::WindowText),
                child->autoFillBackground() ? child->palette().color(QPalette::Window) : QColor()};
        }
    }
    return looks;
}

// Switching to the other look and back leaves every dialog as it is when the program
// starts with that look: label sizes, fonts and link colours included.
TEST_F(LookTest, EveryDialogLooksTheSameAfterASwitchAndBack) {
    LiveSettings live;
    const std::vector<std::pair<const char*, std::function<std::unique_ptr<QWidget>()>>> dialogs = {
        {"about", [] { return std::make_unique<AboutForm>(); }},
        {"settings", [&live] { return std::make_unique<SettingsForm>(live, QString()); }},
        {"add user", [] { return std::make_unique<AddUserForm>(AddUserForm::AddUser{}); }},
    };
    for (const bool officeXp : {false, true}) {
        for (const auto& [name, make] : dialogs) {
            applyLook(app, officeXp);
            const std::unique_ptr<QWidget> fresh = make();
            fresh->show();
            const auto expected = childLooks(*fresh);
            const std::unique_ptr<QWidget> switched = make();
            switched->show();
            applyLook(app, !officeXp);
            applyLook(app, officeXp);
            QCoreApplication::processEvents();
            EXPECT_TRUE(childLooks(*switched) == expected)
                << name << " in the " << lookName(officeXp) << " look";
            // Qt 6.4 leaves a dangling pointer behind when an editable combo box goes
            // while a style sheet is in use.
            applyLook(app, false);
        }
    }
}
