#pragma once

#include <string>

#include "connection/ConnectionStatus.h"

namespace tesk {

class CommandQueue;
class WatchListModel;

// Adds `name` as typed, in the unknown state; while not offline the gateway is asked
// about it at once. Duplicates and any characters are accepted.
void addWatchedUser(WatchListModel& list, CommandQueue& queue, ConnectionStatus status,
                    const std::string& name);

}  // namespace tesk
