#include "ui/ScreenPlacement.h"

#include <QApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QMainWindow>
#include <QScreen>
#include <QWidget>

namespace tesk {
namespace {

const QWidget* mainWindow() {
    for (const QWidget* top : QApplication::topLevelWidgets()) {
        if (qobject_cast<const QMainWindow*>(top)) {
            return top;
        }
    }
    return nullptr;
}

// The window's frame: before the first show the window manager has not told its size
// yet, so the main window's frame margins stand in for it.
QRect expectedFrame(const QWidget* window) {
    if (window->frameGeometry() != window->geometry()) {
        return window->frameGeometry();
    }
    QMargins margins;
    if (const QWidget* main = mainWindow(); main != nullptr && main->isVisible()) {
        const QRect frame = main->frameGeometry();
        const QRect inner = main->geometry();
        margins = {inner.left() - frame.left(), inner.top() - frame.top(),
                   frame.right() - inner.right(), frame.bottom() - inner.bottom()};
    }
    return window->geometry().marginsAdded(margins);
}

class PlaceWhenShown : public QObject {
public:
    PlaceWhenShown(QWidget* window, Placement placement) : QObject(window), placement_(placement) {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show) {
            auto* window = static_cast<QWidget*>(watched);
            if (const QScreen* screen = homeScreen()) {
                const QRect frame = expectedFrame(window);
                window->move(placedFrame(frame, screen->availableGeometry(), placement_).topLeft());
            }
            if (placement_ == Placement::Keep) {
                window->removeEventFilter(this);
                deleteLater();
            }
        }
        return false;
    }

private:
    const Placement placement_;
};

}  // namespace

QRect placedFrame(const QRect& frame, const QRect& freeArea, Placement placement) {
    QRect placed = frame;
    if (placement == Placement::Centre) {
        placed.moveCenter(freeArea.center());
    }
    // Right and bottom first, so that for a frame larger than the area the top left wins.
    if (placed.right() > freeArea.right()) {
        placed.moveRight(freeArea.right());
    }
    if (placed.bottom() > freeArea.bottom()) {
        placed.moveBottom(freeArea.bottom());
    }
    if (placed.left() < freeArea.left()) {
        placed.moveLeft(freeArea.left());
    }
    if (placed.top() < freeArea.top()) {
        placed.moveTop(freeArea.top());
    }
    return placed;
}

QScreen* homeScreen() {
    if (const QWidget* main = mainWindow()) {
        if (QScreen* screen = QGuiApplication::screenAt(main->frameGeometry().center())) {
            return screen;
        }
    }
    return QGuiApplication::primaryScreen();
}

void placeOnHomeScreenWhenShown(QWidget* window, Placement placement) {
    new PlaceWhenShown(window, placement);
}

}  // namespace tesk
