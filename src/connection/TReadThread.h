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
// Sleeps while the connection is closed or has ended, so a dead socket costs no CPU.
class TReadThread {
public:
    TReadThread(TConnectionThread& connection, CommandQueue& queue, ConnectionView& view,
                ServerLineHandlers& handlers, GuiTimer& replyTimer,
                std::shared_ptr<StopFlag> stop);
    ~TReadThread();  // the stop flag must be raised and the client closed first

private:
    void run();
    void handle(const std::string& previous);
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
