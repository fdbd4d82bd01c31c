#pragma once

#include <QObject>
#include <functional>
#include <map>

class QWidget;

namespace tesk {

// Gives keys of a widget to handlers before the widget sees them (Enter, Esc, Delete in
// lists and one-line edits). Keys without a handler go on as usual.
class KeyHandler : public QObject {
public:
    KeyHandler(QWidget* widget, std::map<int, std::function<void()>> handlers);
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::map<int, std::function<void()>> handlers_;
};

}  // namespace tesk
