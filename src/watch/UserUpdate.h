#pragma once

#include <string>

#include "connection/ServerEvent.h"

namespace tesk {

class WatchListModel;

// Told when a watched user has come online (offline to online within one reply line).
class OnlineAnnouncer {
public:
    virtual ~OnlineAnnouncer() = default;
    // `name` is the row's name as stored in the list.
    virtual void announceOnline(const std::string& name) = 0;
};

// Applies one whois reply line to the row of the user it names.
void updateUser(WatchListModel& list, const WhoisAnswer& answer, OnlineAnnouncer& announcer);

}  // namespace tesk
