#pragma once

#include <memory>

#include "connection/CommandQueue.h"
#include "connection/ConnectionTimings.h"
#include "platform/GuiTimer.h"

namespace tesk {

class ConnectionView;
class LiveSettings;
class ServerEventSink;
class StopFlag;
class Connection;
class ServerLineReader;
class CommandWriter;

// The client side of the gateway in one piece: the reply timer, the connection and its
// reader and writer threads, built and torn down in the right order, around a command
// queue that the windows own (the console shows it from the start).
// Create and destroy it on the GUI thread; destruction stops and joins every worker.
class GatewayClient {
public:
    GatewayClient(CommandQueue& queue, LiveSettings& settings, ConnectionView& view,
                  ServerEventSink& sink, const ConnectionTimings& timings = {});
    ~GatewayClient();
    GatewayClient(const GatewayClient&) = delete;
    GatewayClient& operator=(const GatewayClient&) = delete;

    // Starts the reader and the writer, then runs the first connect().
    void start();

    CommandQueue& queue() { return queue_; }
    Connection& connection() { return *connection_; }
    GuiTimer& replyTimer() { return replyTimer_; }

private:
    LiveSettings& settings_;
    ConnectionView& view_;
    ServerEventSink& sink_;
    const ConnectionTimings timings_;
    CommandQueue& queue_;
    const std::shared_ptr<StopFlag> stop_;
    GuiTimer replyTimer_;
    std::unique_ptr<Connection> connection_;
    std::unique_ptr<ServerLineReader> reader_;
    std::unique_ptr<CommandWriter> writer_;
};

}  // namespace tesk
