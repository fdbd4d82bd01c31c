#include "watch/UserUpdate.h"

#include "watch/WatchListModel.h"
#include "watch/WhoisReply.h"

namespace tesk {

void updateUser(WatchListModel& list, const WhoisAnswer& answer, OnlineAnnouncer& announcer) {
    // The whole argument must match: after "/w name text" no row is found.
    const int position = list.find(answer.name);
    if (position < 0) {
        return;
    }
    const WhoisOutcome outcome = interpretWhoisReply(answer.line, list.row(position).user);
    list.setUser(position, outcome.user);
    if (outcome.announce) {
        announcer.announceOnline(list.row(position).name);
    }
}

}  // namespace tesk
