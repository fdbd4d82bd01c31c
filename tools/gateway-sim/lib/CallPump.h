#pragma once

#include <QObject>

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>

namespace gatewaysim {

// Runs calls from other threads on the thread this object lives on, and waits for them.
// Unlike a blocking queued Qt call, the hand-over is a standard mutex and condition
// variable, which ThreadSanitizer can follow without an instrumented Qt; the queued wake-up
// carries no data of ours.
class CallPump : public QObject {
    Q_OBJECT

public:
    // Runs `call` soon on the pump's thread. Only the call itself touches the pump after
    // this returns, so it may end the pump's life (quit the loop that owns it).
    void post(std::function<void()> call);

    // Runs `call` and waits for it. Not on the pump's own thread, whose event loop must run.
    void runAndWait(std::function<void()> call);

private:
    quint64 enqueue(std::function<void()> call);  // with mutex_ held; returns the ticket
    Q_INVOKABLE void runPending();

    std::mutex mutex_;
    std::condition_variable finished_;
    std::deque<std::function<void()>> pending_;
    quint64 queuedCount_ = 0;
    quint64 finishedCount_ = 0;
};

}  // namespace gatewaysim
