#pragma once

#include <QObject>
#include <QTimer>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>

namespace tesk {

// A one-shot timer whose ticks arrive on the GUI thread and that any thread may arm or
// disarm. Arming an armed timer leaves its countdown running: it fires `interval` after
// the first arm since it was last disarmed or fired. The armed state changes at once on
// the calling thread, so a disarm is never undone by an older arm still on its way to
// the GUI thread. Create it on the GUI thread.
class GuiTimer : public QObject {
    Q_OBJECT
public:
    GuiTimer(std::chrono::milliseconds interval, std::function<void()> onTick);
    ~GuiTimer() override;  // on the GUI thread

    void arm();
    void disarm();
    bool isArmed() const;

private:
    void startIfCurrent(std::uint64_t epoch);
    void stopIfCurrent(std::uint64_t epoch);
    void fire();

    QTimer timer_;
    std::function<void()> onTick_;
    mutable std::mutex mutex_;
    bool armed_ = false;
    std::uint64_t epoch_ = 0;         // changes on every arm and disarm
    std::uint64_t startedEpoch_ = 0;  // the arm that the running countdown belongs to
    // Read and cleared on the GUI thread only: a start or stop still on its way there when
    // the timer goes finds it gone.
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace tesk
