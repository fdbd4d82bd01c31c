#include "watch/UserUpdate.h"

#include "watch/WatchListModel.h"

namespace tesk {

void updateUser(WatchListModel& list, ReaderState& state, OnlineAnnouncer& announcer) {
    // The whole argument must match: after "/w name text" no row is found.
    const int position = list.find(state.lastArgument);
    if (position < 0) {
        return;
    }
    const WhoisOutcome outcome = interpretWhoisReply(state.currentLine, list.row(position).state);
    list.setRowState(position, outcome.row);
    if (outcome.clearLastCommand) {
        state.lastCommand.clear();
    }
    if (outcome.announce) {
        announcer.announceOnline(list.row(position).name);
    }
}

}  // namespace tesk
