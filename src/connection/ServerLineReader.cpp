#include "connection/ServerLineReader.h"

#include <QTime>

#include "connection/CommandQueue.h"
#include "connection/Connection.h"
#include "connection/Protocol.h"
#include "connection/ReplyReading.h"
#include "connection/WhisperAnswer.h"
#include "platform/GuiThread.h"
#include "platform/GuiTimer.h"
#include "platform/StopFlag.h"

namespace tesk {

ServerLineReader::ServerLineReader(Connection& connection, CommandQueue& queue,
                                   ConnectionView& view, ServerEventSink& sink,
                                   GuiTimer& replyTimer, std::shared_ptr<StopFlag> stop)
    : connection_(connection),
      queue_(queue),
      view_(view),
      sink_(sink),
      replyTimer_(replyTimer),
      stop_(std::move(stop)),
      thread_([this] { run(); }) {}

ServerLineReader::~ServerLineReader() {
    thread_.join();
}

void ServerLineReader::run() {
    TcpClient& client = connection_.client();
    std::uint64_t readingGeneration = 0;
    while (!stop_->raised()) {
        const TcpClient::Current current = client.current();
        if (!current.connection) {
            client.waitForChange(current.generation, *stop_);
            continue;
        }
        if (current.generation != readingGeneration) {
            // Repeats are dropped within one connection only: the first line of a new
            // one (often its login confirmation) must never be lost to the last line of
            // the connection before.
            readingGeneration = current.generation;
            lastLine_.clear();
        }
        connection_.dialect().readerWaiting(true);
        const std::string received = current.connection->receiveLine();
        connection_.dialect().readerWaiting(false);
        if (stop_->raised()) {
            break;
        }
        std::vector<Arrival> burst;
        collect(received, burst);
        for (std::size_t taken = 1; taken < kMaxBurst; ++taken) {
            const std::optional<std::string> more = current.connection->bufferedLine();
            if (!more) {
                break;
            }
            collect(*more, burst);
        }
        deliver(std::move(burst), current.generation);
        if (current.connection->ended()) {
            // The peer closed the stream: the connection hears of it at once, and the
            // reader waits until the connection is replaced instead of reading empty
            // lines in a loop.
            connection_.peerClosed(current.generation);
            client.waitForChange(current.generation, *stop_);
        }
    }
}

void ServerLineReader::collect(const std::string& received, std::vector<Arrival>& burst) {
    GatewayDialect& dialect = connection_.dialect();
    // Echoes the server did not send come first, where the classic gateway puts them.
    for (std::string& echo : dialect.takeEchoes()) {
        admit({std::move(echo), {}, std::nullopt, std::nullopt, true}, burst);
    }
    GatewayDialect::Reading reading = dialect.read(received);
    admit({std::move(reading.classic),
           {},
           received,
           std::move(reading.friendNotice),
           reading.mayAnswerWhois},
          burst);
}

void ServerLineReader::admit(Arrival arrival, std::vector<Arrival>& burst) {
    if (arrival.line == lastLine_) {
        return;
    }
    arrival.previous = std::exchange(lastLine_, arrival.line);
    burst.push_back(std::move(arrival));
}

void ServerLineReader::deliver(std::vector<Arrival> lines, std::uint64_t generation) {
    if (lines.empty()) {
        return;
    }
    // Only what the server really sent proves it alive.
    for (const Arrival& arrival : lines) {
        if (arrival.received) {
            replyTimer_.disarm();
            break;
        }
    }
    // Shared with the GUI thread, which may still hold it after a stop ended the wait.
    auto burst = std::make_shared<Burst>();
    burst->lines = std::move(lines);
    while (burst->next < burst->lines.size()) {
        burst->state = state_;
        if (!gui_thread::runAndWait([this, burst] { handleOnGui(*burst); }, stop_)) {
            return;
        }
        state_ = burst->state;
        if (burst->next < burst->lines.size()) {
            react(burst->reaction, burst->lines[burst->next].previous);
            ++burst->next;
            if (connection_.client().current().generation != generation) {
                return;  // the rest came on a connection that has been closed since
            }
        }
    }
}

void ServerLineReader::handleOnGui(Burst& burst) {
    const QTime now = QTime::currentTime();
    for (; burst.next < burst.lines.size(); ++burst.next) {
        const Arrival& arrival = burst.lines[burst.next];
        ReaderState& state = burst.state;
        if (arrival.received) {
            // The log shows the line as the server sent it.
            sink_.handle(LogEntry{timeStampedLogText(*arrival.received, now.hour(), now.minute()),
                                  logColourOf(*arrival.received)});
        }
        if (arrival.friendNotice) {
            sink_.handle(*arrival.friendNotice);  // answers no command
            continue;
        }
        const LineCase lineCase = classifyServerLine(arrival.line, state.lastCommand);
        // Taken before the line moves the state on (a whois reply may end the command).
        const WhisperAnswer whisperAnswer = answerToWhisper(arrival.line, state);
        switch (lineCase) {
            case LineCase::CommandEcho: {
                CommandEcho echo = splitCommandEcho(arrival.line);
                // A "/stats" echo for a request never sent is answered by nothing here.
                if (echo.command == protocol::kStatsCommand &&
                    !connection_.sentStats().takeEcho(arrival.line)) {
                    echo = {};
                }
                state.lastCommand = std::move(echo.command);
                state.lastArgument = std::move(echo.argument);
                state.whisperAnswered = false;
                break;
            }
            case LineCase::WhoisReply:
            case LineCase::StatsReply:
            case LineCase::Whisper:
                if (lineCase == LineCase::WhoisReply && !arrival.mayAnswerWhois) {
                    break;  // the user stays as he was
                }
                if (std::optional<ServerEvent> event = readReply(lineCase, arrival.line, state)) {
                    sink_.handle(*event);
                }
                break;
            case LineCase::Unrecognised:
                break;
            default:
                burst.reaction = lineCase;
                return;
        }
        state.whisperAnswered = state.whisperAnswered || whisperAnswer.answers;
        if (whisperAnswer.refusal) {
            sink_.handle(*whisperAnswer.refusal);
        }
    }
}

void ServerLineReader::react(LineCase reaction, const std::string& previous) {
    switch (reaction) {
        case LineCase::LoginAccepted:
            connection_.loginAccepted();
            state_.lastCommand.clear();
            connection_.setStatus(ConnectionStatus::Online);
            connection_.showStatus();
            queue_.wake();
            break;
        case LineCase::AwayOn:
            connection_.setStatus(ConnectionStatus::Away);
            connection_.showStatus();
            break;
        case LineCase::DndOn:
            connection_.setStatus(ConnectionStatus::Dnd);
            connection_.showStatus();
            break;
        case LineCase::ModeOff:
            connection_.setStatus(ConnectionStatus::Online);
            connection_.showStatus();
            break;
        case LineCase::Flooding:
            connection_.reconnect();
            // Send the command again that the gateway was answering. Only a command echo
            // is a command: any other line would reach the channel as chat.
            if (startsWith(previous, "/")) {
                queue_.putFront(previous, mark::kProgram);
            }
            break;
        case LineCase::Refused:
            refuse(protocol::kRefusedMessage);
            break;
        case LineCase::LoginIncorrect:
            connection_.loginRefused();
            break;
        default:
            break;  // handled on the GUI thread
    }
}

void ServerLineReader::refuse(const char* message) {
    connection_.goOffline();
    connection_.resetWatchList();
    gui_thread::runAndWait([this, message] { view_.showError(message); }, stop_);
}

}  // namespace tesk
