#pragma once

#include <chrono>
#include <memory>
#include <thread>

namespace tesk {

class CommandQueue;
class GuiTimer;
class StopFlag;
class Connection;

// Sends the command queue from its front while logged in: one line, then a pause; on a
// PvPGN server also no sooner than its quota allows, keeping the queue's order.
// A control marker arms the poll timer instead and costs no time. Sleeps while there
// is nothing to send or the connection is not logged in.
class CommandWriter {
public:
    CommandWriter(Connection& connection, CommandQueue& queue, GuiTimer& replyTimer,
                  std::chrono::milliseconds pause, std::shared_ptr<StopFlag> stop);
    ~CommandWriter();  // the stop flag must be raised and the queue woken first

private:
    void run();

    Connection& connection_;
    CommandQueue& queue_;
    GuiTimer& replyTimer_;
    const std::chrono::milliseconds pause_;
    const std::shared_ptr<StopFlag> stop_;
    std::thread thread_;
};

}  // namespace tesk
