#include "CallPump.h"

namespace gatewaysim {

void CallPump::post(std::function<void()> call) {
    std::lock_guard lock(mutex_);
    enqueue(std::move(call));
}

void CallPump::runAndWait(std::function<void()> call) {
    std::unique_lock lock(mutex_);
    const quint64 ticket = enqueue(std::move(call));
    finished_.wait(lock, [&] { return finishedCount_ >= ticket; });
}

quint64 CallPump::enqueue(std::function<void()> call) {
    pending_.push_back(std::move(call));
    QMetaObject::invokeMethod(this, "runPending", Qt::QueuedConnection);
    return ++queuedCount_;
}

void CallPump::runPending() {
    std::unique_lock lock(mutex_);
    while (!pending_.empty()) {
        const std::function<void()> call = std::move(pending_.front());
        pending_.pop_front();
        lock.unlock();
        call();
        lock.lock();
        ++finishedCount_;
        finished_.notify_all();
    }
}

}  // namespace gatewaysim
