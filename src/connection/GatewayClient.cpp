#include "connection/GatewayClient.h"

#include "connection/CommandWriter.h"
#include "connection/Connection.h"
#include "connection/ServerLineReader.h"
#include "platform/StopFlag.h"

namespace tesk {

GatewayClient::GatewayClient(CommandQueue& queue, LiveSettings& settings, ConnectionView& view,
                             ServerEventSink& sink, const ConnectionTimings& timings)
    : settings_(settings),
      view_(view),
      sink_(sink),
      timings_(timings),
      queue_(queue),
      stop_(std::make_shared<StopFlag>()),
      replyTimer_(timings.replyTimeout, [this] { connection_->reconnect(); }),
      connection_(
          std::make_unique<Connection>(queue_, settings_, view_, replyTimer_, timings_, stop_)) {}

GatewayClient::~GatewayClient() {
    connection_->shutdown();  // raises the stop flag and closes the socket for good
    queue_.wake();
    writer_.reset();
    reader_.reset();
    connection_.reset();
}

void GatewayClient::start() {
    if (reader_) {
        return;
    }
    reader_ =
        std::make_unique<ServerLineReader>(*connection_, queue_, view_, sink_, replyTimer_, stop_);
    writer_ = std::make_unique<CommandWriter>(*connection_, queue_, replyTimer_,
                                              timings_.writerPause, stop_);
    connection_->connect();
}

}  // namespace tesk
