#pragma once

#include <QString>
#include <deque>
#include <functional>

namespace tesk {

// One error box at a time. An error that comes while a box is open, or while boxes are
// held back (the first-run welcome and settings dialog are up), waits and is shown after;
// an error already open or waiting is not shown again.
class ErrorBoxes {
public:
    // Shows a box and returns when the user has closed it.
    using Box = std::function<void(const QString& caption, const QString& text)>;

    explicit ErrorBoxes(Box box) : box_(std::move(box)) {}

    void show(const QString& caption, const QString& text);
    void hold() { held_ = true; }
    void release();

private:
    struct Error {
        QString caption;
        QString text;
        bool operator==(const Error& other) const {
            return caption == other.caption && text == other.text;
        }
    };
    void showWaiting();

    Box box_;
    bool held_ = false;
    bool open_ = false;
    Error shown_;
    std::deque<Error> waiting_;
};

}  // namespace tesk
