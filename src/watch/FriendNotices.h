#pragma once

#include "connection/ServerEvent.h"

namespace tesk {

class CommandQueue;
class OnlineAnnouncer;
class WatchListModel;

// Applies PvPGN's notice that a friend logged on or off to the watch list. A watched friend
// who enters is online at once, announced when the row said offline, and asked "/whois"
// ahead of everything waiting, for the place and program the notice does not tell; one who
// leaves is offline at once. A notice for a name not watched changes nothing: the console
// has shown its line.
void applyFriendNotice(const FriendNotice& notice, WatchListModel& list, CommandQueue& queue,
                       OnlineAnnouncer& announcer);

}  // namespace tesk
