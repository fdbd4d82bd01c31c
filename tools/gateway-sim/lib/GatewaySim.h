#pragma once

#include "ClientSession.h"
#include "Scenario.h"
#include "SimTypes.h"
#include "TrafficLog.h"

#include <QList>
#include <QMap>
#include <QMutex>
#include <QObject>
#include <QVector>

#include <pthread.h>
#include <map>
#include <memory>
#include <optional>
#include <thread>

class QEventLoop;
class QTcpServer;
class QTimer;

namespace gatewaysim {

class CallPump;

// A chat gateway on a loopback TCP port: the login exchange, command echo, whois, away and
// do-not-disturb, whispers, stats and join, a flood rule, refusal, fault knobs for tests and
// scripted users; as the classic gateway or as PvPGN (Options::dialect). Event driven; every
// member must be called on the object's own thread (SimThread runs one on a thread of its own
// and is safe to call from anywhere). The traffic log is the exception: it is thread-safe.
class GatewaySim : public QObject {
    Q_OBJECT

public:
    explicit GatewaySim(Options options, QObject* parent = nullptr);
    ~GatewaySim() override;

    bool listen();  // false on failure, with errorString() telling why
    QString errorString() const;
    quint16 port() const;  // the port listened on, also when the options asked for port 0
    void close();          // stops listening and drops every connection

    std::shared_ptr<TrafficLog> log() const { return log_; }

    // Fault knobs.
    void setSilent(bool on);  // read and record everything, send nothing, act on nothing
    void setRefuse(bool on);
    void setFloodLimit(int lines, int windowMs);  // lines <= 0 switches the rule off
    void dropAllConnections();
    void sendRawToAll(const QByteArray& bytes);  // exactly these bytes, to every connection

    // Scripted users; names match in any letter case.
    void setUserOnline(const QString& name, const QString& program, const Place& place);
    void setUserOffline(const QString& name);  // also ends away and do-not-disturb
    void setUserPlace(const QString& name, const Place& place);
    void setAway(const QString& name, const QString& message);  // empty message = off
    void setDnd(const QString& name, const QString& message);   // empty message = off
    void setAutoReply(const QString& name, const QString& text);
    void whisperToAll(const QString& from, const QString& text);  // every logged-on client
    void whisperTo(const QString& account, const QString& from, const QString& text);

    bool loadScenario(const QString& path, QString* error);
    void playScenario(const Scenario& scenario);  // replaces a running timeline

signals:
    void connectionOpened(int connection, const QString& peer);
    void connectionClosed(int connection);
    void lineReceived(int connection, const QByteArray& line);
    void lineSent(int connection, const QByteArray& line);
    void rawSent(int connection, const QByteArray& bytes);
    void scenarioStep(const QString& step);

private:
    // A user as seen by whois and whisper: a logged-on client or an online scripted user.
    struct Presence {
        QByteArray name;
        QByteArray program;
        Place place;
        QByteArray away;
        QByteArray dnd;
        QByteArray autoReply;
        ClientSession* session = nullptr;  // null for scripted users
    };

    void acceptConnections();
    void readFrom(int id);
    void forget(int id);
    ClientSession* session(int id) const;
    void send(ClientSession& session, const QByteArray& line);
    void sendPrompt(ClientSession& session, const QByteArray& prompt);  // without a line end
    void closeGracefully(ClientSession& session);
    QList<ClientSession*> loggedInSessions() const;
    void tellFriends(const QByteArray& notice);  // PvPGN's notice of a scripted user
    ScriptedUser& user(const QString& name);
    std::optional<Presence> findOnline(const QByteArray& name) const;
    QByteArray uniqueName(const QByteArray& wanted) const;

