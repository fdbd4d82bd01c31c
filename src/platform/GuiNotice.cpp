#include "platform/GuiNotice.h"

#include "platform/GuiThread.h"

namespace tesk {

void GuiNotice::ask() {
    if (onItsWay_.exchange(true)) {
        return;
    }
    gui_thread::post([notice = shared_from_this()] {
        // Cleared before the run: whatever changes while it runs asks again.
        notice->onItsWay_ = false;
        if (!notice->cancelled_) {
            notice->procedure_();
        }
    });
}

void GuiNotice::cancel() {
    TESK_ASSERT_GUI_THREAD();
    cancelled_ = true;
}

}  // namespace tesk
