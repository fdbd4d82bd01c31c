#include "connection/CommandWriter.h"

#include "connection/CommandQueue.h"
#include "connection/Connection.h"
#include "platform/GuiTimer.h"
#include "platform/StopFlag.h"

namespace tesk {

CommandWriter::CommandWriter(Connection& connection, CommandQueue& queue, GuiTimer& replyTimer,
                             std::chrono::milliseconds pause, std::shared_ptr<StopFlag> stop)
    : connection_(connection),
      queue_(queue),
      replyTimer_(replyTimer),
      pause_(pause),
      stop_(std::move(stop)),
      thread_([this] { run(); }) {}

CommandWriter::~CommandWriter() {
    thread_.join();
}

void CommandWriter::run() {
    while (!stop_->raised()) {
        // Read the wake count before looking: a change after this point ends the wait.
        const std::uint64_t seen = queue_.wakeCount();
        if (isLoggedIn(connection_.status())) {
            if (const auto entry = queue_.front()) {
                if (entry->mark <= mark::kControl) {
                    connection_.pollTimer().arm();
                    queue_.remove(entry->id);
                    continue;
                }
                // Over the server's quota the line waits, and so does the queue behind
                // it; whatever is at the front when the wait ends goes next.
                const std::chrono::milliseconds quotaWait =
                    connection_.dialect().quotaWait(entry->text);
                if (quotaWait.count() > 0) {
                    stop_->sleepFor(quotaWait);
                    continue;
                }
                // Before the timer is armed: a line that arrives meanwhile must not
                // disarm it for this command.
                connection_.dialect().awaitQuietReader(entry->text, *stop_);
                // Armed before the line leaves, so that the reply's disarm, which can
                // only come after it, always reaches the timer later.
                replyTimer_.arm();
                // Likewise the echo a server may owe is noted before its replies can come.
                connection_.dialect().commandSending(entry->text);
                connection_.sentStats().noteSent(entry->text);
                connection_.client().sendLine(entry->text);
                queue_.remove(entry->id);
                stop_->sleepFor(pause_);
                continue;
            }
        }
        queue_.waitForWake(seen, *stop_);
    }
}

}  // namespace tesk
