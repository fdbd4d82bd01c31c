// The about box: every control in its place with its text, the application's icon, links
// that hand their shown address to the opener and leave the box open, OK that closes it;
// and the project texts shared with the first-run welcome message.
#include <gtest/gtest.h>
#include <QApplication>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QUrl>
#include <vector>

#include "ui/AboutForm.h"
#include "ui/ImageList.h"
#include "ui/ProjectInfo.h"

namespace {

using namespace tesk;

QString text(const char* s) {
    return QString::fromLatin1(s);
}

// Left-button press and release at the widget's centre, or at `at` when given.
void click(QWidget* widget, QPoint at = QPoint(-1, -1), Qt::MouseButton button = Qt::LeftButton) {
    const QPoint press = widget->rect().center();
    const QPoint release = at == QPoint(-1, -1) ? press : at;
    QMouseEvent down(QEvent::MouseButtonPress, press, widget->mapToGlobal(press), button, button,
                     Qt::NoModifier);
    QApplication::sendEvent(widget, &down);
    QMouseEvent up(QEvent::MouseButtonRelease, release, widget->mapToGlobal(release), button,
                   Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &up);
}

class AboutFormTest : public ::testing::Test {
protected:
    std::vector<QUrl> opened;
    AboutForm form{nullptr, [this](const QUrl& url) { opened.push_back(url); }};

