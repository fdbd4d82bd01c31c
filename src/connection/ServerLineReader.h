#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "connection/ConnectionView.h"
#include "connection/ReaderState.h"
#include "connection/ServerEvent.h"
#include "connection/ServerLine.h"

namespace tesk {

class CommandQueue;
class GuiTimer;
class StopFlag;
class TcpConnection;
class Connection;

// Receives every server line while the connection is open: drops repeats, stops the
// reply timer, logs the line, remembers command echoes, reads each reply against them
// and hands its meaning to the sink, or reacts itself (login, modes, flooding, refusals).
// The connection's dialect turns each line, and the echoes a server does not send,
// into the classic gateway's forms first.
// Lines that have already arrived together are handed to the GUI thread in one go, so a
// burst costs one hand-over instead of one or two per line.
// Sleeps while the connection is closed or has ended, so a dead socket costs no CPU.
class ServerLineReader {
public:
    // The most lines one hand-over handles, so the windows stay responsive in a flood.
    static constexpr std::size_t kMaxBurst = 512;

    ServerLineReader(Connection& connection, CommandQueue& queue, ConnectionView& view,
                     ServerEventSink& sink, GuiTimer& replyTimer, std::shared_ptr<StopFlag> stop);
    ~ServerLineReader();  // the stop flag must be raised and the client closed first

private:
    // A line in its classic form, with the line it follows.
    struct Arrival {
        std::string line;
        std::string previous;
        std::optional<std::string> received;  // as the server sent it; none for an owed echo
        std::optional<FriendNotice> friendNotice;
        bool mayAnswerWhois = true;
    };
    // Lines on their way through the GUI thread, and where their handling stopped.
    struct Burst {
        std::vector<Arrival> lines;
        std::size_t next = 0;
        ReaderState state;
        LineCase reaction = LineCase::Unrecognised;
    };

    void run();
    // Takes a received line and the echoes the server owed before it; a repeat of the
    // line before is dropped.
    void collect(const std::string& received, std::vector<Arrival>& burst);
    void admit(Arrival arrival, std::vector<Arrival>& burst);
    void deliver(std::vector<Arrival> lines, std::uint64_t generation);
    // On the GUI thread: logs and handles lines from `burst.next` on, and stops at the
    // first line that the reader must react to itself.
    void handleOnGui(Burst& burst);
    void react(LineCase reaction, const std::string& previous);
    void refuse(const char* message);

    Connection& connection_;
    CommandQueue& queue_;
    ConnectionView& view_;
    ServerEventSink& sink_;
    GuiTimer& replyTimer_;
    const std::shared_ptr<StopFlag> stop_;
    ReaderState state_;
    std::string lastLine_;  // the line admitted last, so that a repeat is dropped
    std::thread thread_;
};

}  // namespace tesk