    // Protocol, in GatewayCommands.cpp.
    bool pvpgn() const { return options_.dialect == Dialect::Pvpgn; }
    // PvPGN: takes the connection class off the first bytes of a connection and greets a
    // chat client; false for any other class, which is dropped without a word.
    bool takeConnectionClass(ClientSession& session, QByteArray& bytes);
    void handleLine(ClientSession& session, const QByteArray& line);
    void pvpgnLine(ClientSession& session, const QByteArray& line, bool isCommand);
    void handleLogin(ClientSession& session, const QByteArray& line);
    void pvpgnPassword(ClientSession& session, const QByteArray& password);
    bool knownAccount(const QByteArray& name) const;
    std::optional<QByteArray> checkAccount(const QByteArray& name,
                                           const QByteArray& password) const;
    void acceptLogin(ClientSession& session, const QByteArray& name);
    void rejectLogin(ClientSession& session);
    void handleCommand(ClientSession& session, const QByteArray& line);
    void whois(ClientSession& session, const QByteArray& args);
    void whisper(ClientSession& session, const QByteArray& args);
    void toggleAway(ClientSession& session, const QByteArray& args);
    void toggleDnd(ClientSession& session, const QByteArray& args);
    void stats(ClientSession& session, const QByteArray& args);
    void join(ClientSession& session, const QByteArray& args);

    // Scenario timeline, in GatewayTimeline.cpp.
    void runDueSteps();
    void scheduleNextStep();
    void restartTimeline();
    void applyStep(const ScenarioEvent& step);

    Options options_;
    std::shared_ptr<TrafficLog> log_;
    QTcpServer* server_;
    QString error_;
    std::map<int, std::unique_ptr<ClientSession>> sessions_;
    QMap<QByteArray, ScriptedUser> users_;  // key: lower-case name

    Scenario scenario_;
    QTimer* timeline_;
    qint64 cycleStartMs_ = 0;  // log clock time at which the current timeline cycle began
    int nextStep_ = 0;
};

// Runs a GatewaySim with an event loop on a thread of its own, so tests need not pump events
// for it. Every member is safe to call from any thread; the calls that change the simulator
// return once the change is made. The thread starts with the object; start() only begins
// listening. After stop() the changes do nothing and the record of received lines stays
// readable.
class SimThread {
public:
    explicit SimThread(Options options);
    ~SimThread();
    SimThread(const SimThread&) = delete;
    SimThread& operator=(const SimThread&) = delete;

    bool start();  // blocks until listening; false on failure, see errorString()
    QString errorString() const;
    quint16 port() const;
    void stop();  // joins the thread

    QVector<ReceivedLine> received() const;
    QList<QByteArray> receivedLines(int connection = 0) const;  // 0 = all connections
    int connectionCount() const;
    int openConnections() const;

    void setSilent(bool on);
    void dropAllConnections();
    void sendRawToAll(QByteArray bytes);
    void setRefuse(bool on);
    void setFloodLimit(int lines, int windowMs);

    void setUserOnline(QString name, QString program, Place place);
    void setUserOffline(QString name);
    void setUserPlace(QString name, Place place);
    void setAway(QString name, QString message);
    void setDnd(QString name, QString message);
    void setAutoReply(QString name, QString text);
    void whisperToAll(QString from, QString text);
    void whisperTo(QString account, QString from, QString text);
    bool loadScenario(QString path, QString* error);

    // CPU time the simulator's thread has used, so that a measurement of a client running
    // in the same process can leave it out.
    double cpuSeconds() const;

private:
    template <typename Call>
    void onSimThread(Call&& call) const;

    // A std::thread rather than a QThread: joining it is a synchronisation that
    // ThreadSanitizer can see, so tests stay clean under it without an instrumented Qt.
    std::thread thread_;
    pthread_t nativeThread_{};
    GatewaySim* sim_ = nullptr;  // these three live on thread_'s stack
    CallPump* pump_ = nullptr;
    QEventLoop* loop_ = nullptr;
    std::shared_ptr<TrafficLog> log_;
    mutable QMutex mutex_;  // keeps calls into the simulator and stop() apart
    bool stopped_ = false;
    quint16 port_ = 0;
    QString error_;
};

}  // namespace gatewaysim
