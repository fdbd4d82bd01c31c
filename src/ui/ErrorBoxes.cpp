#include "ui/ErrorBoxes.h"

#include <algorithm>

#include "platform/GuiThread.h"

namespace tesk {

void ErrorBoxes::show(const QString& caption, const QString& text) {
    TESK_ASSERT_GUI_THREAD();
    const Error error{caption, text};
    if ((open_ && error == shown_) ||
        std::find(waiting_.begin(), waiting_.end(), error) != waiting_.end()) {
        return;
    }
    waiting_.push_back(error);
    // A box already open (this call may come from within its event loop) shows the
    // waiting ones once it closes.
    if (!open_) {
        showWaiting();
    }
}

void ErrorBoxes::release() {
    held_ = false;
    if (!open_) {
        showWaiting();
    }
}

void ErrorBoxes::showWaiting() {
    while (!held_ && !waiting_.empty()) {
        shown_ = waiting_.front();
        waiting_.pop_front();
        open_ = true;
        box_(shown_.caption, shown_.text);
        open_ = false;
    }
}

}  // namespace tesk
