#pragma once

#include <memory>
#include <thread>

#include "connection/ConnectionView.h"

namespace tesk {

class CommandQueue;
class GuiTimer;
class StopFlag;
class TConnectionThread;

// Receives every server line while the connection is open: drops repeats, stops the
// reply timer, logs the line, remembers command echoes and hands each line to the
// handler that understands it or reacts itself (login, modes, flooding, refusals).
// The connection's dialect turns each line, and the echoes a server does not send,
// into the classic gateway's forms first.
// Sleeps while the connection is closed or has ended, so a dead socket costs no CPU.
class TReadThread {
public:
    TReadThread(TConnectionThread& connection, CommandQueue& queue, ConnectionView& view,
                ServerLineHandlers& handlers, GuiTimer& replyTimer,
                std::shared_ptr<StopFlag> stop);
    ~TReadThread();  // the stop flag must be raised and the client closed first

private:
    void run();
    // One line in its classic form; a repeat of the line before is dropped. A line from
    // the server is logged as received; an echo that the server owed is not logged.
    void take(const std::string& line, bool fromServer);
    void handle(const std::string& previous, const std::string* received);
    void handOverState(void (ServerLineHandlers::*handler)(ReaderState&));
    void refuse(const char* message);

    TConnectionThread& connection_;
    CommandQueue& queue_;
    ConnectionView& view_;
    ServerLineHandlers& handlers_;
    GuiTimer& replyTimer_;
    const std::shared_ptr<StopFlag> stop_;
    ReaderState state_;
    std::thread thread_;
};

}  // namespace tesk
