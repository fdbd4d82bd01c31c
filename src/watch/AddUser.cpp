#include "watch/AddUser.h"

#include "connection/CommandQueue.h"
#include "connection/Protocol.h"
#include "watch/WatchListModel.h"

namespace tesk {

void addWatchedUser(WatchListModel& list, CommandQueue& queue, ConnectionStatus status,
                    const std::string& name) {
    list.add(name);
    if (!isOffline(status)) {
        queue.putFront(protocol::kWhoisPrefix + name, mark::kProgram);
    }
}

}  // namespace tesk
