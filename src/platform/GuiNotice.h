#pragma once

#include <atomic>
#include <functional>
#include <memory>

namespace tesk {

// Runs a procedure on the GUI thread after any thread has asked for it. Asks made while a
// run is on its way are merged into that run, so a burst of them costs one run, and an
// ask made once a run has begun brings another. Shared with the threads that ask: an ask
// that races its owner's end finds it cancelled rather than gone.
class GuiNotice : public std::enable_shared_from_this<GuiNotice> {
public:
    explicit GuiNotice(std::function<void()> procedure) : procedure_(std::move(procedure)) {}

    void ask();     // any thread
    void cancel();  // on the GUI thread; no run starts after it

private:
    const std::function<void()> procedure_;
    std::atomic<bool> onItsWay_{false};
    bool cancelled_ = false;  // GUI thread only
};

}  // namespace tesk
