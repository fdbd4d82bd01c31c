#include "connection/GatewayClient.h"

#include "connection/TConnectionThread.h"
#include "connection/TReadThread.h"
#include "connection/TWriteThread.h"
#include "platform/StopFlag.h"

namespace tesk {

GatewayClient::GatewayClient(CommandQueue& queue, LiveSettings& settings, ConnectionView& view,
                             ServerLineHandlers& handlers, const ConnectionTimings& timings)
    : settings_(settings),
      view_(view),
      handlers_(handlers),
      timings_(timings),
      queue_(queue),
      stop_(std::make_shared<StopFlag>()),
      replyTimer_(timings.replyTimeout, [this] { connection_->Reconnect(); }),
      connection_(std::make_unique<TConnectionThread>(queue_, settings_, view_, replyTimer_,
                                                      timings_, stop_)) {}

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
    reader_ = std::make_unique<TReadThread>(*connection_, queue_, view_, handlers_, replyTimer_,
                                            stop_);
    writer_ = std::make_unique<TWriteThread>(*connection_, queue_, replyTimer_,
                                             timings_.writerPause, stop_);
    connection_->Connect();
}

}  // namespace tesk
