#pragma once

#include <QProxyStyle>

namespace tesk {

// The program's widget style: the desktop's own, with toolbars framed a little tighter,
// so that the narrow main window's status button shows its longest caption,
// "Connecting...", without widening the window.
class TeskStyle : public QProxyStyle {
public:
    int pixelMetric(PixelMetric metric, const QStyleOption* option = nullptr,
                    const QWidget* widget = nullptr) const override;
};

}  // namespace tesk
