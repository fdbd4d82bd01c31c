#include "ui/AboutForm.h"
#include "ui/DialogParts.h"

#include <QDesktopServices>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <utility>

#include "ui/ImageList.h"
#include "ui/ProjectInfo.h"
#include "ui/ScreenPlacement.h"

namespace tesk {
namespace {

constexpr int kClientWidth = 361;
constexpr int kClientHeight = 360;
constexpr int kBandHeight = 49;
constexpr int kValueColumn = 136;  // left edge of the two links

// A label sized to its text at (x, y).
QLabel* addLabel(QWidget* parent, const char* name, const QString& text, int x, int y,
                 bool bold = false) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setTextFormat(Qt::PlainText);
    if (bold) {
        QFont font = label->font();
        font.setBold(true);
        label->setFont(font);
    }
    label->move(x, y);
    label->resize(label->sizeHint());
    return label;
}

// A word-wrapped text block in a fixed box, aligned to its top.
QLabel* addTextBlock(QWidget* parent, const char* name, const QString& text, const QRect& box) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setGeometry(box);
    return label;
}

void setTextColor(QWidget* widget, const QColor& color) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, color);
    widget->setPalette(palette);
}

}  // namespace

AboutForm::AboutForm(QWidget* parent, UrlOpener opener)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      opener_(opener ? std::move(opener)
                     : UrlOpener([](const QUrl& url) { QDesktopServices::openUrl(url); })) {
    setObjectName(QStringLiteral("AboutForm"));
    setWindowTitle(QStringLiteral("About"));
    setModal(true);
    setFixedSize(kClientWidth, kClientHeight);
    setFont(dialogFont());

    // Top band with the icon, the name and the version in the window colour.
    auto* band = new QWidget(this);
    band->setObjectName(QStringLiteral("BackPanel"));
    band->setGeometry(0, 0, kClientWidth, kBandHeight);
    band->setAutoFillBackground(true);

    auto* icon = new QLabel(band);
    icon->setObjectName(QStringLiteral("IconImage"));
    icon->setGeometry(16, 8, 32, 32);
    icon->setPixmap(images::applicationIcon().pixmap(32, 32));

    QLabel* name = addLabel(band, "NameLabel", QLatin1String(project::kFullName), 64, 8, true);
    QLabel* version =
        addLabel(band, "VersionLabel",
                 QStringLiteral("version %1").arg(QLatin1String(project::kVersion)), 64, 24);

    addLabel(this, "CopyrightLabel", QLatin1String(project::kCopyright), 64, 64);
    addLabel(this, "RightsLabel", QLatin1String(project::kRights), 64, 80);

    addLabel(this, "EmailLabel", QStringLiteral("e-mail:"), 64, 104, true);
    emailLink_ =
        addLabel(this, "EmailLink", QLatin1String(project::kContactAddress), kValueColumn, 104);
    addLabel(this, "WebpageLabel", QStringLiteral("webpage:"), 64, 120, true);
    webpageLink_ =
        addLabel(this, "WebpageLink", QLatin1String(project::kHomePage), kValueColumn, 120);
    for (QLabel* link : {emailLink_, webpageLink_}) {
        link->setCursor(Qt::PointingHandCursor);
        link->installEventFilter(this);
    }

    addLabel(this, "ThanksLabel", QStringLiteral("thanks to:"), 64, 152, true);
    addTextBlock(this, "ThanksValueLabel", QLatin1String(project::kThanks), {80, 168, 262, 49});
    addLabel(this, "LicenseLabel", QStringLiteral("license:"), 64, 224, true);
    addTextBlock(this, "LicenseValueLabel", QLatin1String(project::kLicense), {80, 240, 265, 65});

    addShadowLine(this, "Separator", {64, 320, 289, 1});

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("OKButton"));
    ok->setGeometry(280, 328, 75, 25);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    // The band and the links take their colours from the dialog's palette.
    const auto paintColours = [this, band, name, version] {
        QPalette bandPalette = band->palette();
        bandPalette.setColor(QPalette::Window, palette().color(QPalette::Dark));
        band->setPalette(bandPalette);
        for (QLabel* label : {name, version}) {
            setTextColor(label, palette().color(QPalette::Window));
        }
        for (QLabel* link : {emailLink_, webpageLink_}) {
            setTextColor(link, palette().color(QPalette::Link));
        }
    };
    paintColours();
    keepLookThroughSwitches(this, paintColours);
    // Centred on the screen, not over the window that opened it.
    placeOnHomeScreenWhenShown(this, Placement::Centre);
}

bool AboutForm::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease &&
        (watched == emailLink_ || watched == webpageLink_)) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        auto* link = static_cast<QLabel*>(watched);
        // A release outside the link cancels the click, as with a button.
        if (mouse->button() == Qt::LeftButton &&
            link->rect().contains(mouse->position().toPoint())) {
            // The address is read from the shown text, so what is shown is what opens.
            const QString address =
                link == emailLink_ ? QStringLiteral("mailto:") + link->text() : link->text();
            opener_(QUrl(address));
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace tesk
