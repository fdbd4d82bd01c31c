#include "ui/DialogParts.h"

#include <QFrame>
#include <QPalette>

namespace tesk {

QFont dialogFont() {
    QFont font;
    font.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("DejaVu Sans Condensed")});
    font.setPixelSize(13);
    return font;
}

QFrame* addShadowLine(QWidget* parent, const char* name, const QRect& geometry) {
    auto* line = new QFrame(parent);
    line->setObjectName(QLatin1String(name));
    line->setGeometry(geometry);
    line->setAutoFillBackground(true);
    QPalette palette = line->palette();
    palette.setColor(QPalette::Window, parent->palette().color(QPalette::Dark));
    line->setPalette(palette);
    return line;
}

}  // namespace tesk
