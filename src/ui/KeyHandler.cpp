#include "ui/KeyHandler.h"

#include <QKeyEvent>
#include <QWidget>

namespace tesk {

KeyHandler::KeyHandler(QWidget* widget, std::map<int, std::function<void()>> handlers)
    : QObject(widget), handlers_(std::move(handlers)) {
    widget->installEventFilter(this);
}

bool KeyHandler::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const auto found = handlers_.find(static_cast<QKeyEvent*>(event)->key());
        if (found != handlers_.end()) {
            found->second();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace tesk
