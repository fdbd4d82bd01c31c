// PvPGN's friend notices applied to the watch list.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "connection/CommandQueue.h"
#include "watch/FriendNotices.h"
#include "watch/UserUpdate.h"
#include "watch/WatchListModel.h"

using namespace tesk;
using P = Presence;

namespace {

struct Announcements : OnlineAnnouncer {
    void announceOnline(const std::string& name) override { names.push_back(name); }
    std::vector<std::string> names;
};

WatchedUser only(Presence presence) {
    WatchedUser user;
    user.presence = presence;
    return user;
}

}  // namespace

TEST(FriendNotices, SetTheWatchedRowAtOnceAnnounceALogOnAndAskWhereTheFriendIs) {
    const WatchedUser away{P::Away, {Place::Kind::Channel, "Foo"}, "Chat", "lunch", "", true};
    const struct {
        const char* what;
        WatchedUser before;
        FriendNotice notice;
        WatchedUser after;
        bool announced;
        bool asked;
    } cases[] = {
        {"offline to online", only(P::Offline), {"ALICE", true}, only(P::Online), true, true},
        {"unknown to online", {}, {"alice", true}, only(P::Online), false, true},
        {"a new session forgets the old one",
         away,
         {"alice", true},
         {P::Online, {}, "", "", "", true},
         false,
         true},
        {"left", away, {"alice", false}, {P::Offline, {}, "", "", "", true}, false, false},
        {"not watched", away, {"bob", true}, away, false, false},
    };
    for (const auto& c : cases) {
        WatchListModel list;
        list.assign({"Alice"});
        list.setUser(0, c.before);
        CommandQueue queue;
        queue.putBack("/whois Alice", mark::kProgram);
        Announcements announcements;
        applyFriendNotice(c.notice, list, queue, announcements);
        EXPECT_TRUE(list.row(0).user == c.after) << c.what;
        EXPECT_EQ(announcements.names,
                  c.announced ? std::vector<std::string>{"Alice"} : std::vector<std::string>{})
            << c.what;
        EXPECT_EQ(queue.size(), c.asked ? 2u : 1u) << c.what;
        if (c.asked) {
            EXPECT_EQ(queue.front()->text, "/whois Alice") << c.what;
        }
    }
}
