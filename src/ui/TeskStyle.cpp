#include "ui/TeskStyle.h"

#include <QPainter>
#include <QPainterPath>
#include <QWidget>
#include <algorithm>

namespace tesk {
namespace {

// Two chevrons pointing right, or down, in the text colour.
QIcon extensionArrows(bool down, const QColor& colour) {
    QPixmap picture(16, 16);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    if (down) {
        painter.translate(16, 0);
        painter.rotate(90);
    }
    QPainterPath arrows;
    for (const qreal x : {4.5, 8.5}) {
        arrows.moveTo(x, 4.5);
        arrows.lineTo(x + 3, 8);
        arrows.lineTo(x, 11.5);
    }
    painter.setPen(QPen(colour, 1.5));
    painter.drawPath(arrows);
    painter.end();
    return QIcon(picture.copy());  // without the paint engine the picture would keep
}

}  // namespace

int TeskStyle::pixelMetric(PixelMetric metric, const QStyleOption* option,
                           const QWidget* widget) const {
    const int base = QProxyStyle::pixelMetric(metric, option, widget);
    if (metric == PM_ToolBarItemMargin || metric == PM_ToolBarFrameWidth) {
        return std::min(base, 1);
    }
    return base;
}

QIcon TeskStyle::standardIcon(StandardPixmap icon, const QStyleOption* option,
                              const QWidget* widget) const {
    if (icon == SP_ToolBarHorizontalExtensionButton || icon == SP_ToolBarVerticalExtensionButton) {
        const QPalette palette = widget != nullptr ? widget->palette() : standardPalette();
        return extensionArrows(icon == SP_ToolBarVerticalExtensionButton,
                               palette.color(QPalette::ButtonText));
    }
    return QProxyStyle::standardIcon(icon, option, widget);
}

}  // namespace tesk
