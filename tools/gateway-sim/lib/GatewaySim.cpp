#include "GatewaySim.h"

#include "GatewayReplies.h"

#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

namespace gatewaysim {

namespace {

// Bounds what one connection can make the socket buffer before the line cap applies.
constexpr qint64 kSocketReadBuffer = 64 * 1024;

// How a logged-on client appears to the others.
const QByteArray kClientProgram = "Chat";

QByteArray nameKey(const QByteArray& name) {
    return name.toLower();
}
QByteArray nameKey(const QString& name) {
    return name.toUtf8().toLower();
}

}  // namespace

GatewaySim::GatewaySim(Options options, QObject* parent)
    : QObject(parent),
      options_(std::move(options)),
      log_(std::make_shared<TrafficLog>()),
      server_(new QTcpServer(this)),
      timeline_(new QTimer(this)) {
    timeline_->setSingleShot(true);
    connect(server_, &QTcpServer::newConnection, this, &GatewaySim::acceptConnections);
    connect(timeline_, &QTimer::timeout, this, &GatewaySim::runDueSteps);
}

GatewaySim::~GatewaySim() {
    close();
}

bool GatewaySim::listen() {
    if (server_->listen(options_.address, options_.port)) {
        return true;
    }
    error_ = QString("cannot listen on %1 port %2: %3")
                 .arg(options_.address.toString())
                 .arg(options_.port)
                 .arg(server_->errorString());
    return false;
}

QString GatewaySim::errorString() const {
    return error_;
}

quint16 GatewaySim::port() const {
    return server_->serverPort();
}

void GatewaySim::close() {
    server_->close();
    timeline_->stop();
    dropAllConnections();
}

void GatewaySim::acceptConnections() {
    while (QTcpSocket* socket = server_->nextPendingConnection()) {
        const int id = log_->connectionOpened();
        socket->setReadBufferSize(kSocketReadBuffer);
        ClientSession& session =
            *sessions_
                 .emplace(id, std::make_unique<ClientSession>(id, socket, options_.maxLineBytes))
                 .first->second;
        session.flood.setLimit(options_.floodLines, options_.floodWindowMs);
        if (pvpgn()) {
            session.stage = ClientSession::Stage::AwaitClass;
        }
        connect(socket, &QTcpSocket::readyRead, this, [this, id] { readFrom(id); });
        connect(socket, &QTcpSocket::disconnected, this, [this, id] { forget(id); });

        const QByteArray peer = socket->peerAddress().toString().toUtf8();
        emit connectionOpened(id, QString::fromUtf8(peer));
        if (options_.silent) {
            continue;
        }
        if (options_.refuse) {
            // PvPGN drops a banned address without a word.
            if (!pvpgn()) {
                send(session, replies::connectionRefused(peer));
            }
            closeGracefully(session);
            continue;
        }
        if (socket->bytesAvailable() > 0) {
            readFrom(id);
        }
    }
}

void GatewaySim::readFrom(int id) {
    ClientSession* session = this->session(id);
    if (!session || session->gone) {
        return;
    }
    QByteArray bytes = session->socket->readAll();
    bool served = true;
    if (session->stage == ClientSession::Stage::AwaitClass && !bytes.isEmpty()) {
        served = takeConnectionClass(*session, bytes);
    }
    const QList<QByteArray> lines = session->splitter.feed(bytes);
    for (const QByteArray& line : lines) {
        log_->addLine(id, line);
        emit lineReceived(id, line);
        if (served && !options_.silent && session->canSend()) {
            handleLine(*session, line);
        }
    }
    // Only once the lines are recorded: a client that sees the close may look at once.
    if (!served && !options_.silent) {
        closeGracefully(*session);
    }
}

void GatewaySim::forget(int id) {
    ClientSession* session = this->session(id);
    if (!session || session->gone) {
        return;
    }
    session->gone = true;
    log_->connectionClosed();
    emit connectionClosed(id);
    // The session may be in use further up the stack (a close from inside a reply). Until
    // the removal runs, the socket stays a child of the server, which deletes it at the end.
    QMetaObject::invokeMethod(
        this,
        [this, id] {
            if (const auto found = sessions_.find(id); found != sessions_.end()) {
                found->second->socket->deleteLater();
                sessions_.erase(found);
            }
        },
        Qt::QueuedConnection);
}

ClientSession* GatewaySim::session(int id) const {
    const auto found = sessions_.find(id);
    return found == sessions_.end() ? nullptr : found->second.get();
}

void GatewaySim::send(ClientSession& session, const QByteArray& line) {
    if (options_.silent || !session.canSend()) {
        return;
    }
    session.socket->write(line + "\r\n");
    emit lineSent(session.id, line);
}

void GatewaySim::sendPrompt(ClientSession& session, const QByteArray& prompt) {
    if (options_.silent || !session.canSend()) {
        return;
    }
    session.socket->write(prompt);
    emit rawSent(session.id, prompt);
}

void GatewaySim::closeGracefully(ClientSession& session) {
    session.stage = ClientSession::Stage::Closing;
    session.socket->disconnectFromHost();  // sends what is queued first
}

QList<ClientSession*> GatewaySim::loggedInSessions() const {
    QList<ClientSession*> result;
    for (const auto& entry : sessions_) {
        if (entry.second->loggedIn()) {
            result.append(entry.second.get());
        }
    }
    return result;
}

ScriptedUser& GatewaySim::user(const QString& name) {
    ScriptedUser& user = users_[nameKey(name)];
    if (user.name.isEmpty()) {
        user.name = name.toUtf8();
    }
    return user;
}

std::optional<GatewaySim::Presence> GatewaySim::findOnline(const QByteArray& name) const {
    const QByteArray key = nameKey(name);
    for (ClientSession* session : loggedInSessions()) {
        if (nameKey(session->name) == key) {
            return Presence{
                session->name, kClientProgram, Place::channel(QString::fromUtf8(session->channel)),
                session->away, session->dnd,   {},
                session};
        }
    }
    const auto found = users_.constFind(key);
    if (found != users_.constEnd() && found->online) {
        return Presence{found->name, found->program,   found->place, found->away,
                        found->dnd,  found->autoReply, nullptr};
    }
    return std::nullopt;
}

QByteArray GatewaySim::uniqueName(const QByteArray& wanted) const {
    QByteArray name = wanted;
    for (int n = 2; findOnline(name); ++n) {
        name = wanted + '#' + QByteArray::number(n);
    }
    return name;
}

void GatewaySim::setSilent(bool on) {
    options_.silent = on;
}

void GatewaySim::setRefuse(bool on) {
    options_.refuse = on;
}

void GatewaySim::setFloodLimit(int lines, int windowMs) {
    options_.floodLines = lines;
    options_.floodWindowMs = windowMs;
    for (const auto& entry : sessions_) {
        entry.second->flood.setLimit(lines, windowMs);
    }
}

void GatewaySim::dropAllConnections() {
    QList<int> ids;
    for (const auto& entry : sessions_) {
        ids.append(entry.first);
    }
    for (const int id : ids) {
        if (ClientSession* session = this->session(id); session && !session->gone) {
            session->socket->abort();
            forget(id);  // in case abort() did not report the disconnection itself
        }
    }
}

void GatewaySim::sendRawToAll(const QByteArray& bytes) {
    for (const auto& entry : sessions_) {
        if (!entry.second->gone) {
            entry.second->socket->write(bytes);
            emit rawSent(entry.first, bytes);
        }
    }
}

void GatewaySim::setUserOnline(const QString& name, const QString& program, const Place& place) {
    if (name.isEmpty()) {
        return;
    }
    ScriptedUser& user = this->user(name);
    const bool entered = !user.online;
    user.online = true;
    user.program = program.toUtf8();
    user.place = place;
    if (entered) {
        tellFriends(replies::friendEntered(user.name));
    }
}

void GatewaySim::setUserOffline(const QString& name) {
    const auto found = users_.find(nameKey(name));
    if (found != users_.end()) {
        const bool left = found->online;
        found->online = false;
        found->away.clear();
        found->dnd.clear();
        if (left) {
            tellFriends(replies::friendLeft(found->name));
        }
    }
}

// Every scripted user counts as a friend of every client.
void GatewaySim::tellFriends(const QByteArray& notice) {
    if (pvpgn()) {
        for (ClientSession* session : loggedInSessions()) {
            send(*session, notice);
        }
    }
}

void GatewaySim::setUserPlace(const QString& name, const Place& place) {
    if (!name.isEmpty()) {
        user(name).place = place;
    }
}

void GatewaySim::setAway(const QString& name, const QString& message) {
    if (!name.isEmpty()) {
        user(name).away = message.toUtf8();
    }
}

void GatewaySim::setDnd(const QString& name, const QString& message) {
    if (!name.isEmpty()) {
        user(name).dnd = message.toUtf8();
    }
}

void GatewaySim::setAutoReply(const QString& name, const QString& text) {
    if (!name.isEmpty()) {
        user(name).autoReply = text.toUtf8();
    }
}

void GatewaySim::whisperToAll(const QString& from, const QString& text) {
    const QByteArray line =
        replies::whisperReceived(options_.dialect, from.toUtf8(), text.toUtf8());
    for (ClientSession* session : loggedInSessions()) {
        send(*session, line);
    }
}

void GatewaySim::whisperTo(const QString& account, const QString& from, const QString& text) {
    const QByteArray key = nameKey(account);
    const QByteArray line =
        replies::whisperReceived(options_.dialect, from.toUtf8(), text.toUtf8());
    for (ClientSession* session : loggedInSessions()) {
        if (nameKey(session->name) == key) {
            send(*session, line);
        }
    }
}

bool GatewaySim::loadScenario(const QString& path, QString* error) {
    const std::optional<Scenario> scenario = Scenario::load(path, error);
    if (scenario) {
        playScenario(*scenario);
    }
    return scenario.has_value();
}

}  // namespace gatewaysim
