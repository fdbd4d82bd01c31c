#pragma once

#include <QByteArray>
#include <QHostAddress>
#include <QMap>
#include <QString>

namespace gatewaysim {

// Where an online user is, as a whois reply describes it.
struct Place {
    enum class Kind { Channel, Game, PrivateGame, PasswordGame, PrivateChannel };

    Kind kind = Kind::Channel;
    QString name;  // channel or game name; unused by the private kinds

    static Place channel(const QString& name) { return {Kind::Channel, name}; }
    static Place game(const QString& name) { return {Kind::Game, name}; }
    static Place privateGame() { return {Kind::PrivateGame, {}}; }
    static Place passwordGame(const QString& name) { return {Kind::PasswordGame, name}; }
    static Place privateChannel() { return {Kind::PrivateChannel, {}}; }
};

// The server whose chat gateway the simulator plays: the classic gateway, or PvPGN with
// its own login, no command echo and its own wording of replies.
enum class Dialect { Classic, Pvpgn };

struct Options {
    QHostAddress address = QHostAddress::LocalHost;
    quint16 port = 6112;              // 0 picks a free port (see GatewaySim::port())
    QMap<QString, QString> accounts;  // name -> password; empty accepts any name and password
    bool anonymousAllowed = true;
    Dialect dialect = Dialect::Classic;
    // Classic: more lines than this within floodWindowMs floods. PvPGN: the quota in units
    // of quotaBytesPerUnit bytes (a line costs at least one). 0 = off.
    int floodLines = 0;
    int floodWindowMs = 5000;
    int quotaBytesPerUnit = 40;
    bool emptyInfoAfterWhois =
        false;  // PvPGN: 1018 INFO "" after each whois answer, as some builds send
    bool refuse = false;           // refuse every connection right after accepting it
    bool silent = false;           // read everything, answer nothing
    int maxLineBytes = 64 * 1024;  // longer received lines are cut here
};

// One line received from a client, without its CR LF.
struct ReceivedLine {
    int connection = 0;  // 1, 2, 3... in order of accept
    qint64 ms = 0;       // since the simulator was created
    QByteArray line;
};

}  // namespace gatewaysim
