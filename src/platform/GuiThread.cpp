#include "platform/GuiThread.h"

#include <QCoreApplication>
#include <QEvent>
#include <QThread>

#include <deque>
#include <mutex>

#include "platform/StopFlag.h"

namespace tesk::gui_thread {

namespace {

// Procedures travel through a queue of our own under a std::mutex; Qt's event only wakes
// the GUI thread to drain it. So every hand-over is ordered by a lock that both sides take,
// which also lets ThreadSanitizer see it (Qt's own locks are invisible to it).
class Handover : public QObject {
public:
    static Handover& instance() {
        static Handover* handover = [] {
            auto* created = new Handover;  // lives as long as the process
            created->moveToThread(QCoreApplication::instance()->thread());
            return created;
        }();
        return *handover;
    }

    void post(std::function<void()> procedure) {
        std::lock_guard<std::mutex> lock(mutex_);
        const bool wake = pending_.empty();
        pending_.push_back(std::move(procedure));
        if (wake) {
            wakeUp();
        }
    }

protected:
    bool event(QEvent* event) override {
        // The lock comes first: the event itself was made on the posting thread.
        std::unique_lock<std::mutex> lock(mutex_);
        if (event->type() != kDrain) {
            lock.unlock();
            return QObject::event(event);
        }
        if (pending_.empty()) {
            return true;
        }
        // One procedure per event, and the next event is posted before it runs: a procedure
        // may open a dialog, whose nested event loop then goes on with the rest.
        std::function<void()> procedure = std::move(pending_.front());
        pending_.pop_front();
        if (!pending_.empty()) {
            wakeUp();
        }
        lock.unlock();
        procedure();
        return true;
    }

private:
    static constexpr QEvent::Type kDrain = QEvent::User;

    void wakeUp() {  // with the mutex held
        QCoreApplication::postEvent(this, new QEvent(kDrain));
    }

    std::mutex mutex_;
    std::deque<std::function<void()>> pending_;
};

// Made on the GUI thread as the application starts rather than by the first worker that
// hands something over: the GUI thread would otherwise first meet the object through
// Qt's event queue, whose lock ThreadSanitizer cannot see; workers meet it through the
// guard of instance(), which it sees.
void makeHandover() {
    Handover::instance();
}
Q_COREAPP_STARTUP_FUNCTION(makeHandover)

enum class CallState { Waiting, Running, Done, Abandoned };

struct Call {
    CallState state = CallState::Waiting;
};

}  // namespace

bool isCurrent() {
    const auto* app = QCoreApplication::instance();
    return app != nullptr && QThread::currentThread() == app->thread();
}

bool mayTouchGui() {
    return QCoreApplication::instance() == nullptr || isCurrent();
}

bool runAndWait(const std::function<void()>& procedure, const std::shared_ptr<StopFlag>& stop) {
    if (isCurrent()) {
        procedure();
        return true;
    }
    if (QCoreApplication::instance() == nullptr || stop->raised()) {
        return false;
    }
    auto call = std::make_shared<Call>();
    Handover::instance().post([call, stop, procedure] {
        const bool abandoned = stop->withLock([&] {
            if (call->state == CallState::Abandoned) {
                return true;
            }
            call->state = CallState::Running;
            return false;
        });
        if (abandoned) {
            return;
        }
        procedure();
        stop->change([&] { call->state = CallState::Done; });
    });

    stop->waitUntil([&] { return call->state == CallState::Done; });
    // Decided under the lock: a procedure that has not started by now never will.
    return stop->withLock([&] {
        if (call->state == CallState::Waiting) {
            call->state = CallState::Abandoned;
        }
        return call->state == CallState::Done;
    });
}

void post(std::function<void()> procedure) {
    if (QCoreApplication::instance() != nullptr) {
        Handover::instance().post(std::move(procedure));
    }
}

}  // namespace tesk::gui_thread
