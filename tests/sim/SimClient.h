#pragma once

#include "GatewaySim.h"

#include <QByteArray>
#include <QList>
#include <QTcpSocket>

#include <memory>
#include <optional>
#include <ostream>

// Readable byte strings in test failure messages.
void PrintTo(const QByteArray& bytes, std::ostream* out);

namespace gatewaysim::test {

// A simulator on a free loopback port, already listening; null if it could not start.
std::unique_ptr<SimThread> startSim(Options options = {});

// A blocking client for the simulator: no event loop needed on the test's thread.
class SimClient {
public:
    bool connectTo(quint16 port);
    void send(const QByteArray& line);  // adds CR LF
    void sendRaw(const QByteArray& bytes);

    std::optional<QByteArray> readLine(int timeoutMs = 2000);  // without CR LF
    QList<QByteArray> readLines(int count, int timeoutMs = 2000);
    QByteArray readRaw(int size, int timeoutMs = 2000);
    bool silentFor(int ms);  // no byte arrives within ms
    bool closedByPeer(int timeoutMs = 2000);

    // Sends the login lines and returns the name from "2010 NAME", empty on failure. The
    // channel line that follows a successful login is read as well.
    QByteArray loginAnonymous();
    QByteArray login(const QByteArray& name, const QByteArray& password);
    // A PvPGN login: the chat class bytes, name and password at once. Reads the greeting,
    // the prompted lines and, after "2010 NAME", the channel and welcome lines as well.
    QByteArray loginPvpgn(const QByteArray& name, const QByteArray& password);

private:
    bool waitForBytes(int timeoutMs);
    QByteArray finishLogin();

    QTcpSocket socket_;
    QByteArray buffer_;
};

}  // namespace gatewaysim::test