    template <typename T = QLabel>
    T* child(const char* name) {
        T* widget = form.findChild<T*>(QLatin1String(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
};

// ---- Frame and controls ----

TEST_F(AboutFormTest, FrameIsAFixedSizeModalDialogCalledAbout) {
    EXPECT_EQ(form.windowTitle(), QStringLiteral("About"));
    EXPECT_TRUE(form.isModal());
    EXPECT_EQ(form.size(), QSize(361, 360));
    EXPECT_EQ(form.minimumSize(), QSize(361, 360));
    EXPECT_EQ(form.maximumSize(), QSize(361, 360));
    EXPECT_TRUE(form.windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(form.windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(form.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_EQ(form.font().pixelSize(), 13);
    EXPECT_FALSE(form.isVisible());
}

TEST_F(AboutFormTest, LabelsShowTheirTextsAtTheirPlaces) {
    struct Row {
        const char* name;
        QString text;
        QPoint place;
        bool bold;
    };
    const std::vector<Row> rows = {
        {"NameLabel", QStringLiteral("TESK"), {64, 8}, true},
        {"VersionLabel", QStringLiteral("version ") + text(TESK_VERSION), {64, 24}, false},
        {"CopyrightLabel", text(project::kCopyright), {64, 64}, false},
        {"RightsLabel", text(project::kRights), {64, 80}, false},
        {"EmailLabel", QStringLiteral("e-mail:"), {64, 104}, true},
        {"EmailLink", QStringLiteral("tesk@example.org"), {136, 104}, false},
        {"WebpageLabel", QStringLiteral("webpage:"), {64, 120}, true},
        {"WebpageLink", QStringLiteral("https://tesk.example.org/"), {136, 120}, false},
        {"ThanksLabel", QStringLiteral("thanks to:"), {64, 152}, true},
        {"ThanksValueLabel", text(project::kThanks), {80, 168}, false},
        {"LicenseLabel", QStringLiteral("license:"), {64, 224}, true},
        {"LicenseValueLabel", QString(project::kLicense), {80, 240}, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        QLabel* label = child(row.name);
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->text(), row.text);
        EXPECT_EQ(label->mapTo(&form, QPoint(0, 0)), row.place);
        EXPECT_EQ(label->font().bold(), row.bold);
        // The whole text fits: nothing is cut off at the right.
        EXPECT_LE(label->mapTo(&form, QPoint(label->width(), 0)).x(), 361);
        if (!label->wordWrap()) {
            EXPECT_GE(label->width(), label->sizeHint().width());
        }
    }
}

TEST_F(AboutFormTest, CaptionsEndBeforeTheLinksBesideThem) {
    for (const char* name : {"EmailLabel", "WebpageLabel"}) {
        QLabel* caption = child(name);
        ASSERT_NE(caption, nullptr);
        // A gap of a few pixels keeps "webpage:" from running into the address.
        EXPECT_LE(caption->geometry().right(), 136 - 4) << name;
        EXPECT_GE(caption->width(), caption->sizeHint().width()) << name;
    }
}

TEST_F(AboutFormTest, BoxesButtonAndSeparatorHaveTheirGeometry) {
    EXPECT_EQ(child<QWidget>("BackPanel")->geometry(), QRect(0, 0, 361, 49));
    EXPECT_EQ(child("IconImage")->geometry(), QRect(16, 8, 32, 32));
    EXPECT_EQ(child("ThanksValueLabel")->geometry(), QRect(80, 168, 262, 49));
    EXPECT_EQ(child("LicenseValueLabel")->geometry(), QRect(80, 240, 265, 65));
    EXPECT_EQ(child<QFrame>("Separator")->geometry(), QRect(64, 320, 289, 1));
    auto* ok = child<QPushButton>("OKButton");
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->geometry(), QRect(280, 328, 75, 25));
    EXPECT_EQ(ok->text(), QStringLiteral("OK"));
}

TEST_F(AboutFormTest, TextBlocksWrapAndTheAcknowledgementsFitTheirBox) {
    QLabel* thanks = child("ThanksValueLabel");
    ASSERT_NE(thanks, nullptr);
    EXPECT_TRUE(thanks->wordWrap());
    EXPECT_TRUE(child("LicenseValueLabel")->wordWrap());
    EXPECT_LE(thanks->heightForWidth(thanks->width()), thanks->height());
}

TEST_F(AboutFormTest, TopBandUsesTheDarkColourAndItsLabelsTheWindowColour) {
    const QPalette palette = form.palette();
    auto* band = child<QWidget>("BackPanel");
    ASSERT_NE(band, nullptr);
    EXPECT_TRUE(band->autoFillBackground());
    EXPECT_EQ(band->palette().color(QPalette::Window), palette.color(QPalette::Dark));
    for (const char* name : {"NameLabel", "VersionLabel", "IconImage"}) {
        EXPECT_EQ(child(name)->parentWidget(), band) << name;
    }
    for (const char* name : {"NameLabel", "VersionLabel"}) {
        EXPECT_EQ(child(name)->palette().color(QPalette::WindowText),
                  palette.color(QPalette::Window))
            << name;
    }
    // The painted band really has that colour (right end, clear of the texts).
    const QImage shot = form.grab().toImage();
    EXPECT_EQ(shot.pixelColor(355, 25).rgb(), palette.color(QPalette::Dark).rgb());
    EXPECT_NE(shot.pixelColor(355, 55).rgb(), palette.color(QPalette::Dark).rgb());
}

TEST_F(AboutFormTest, IconIsTheApplicationIcon) {
    QLabel* icon = child("IconImage");
    ASSERT_NE(icon, nullptr);
    const QPixmap shown = icon->pixmap();
    ASSERT_FALSE(shown.isNull());
    EXPECT_EQ(
        shown.toImage().convertToFormat(QImage::Format_ARGB32),
        images::applicationIcon().pixmap(32, 32).toImage().convertToFormat(QImage::Format_ARGB32));
}

// ---- Links ----

TEST_F(AboutFormTest, LinksLookLikeLinks) {
    for (const char* name : {"EmailLink", "WebpageLink"}) {
        SCOPED_TRACE(name);
        QLabel* link = child(name);
        ASSERT_NE(link, nullptr);
        EXPECT_EQ(link->cursor().shape(), Qt::PointingHandCursor);
        EXPECT_EQ(link->palette().color(QPalette::WindowText),
                  form.palette().color(QPalette::Link));
    }
    EXPECT_NE(child("EmailLabel")->cursor().shape(), Qt::PointingHandCursor);
}

TEST_F(AboutFormTest, EmailLinkOpensAMailToTheContactAddressAndStaysOpen) {
    form.show();
    click(child("EmailLink"));
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], QUrl(QStringLiteral("mailto:tesk@example.org")));
    EXPECT_EQ(opened[0].scheme(), QStringLiteral("mailto"));
    EXPECT_TRUE(form.isVisible());
}

TEST_F(AboutFormTest, WebpageLinkOpensTheHomePageAndStaysOpen) {
    form.show();
    click(child("WebpageLink"));
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], QUrl(QStringLiteral("https://tesk.example.org/")));
    EXPECT_TRUE(form.isVisible());
}

TEST_F(AboutFormTest, AddressIsReadFromTheLinkTextAtClickTime) {
    child("WebpageLink")->setText(QStringLiteral("https://mirror.example.net/tesk"));
    child("EmailLink")->setText(QStringLiteral("help@example.net"));
    click(child("WebpageLink"));
    click(child("EmailLink"));
    ASSERT_EQ(opened.size(), 2u);
    EXPECT_EQ(opened[0], QUrl(QStringLiteral("https://mirror.example.net/tesk")));
    EXPECT_EQ(opened[1], QUrl(QStringLiteral("mailto:help@example.net")));
}

TEST_F(AboutFormTest, OnlyACompletedLeftClickOnALinkOpensIt) {
    QLabel* link = child("WebpageLink");
    ASSERT_NE(link, nullptr);
    click(link, QPoint(-5, -5));  // released outside
    click(link, link->rect().center(), Qt::RightButton);
    click(child("EmailLabel"));  // the caption beside a link
    click(child("WebpageLabel"));
    EXPECT_TRUE(opened.empty());
}

// ---- Showing and closing ----

TEST_F(AboutFormTest, ExecIsModalAndOkClosesWithLinksLeavingItOpen) {
    bool wasModal = false;
    bool openAfterLinks = false;
    QTimer::singleShot(0, &form, [&] {
        wasModal = QApplication::activeModalWidget() == &form;
        click(child("EmailLink"));
        click(child("WebpageLink"));
        openAfterLinks = form.isVisible();
        child<QPushButton>("OKButton")->click();
    });
    // Safety net so a broken OK button fails the test instead of hanging it.
    QTimer::singleShot(3000, &form, &QDialog::reject);
    EXPECT_EQ(form.exec(), QDialog::Accepted);
    EXPECT_TRUE(wasModal);
    EXPECT_TRUE(openAfterLinks);
    EXPECT_EQ(opened.size(), 2u);
    EXPECT_FALSE(form.isVisible());
}

TEST_F(AboutFormTest, ClosingHidesAndTheBoxCanBeShownAgain) {
    EXPECT_FALSE(form.testAttribute(Qt::WA_DeleteOnClose));
    form.show();
    EXPECT_TRUE(form.close());
    EXPECT_FALSE(form.isVisible());
    form.show();
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(child<QPushButton>("OKButton")->text(), QStringLiteral("OK"));
}

TEST(AboutFormPlacement, ShownCentredOnTheDesktopNotOverItsParent) {
    QWidget owner;
    owner.setGeometry(0, 0, 200, 150);
    owner.show();
    AboutForm form(&owner, [](const QUrl&) {});
    form.show();
    const QPoint centre = form.screen()->availableGeometry().center();
    EXPECT_LE((form.frameGeometry().center() - centre).manhattanLength(), 2);
}

// ---- Project texts ----

TEST(ProjectTexts, AddressesBelongToTheProject) {
    EXPECT_STREQ(project::kFullName, "TESK");
    EXPECT_STREQ(project::kVersion, TESK_VERSION);
    EXPECT_STREQ(project::kContactAddress, "tesk@example.org");
    EXPECT_STREQ(project::kHomePage, "https://tesk.example.org/");
    EXPECT_TRUE(QUrl(text(project::kHomePage)).isValid());
    // Rights belong to the project's developers as a group.
    EXPECT_TRUE(text(project::kCopyright).contains(QStringLiteral("TESK developers")));
}

TEST(ProjectTexts, WelcomeMessageHasItsNineLines) {
    const QStringList lines = project::welcomeMessage().split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 9);
    EXPECT_EQ(lines[0], QStringLiteral("Welcome!"));
    EXPECT_EQ(lines[1], QString());
    EXPECT_EQ(lines[2], QStringLiteral("You are running TESK for the first time so you may"));
    EXPECT_EQ(lines[3], QStringLiteral("want to set some settings."));
    EXPECT_EQ(lines[4], QStringLiteral("It is higly advisable to set your own user name"));
    EXPECT_EQ(lines[5], QStringLiteral("and password for chat option to be available."));
    EXPECT_EQ(lines[6], QString());
    EXPECT_EQ(lines[8], QStringLiteral("Enjoy!"));
}

TEST(ProjectTexts, WelcomeInvitesMailToTheAboutBoxAddress) {
    const QString line = project::welcomeMessage().split(QLatin1Char('\n')).value(7);
    AboutForm form(nullptr, [](const QUrl&) {});
    auto* link = form.findChild<QLabel*>(QStringLiteral("EmailLink"));
    ASSERT_NE(link, nullptr);
    EXPECT_TRUE(line.contains(link->text()));
    EXPECT_TRUE(line.contains(QStringLiteral("tesk@example.org")));
    EXPECT_TRUE(line.contains(QStringLiteral("comments")));
    EXPECT_TRUE(line.endsWith(QLatin1Char('.')));
    EXPECT_FALSE(line.endsWith(QStringLiteral("..")));
}

}  // namespace
