#include "TrafficLog.h"

namespace gatewaysim {

TrafficLog::TrafficLog() {
    clock_.start();
}

qint64 TrafficLog::elapsedMs() const {
    return clock_.elapsed();
}

int TrafficLog::connectionOpened() {
    QMutexLocker lock(&mutex_);
    ++open_;
    return ++accepted_;
}

void TrafficLog::connectionClosed() {
    QMutexLocker lock(&mutex_);
    --open_;
}

void TrafficLog::addLine(int connection, const QByteArray& line) {
    QMutexLocker lock(&mutex_);
    lines_.append({connection, clock_.elapsed(), line});
}

QVector<ReceivedLine> TrafficLog::received() const {
    QMutexLocker lock(&mutex_);
    return lines_;
}

QList<QByteArray> TrafficLog::receivedLines(int connection) const {
    QMutexLocker lock(&mutex_);
    QList<QByteArray> result;
    for (const ReceivedLine& received : lines_) {
        if (connection == 0 || received.connection == connection) {
            result.append(received.line);
        }
    }
    return result;
}

int TrafficLog::connectionCount() const {
    QMutexLocker lock(&mutex_);
    return accepted_;
}

int TrafficLog::openConnections() const {
    QMutexLocker lock(&mutex_);
    return open_;
}

}  // namespace gatewaysim
