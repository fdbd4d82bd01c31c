#include "ui/DialogParts.h"

#include <QEvent>
#include <QFrame>
#include <QPalette>
#include <QPointer>
#include <utility>
#include <vector>

namespace tesk {
namespace {

// The fonts of a dialog and its parts as it was built, set again after each look switch,
// followed by the dialog's own colours.
class LookKeeper : public QObject {
public:
    LookKeeper(QWidget* dialog, std::function<void()> paintColours)
        : QObject(dialog), paintColours_(std::move(paintColours)) {
        fonts_.push_back({dialog, dialog->font()});
        for (QWidget* part : dialog->findChildren<QWidget*>()) {
            // Qt's own inner parts of a control follow the control.
            if (!part->objectName().startsWith("qt_")) {
                fonts_.push_back({part, part->font()});
            }
        }
        dialog->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* /*watched*/, QEvent* event) override {
        if (event->type() == QEvent::StyleChange) {
            // Once the switch has repolished every widget, in whatever order it does.
            QMetaObject::invokeMethod(this, &LookKeeper::restore, Qt::QueuedConnection);
        }
        return false;
    }

private:
    void restore() {
        for (const auto& [widget, font] : fonts_) {
            if (widget) {
                widget->setFont(font);
            }
        }
        if (paintColours_) {
            paintColours_();
        }
    }

    std::vector<std::pair<QPointer<QWidget>, QFont>> fonts_;
    std::function<void()> paintColours_;
};

}  // namespace

QFont dialogFont() {
    QFont font;
    font.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("DejaVu Sans Condensed")});
    font.setPixelSize(13);
    return font;
}

void keepLookThroughSwitches(QWidget* dialog, std::function<void()> paintColours) {
    new LookKeeper(dialog, std::move(paintColours));
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
