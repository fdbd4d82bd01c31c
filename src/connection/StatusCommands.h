#pragma once

#include <string>
#include <vector>

#include "connection/ConnectionStatus.h"

namespace tesk {

class CommandQueue;
class Connection;

// What choosing an entry of the status menu asks for. "/away" and "/dnd" toggle the
// gateway's modes, so sending one while in that mode ends it.
struct StatusAction {
    std::vector<std::string> putFront;  // in this order, each at the front of the queue
    bool connect = false;               // after queueing
    bool goOfflineAndReset = false;
};

enum class StatusChoice { Online, Away, Dnd, Offline };

StatusAction statusActionFor(StatusChoice choice, ConnectionStatus status);

// Carries the action out on the connection and its queue.
void applyStatusAction(const StatusAction& action, Connection& connection, CommandQueue& queue);

}  // namespace tesk
