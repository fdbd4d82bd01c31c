#include "watch/UserUpdate.h"

#include "watch/WatchListModel.h"
#include "watch/WhoisReply.h"

namespace tesk {

void updateUser(WatchListModel& list, ReaderState& state, OnlineAnnouncer& announcer) {
    // The whole argument must match: after "/w name text" no row is found.
    const int position = list.find(state.lastArgument);
    if (position < 0) {
        return;
    }
    const WhoisOutcome outcome = interpretWhoisReply(state.currentLine, list.row(position).user);
    list.setUser(position, outcome.user);
    if (outcome.clearLastCommand) {
        state.lastCommand.clear();
    }
    if (outcome.announce) {
        announcer.announceOnline(list.row(position).name);
    }
}

}  // namespace tesk
