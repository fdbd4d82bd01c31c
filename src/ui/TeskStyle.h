#pragma once

#include <QProxyStyle>

namespace tesk {

// The program's widget style: the desktop's own, with toolbars framed a little tighter,
// so that the narrow main window's status button shows its longest caption,
// "Connecting...", without widening the window. The arrows of a toolbar too narrow for
// its buttons are drawn here: the desktop style loads them from image files, and finding
// the reader for those loads every image format plugin as each toolbar is made.
class TeskStyle : public QProxyStyle {
public:
    int pixelMetric(PixelMetric metric, const QStyleOption* option = nullptr,
                    const QWidget* widget = nullptr) const override;
    QIcon standardIcon(StandardPixmap icon, const QStyleOption* option = nullptr,
                       const QWidget* widget = nullptr) const override;
};

}  // namespace tesk
