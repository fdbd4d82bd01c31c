#pragma once

#include "FloodGuard.h"
#include "LineSplitter.h"
#include "SimTypes.h"

#include <QByteArray>

class QTcpSocket;

namespace gatewaysim {

// One client connection and what the simulator knows about its user.
struct ClientSession {
    // A classic login starts at AwaitC, a PvPGN login at AwaitClass (its first byte).
    enum class Stage { AwaitClass, AwaitC, AwaitName, AwaitPassword, LoggedIn, Closing };

    ClientSession(int id, QTcpSocket* socket, int maxLineBytes)
        : id(id), socket(socket), splitter(maxLineBytes) {}

    bool canSend() const { return !gone && stage != Stage::Closing; }
    bool loggedIn() const { return !gone && stage == Stage::LoggedIn; }

    const int id;
    QTcpSocket* const socket;
    LineSplitter splitter;
    FloodGuard flood;
    Stage stage = Stage::AwaitC;
    bool gone = false;   // the socket has disconnected; the session is about to be removed
    QByteArray account;  // the name line, kept while the password line is awaited
    QByteArray name;     // the name given at login
    QByteArray channel;
    QByteArray away;  // away message; empty = not away
    QByteArray dnd;   // do-not-disturb message; empty = off
};

// A simulated user driven by a scenario or by a test.
struct ScriptedUser {
    QByteArray name;
    bool online = false;
    QByteArray program;
    Place place;
    QByteArray away;       // empty = not away
    QByteArray dnd;        // empty = off
    QByteArray autoReply;  // answer to every whisper; empty = none
};

}  // namespace gatewaysim
