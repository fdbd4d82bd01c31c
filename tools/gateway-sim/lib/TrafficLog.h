#pragma once

#include "SimTypes.h"

#include <QElapsedTimer>
#include <QList>
#include <QMutex>
#include <QVector>

namespace gatewaysim {

// What the simulator has received and accepted so far. Written by the simulator's thread,
// read from any thread; it outlives the simulator so tests can look at it after a stop.
class TrafficLog {
public:
    TrafficLog();

    qint64 elapsedMs() const;

    int connectionOpened();  // returns the new connection's number
    void connectionClosed();
    void addLine(int connection, const QByteArray& line);

    QVector<ReceivedLine> received() const;
    QList<QByteArray> receivedLines(int connection = 0) const;  // 0 = all connections
    int connectionCount() const;
    int openConnections() const;

private:
    mutable QMutex mutex_;
    QElapsedTimer clock_;
    QVector<ReceivedLine> lines_;
    int accepted_ = 0;
    int open_ = 0;
};

}  // namespace gatewaysim
