#include "platform/GuiTimer.h"

#include "platform/GuiThread.h"

namespace tesk {

GuiTimer::GuiTimer(std::chrono::milliseconds interval, std::function<void()> onTick)
    : onTick_(std::move(onTick)) {
    TESK_ASSERT_GUI_THREAD();  // the QTimer belongs to the thread that makes it
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    timer_.setInterval(interval);
    connect(&timer_, &QTimer::timeout, this, &GuiTimer::fire);
}

GuiTimer::~GuiTimer() {
    TESK_ASSERT_GUI_THREAD();
    *alive_ = false;
}

void GuiTimer::arm() {
    std::uint64_t epoch = 0;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (armed_) {
            return;
        }
        armed_ = true;
        epoch = ++epoch_;
    }
    if (gui_thread::isCurrent()) {
        startIfCurrent(epoch);
    } else {
        gui_thread::post([this, alive = alive_, epoch] {
            if (*alive) {
                startIfCurrent(epoch);
            }
        });
    }
}

void GuiTimer::disarm() {
    std::uint64_t epoch = 0;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!armed_) {
            return;
        }
        armed_ = false;
        epoch = ++epoch_;
    }
    if (gui_thread::isCurrent()) {
        stopIfCurrent(epoch);
    } else {
        gui_thread::post([this, alive = alive_, epoch] {
            if (*alive) {
                stopIfCurrent(epoch);
            }
        });
    }
}

bool GuiTimer::isArmed() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return armed_;
}

void GuiTimer::startIfCurrent(std::uint64_t epoch) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (armed_ && epoch == epoch_) {
        startedEpoch_ = epoch;
        timer_.start();
    }
}

void GuiTimer::stopIfCurrent(std::uint64_t epoch) {
    // A newer arm owns the countdown now; leave it running.
    std::lock_guard<std::mutex> lock(mutex_);
    if (epoch == epoch_) {
        timer_.stop();
    }
}

void GuiTimer::fire() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!armed_ || startedEpoch_ != epoch_) {
            return;  // disarmed, or re-armed, from another thread while this countdown ran
        }
        armed_ = false;
        ++epoch_;
    }
    onTick_();
}

}  // namespace tesk
