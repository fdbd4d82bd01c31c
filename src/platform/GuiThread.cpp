#include "platform/GuiThread.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QThread>

#include "platform/StopFlag.h"

namespace tesk::gui_thread {

namespace {

enum class CallState { Waiting, Running, Done, Abandoned };

struct Call {
    CallState state = CallState::Waiting;
};

}  // namespace

bool isCurrent() {
    const auto* app = QCoreApplication::instance();
    return app != nullptr && QThread::currentThread() == app->thread();
}

bool runAndWait(const std::function<void()>& procedure, const std::shared_ptr<StopFlag>& stop) {
    if (isCurrent()) {
        procedure();
        return true;
    }
    auto* app = QCoreApplication::instance();
    if (app == nullptr || stop->raised()) {
        return false;
    }
    auto call = std::make_shared<Call>();
    QMetaObject::invokeMethod(
        app,
        [call, stop, procedure] {
            {
                std::lock_guard<std::mutex> lock(stop->mutex);
                if (call->state == CallState::Abandoned) {
                    return;
                }
                call->state = CallState::Running;
            }
            procedure();
            {
                std::lock_guard<std::mutex> lock(stop->mutex);
                call->state = CallState::Done;
            }
            stop->cv.notify_all();
        },
        Qt::QueuedConnection);

    std::unique_lock<std::mutex> lock(stop->mutex);
    stop->cv.wait(lock, [&] { return call->state == CallState::Done || stop->raised(); });
    if (call->state == CallState::Done) {
        return true;
    }
    if (call->state == CallState::Waiting) {
        call->state = CallState::Abandoned;
    }
    return false;
}

void post(std::function<void()> procedure) {
    auto* app = QCoreApplication::instance();
    if (app != nullptr) {
        QMetaObject::invokeMethod(app, std::move(procedure), Qt::QueuedConnection);
    }
}

}  // namespace tesk::gui_thread
