#include "connection/StatusCommands.h"

#include "connection/CommandQueue.h"
#include "connection/Connection.h"
#include "connection/Protocol.h"

namespace tesk {

namespace {

// Away and DND work alike: switching one on ends the other first.
StatusAction modeChosen(ConnectionStatus status, ConnectionStatus mode, ConnectionStatus other,
                        const char* command, const char* otherCommand) {
    StatusAction action;
    if (status == mode) {
        return action;
    }
    action.putFront.push_back(command);
    if (isOffline(status)) {
        action.connect = true;
    } else if (status == other) {
        action.putFront.push_back(otherCommand);  // in front, so it is sent first
    }
    return action;
}

}  // namespace

StatusAction statusActionFor(StatusChoice choice, ConnectionStatus status) {
    using protocol::kAwayCommand;
    using protocol::kDndCommand;
    StatusAction action;
    switch (choice) {
        case StatusChoice::Online:
            if (isOffline(status)) {
                action.connect = true;
            } else if (status == ConnectionStatus::Away) {
                action.putFront.push_back(kAwayCommand);
            } else if (status == ConnectionStatus::Dnd) {
                action.putFront.push_back(kDndCommand);
            }
            return action;
        case StatusChoice::Away:
            return modeChosen(status, ConnectionStatus::Away, ConnectionStatus::Dnd, kAwayCommand,
                              kDndCommand);
        case StatusChoice::Dnd:
            return modeChosen(status, ConnectionStatus::Dnd, ConnectionStatus::Away, kDndCommand,
                              kAwayCommand);
        case StatusChoice::Offline:
            action.goOfflineAndReset = true;
            return action;
    }
    return action;
}

void applyStatusAction(const StatusAction& action, Connection& connection, CommandQueue& queue) {
    for (const std::string& command : action.putFront) {
        queue.putFront(command, mark::kProgram);
    }
    if (action.connect) {
        connection.connect();
    }
    if (action.goOfflineAndReset) {
        connection.goOffline();
        connection.resetWatchList();
    }
}

}  // namespace tesk
