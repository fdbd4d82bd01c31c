#include "connection/TReadThread.h"

#include <QTime>

#include "connection/CommandQueue.h"
#include "connection/Protocol.h"
#include "connection/TConnectionThread.h"
#include "platform/GuiThread.h"
#include "platform/GuiTimer.h"
#include "platform/StopFlag.h"

namespace tesk {

TReadThread::TReadThread(TConnectionThread& connection, CommandQueue& queue,
                         ConnectionView& view, ServerLineHandlers& handlers,
                         GuiTimer& replyTimer, std::shared_ptr<StopFlag> stop)
    : connection_(connection),
      queue_(queue),
      view_(view),
      handlers_(handlers),
      replyTimer_(replyTimer),
      stop_(std::move(stop)),
      thread_([this] { run(); }) {}

TReadThread::~TReadThread() {
    thread_.join();
}

void TReadThread::run() {
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
            state_.currentLine.clear();
        }
        connection_.dialect().readerWaiting(true);
        const std::string received = current.connection->receiveLine();
        connection_.dialect().readerWaiting(false);
        if (stop_->raised()) {
            break;
        }
        // Echoes the server did not send come first, where the classic gateway puts them.
        for (const std::string& echo : connection_.dialect().takeEchoes()) {
            take(echo, false);
        }
        take(received, true);
        if (current.connection->ended()) {
            // The peer closed the stream: wait until the connection is replaced
            // instead of reading empty lines in a loop.
            client.waitForChange(current.generation, *stop_);
        }
    }
}

void TReadThread::take(const std::string& line, bool fromServer) {
    const std::string previous = state_.currentLine;
    state_.currentLine = fromServer ? connection_.dialect().toClassic(line) : line;
    if (state_.currentLine != previous) {
        handle(previous, fromServer ? &line : nullptr);
    }
}

void TReadThread::handle(const std::string& previous, const std::string* received) {
    const std::string line = state_.currentLine;
    if (received != nullptr) {
        // Only what the server really sent proves it alive and goes to the log, as sent.
        replyTimer_.disarm();
        const QTime now = QTime::currentTime();
        const LogEntry entry{timeStampedLogText(*received, now.hour(), now.minute()),
                             logColourOf(*received)};
        gui_thread::runAndWait([this, entry] { handlers_.AddToLog(entry); }, stop_);
    }

    switch (classifyServerLine(line, state_.lastCommand)) {
        case LineCase::CommandEcho: {
            CommandEcho echo = splitCommandEcho(line);
            state_.lastCommand = std::move(echo.command);
            state_.lastArgument = std::move(echo.argument);
            break;
        }
        case LineCase::WhoisReply:
            handOverState(&ServerLineHandlers::UpdateUser);
            break;
        case LineCase::StatsReply:
            handOverState(&ServerLineHandlers::UpdateStats);
            break;
        case LineCase::Whisper:
            gui_thread::runAndWait([this, line] { handlers_.HandleWhisperLine(line); }, stop_);
            break;
        case LineCase::LoginAccepted:
            state_.lastCommand.clear();
            connection_.setStatus(ConnectionStatus::Online);
            connection_.ShowStatus();
            queue_.wake();
            break;
        case LineCase::AwayOn:
            connection_.setStatus(ConnectionStatus::Away);
            connection_.ShowStatus();
            break;
        case LineCase::DndOn:
            connection_.setStatus(ConnectionStatus::Dnd);
            connection_.ShowStatus();
            break;
        case LineCase::ModeOff:
            connection_.setStatus(ConnectionStatus::Online);
            connection_.ShowStatus();
            break;
        case LineCase::Flooding:
            connection_.Reconnect();
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
            refuse(protocol::kLoginIncorrectMessage);
            break;
        case LineCase::Unrecognised:
            break;
    }
}

void TReadThread::handOverState(void (ServerLineHandlers::*handler)(ReaderState&)) {
    auto shared = std::make_shared<ReaderState>(state_);
    if (gui_thread::runAndWait([this, shared, handler] { (handlers_.*handler)(*shared); },
                               stop_)) {
        state_ = *shared;
    }
}

void TReadThread::refuse(const char* message) {
    connection_.GoOffline();
    connection_.ResetWatchList();
    gui_thread::runAndWait([this, message] { view_.showError(message); }, stop_);
}

}  // namespace tesk
