#include "ui/TeskStyle.h"

#include <algorithm>

namespace tesk {

int TeskStyle::pixelMetric(PixelMetric metric, const QStyleOption* option,
                           const QWidget* widget) const {
    const int base = QProxyStyle::pixelMetric(metric, option, widget);
    if (metric == PM_ToolBarItemMargin || metric == PM_ToolBarFrameWidth) {
        return std::min(base, 1);
    }
    return base;
}

}  // namespace tesk
