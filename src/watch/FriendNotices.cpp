#include "watch/FriendNotices.h"

#include "connection/CommandQueue.h"
#include "connection/Protocol.h"
#include "watch/UserUpdate.h"
#include "watch/WatchListModel.h"

namespace tesk {

void applyFriendNotice(const FriendNotice& notice, WatchListModel& list, CommandQueue& queue,
                       OnlineAnnouncer& announcer) {
    const int position = list.find(notice.name);
    if (position < 0) {
        return;
    }
    const WatchRow& row = list.row(position);
    const bool wasOffline = row.user.presence == Presence::Offline;
    // A new log-on or a log-off: nothing the row said of the last session holds.
    WatchedUser user;
    user.presence = notice.online ? Presence::Online : Presence::Offline;
    user.unread = row.user.unread;
    list.setUser(position, user);
    if (!notice.online) {
        return;
    }
    queue.putFront(protocol::kWhoisPrefix + row.name, mark::kProgram);
    if (wasOffline) {
        announcer.announceOnline(row.name);
    }
}

}  // namespace tesk
