#include "GatewaySim.h"

#include "CallPump.h"

#include <QEventLoop>

#include <pthread.h>
#include <time.h>
#include <future>

namespace gatewaysim {

SimThread::SimThread(Options options) {
    std::promise<void> ready;
    thread_ = std::thread([this, &ready, options = std::move(options)] {
        QEventLoop loop;  // gives this thread its event dispatcher
        GatewaySim sim(options);
        CallPump pump;
        loop_ = &loop;
        sim_ = &sim;
        pump_ = &pump;
        log_ = sim.log();
        ready.set_value();
        loop.exec();
    });
    ready.get_future().wait();
    nativeThread_ = thread_.native_handle();
}

SimThread::~SimThread() {
    stop();
}

template <typename Call>
void SimThread::onSimThread(Call&& call) const {
    if (std::this_thread::get_id() == thread_.get_id()) {
        call();  // from a slot of the simulator itself: waiting for its thread would deadlock
        return;
    }
    QMutexLocker lock(&mutex_);
    if (!stopped_) {
        pump_->runAndWait(std::forward<Call>(call));
    }
}

bool SimThread::start() {
    bool listening = false;
    onSimThread([&] {
        listening = sim_->listen();
        port_ = sim_->port();
        error_ = sim_->errorString();
    });
    QMutexLocker lock(&mutex_);
    if (stopped_) {
        error_ = "the simulator has been stopped";
    }
    return listening;
}

QString SimThread::errorString() const {
    QMutexLocker lock(&mutex_);
    return error_;
}

quint16 SimThread::port() const {
    QMutexLocker lock(&mutex_);
    return port_;
}

double SimThread::cpuSeconds() const {
    QMutexLocker lock(&mutex_);
    clockid_t clock{};
    timespec used{};
    if (stopped_ || pthread_getcpuclockid(nativeThread_, &clock) != 0 ||
        clock_gettime(clock, &used) != 0) {
        return 0.0;
    }
    return static_cast<double>(used.tv_sec) + static_cast<double>(used.tv_nsec) / 1e9;
}

void SimThread::stop() {
    if (std::this_thread::get_id() == thread_.get_id()) {
        return;  // the thread cannot join itself; the owner stops it
    }
    QMutexLocker lock(&mutex_);
    if (stopped_) {
        return;
    }
    pump_->post([this] { loop_->quit(); });  // no waiting: the pump dies with the loop
    stopped_ = true;
    thread_.join();  // the simulator is destroyed on its thread as the loop returns
}

QVector<ReceivedLine> SimThread::received() const {
    return log_->received();
}

QList<QByteArray> SimThread::receivedLines(int connection) const {
    return log_->receivedLines(connection);
}

int SimThread::connectionCount() const {
    return log_->connectionCount();
}

int SimThread::openConnections() const {
    return log_->openConnections();
}

void SimThread::setSilent(bool on) {
    onSimThread([this, on] { sim_->setSilent(on); });
}

void SimThread::dropAllConnections() {
    onSimThread([this] { sim_->dropAllConnections(); });
}

void SimThread::sendRawToAll(QByteArray bytes) {
    onSimThread([this, &bytes] { sim_->sendRawToAll(bytes); });
}

void SimThread::setRefuse(bool on) {
    onSimThread([this, on] { sim_->setRefuse(on); });
}

void SimThread::setFloodLimit(int lines, int windowMs) {
    onSimThread([this, lines, windowMs] { sim_->setFloodLimit(lines, windowMs); });
}

void SimThread::setUserOnline(QString name, QString program, Place place) {
    onSimThread([&] { sim_->setUserOnline(name, program, place); });
}

void SimThread::setUserOffline(QString name) {
    onSimThread([&] { sim_->setUserOffline(name); });
}

void SimThread::setUserPlace(QString name, Place place) {
    onSimThread([&] { sim_->setUserPlace(name, place); });
}

void SimThread::setAway(QString name, QString message) {
    onSimThread([&] { sim_->setAway(name, message); });
}

void SimThread::setDnd(QString name, QString message) {
    onSimThread([&] { sim_->setDnd(name, message); });
}

void SimThread::setAutoReply(QString name, QString text) {
    onSimThread([&] { sim_->setAutoReply(name, text); });
}

void SimThread::whisperToAll(QString from, QString text) {
    onSimThread([&] { sim_->whisperToAll(from, text); });
}

void SimThread::whisperTo(QString account, QString from, QString text) {
    onSimThread([&] { sim_->whisperTo(account, from, text); });
}

bool SimThread::loadScenario(QString path, QString* error) {
    const std::optional<Scenario> scenario = Scenario::load(path, error);
    if (!scenario) {
        return false;
    }
    bool played = false;
    onSimThread([&] {
        sim_->playScenario(*scenario);
        played = true;
    });
    if (!played && error) {
        *error = "the simulator has been stopped";
    }
    return played;
}

}  // namespace gatewaysim
