#include <gtest/gtest.h>

#include <functional>

#include "connection/CommandQueue.h"
#include "connection/ConnectionStatus.h"
#include "watch/AddUser.h"
#include "watch/UserName.h"
#include "watch/UserUpdate.h"
#include "watch/WatchListModel.h"

using namespace tesk;
using Names = std::vector<std::string>;

TEST(UserNameOrder, CaseDecidesOnlyBetweenOtherwiseEqualNames) {
    EXPECT_LT(compareNames("alice", "Bob"), 0);
    EXPECT_LT(compareNames("bob", "Bob"), 0);
    EXPECT_GT(compareNames("Bob", "bob"), 0);
    EXPECT_LT(compareNames("Bob", "bobby"), 0);
    EXPECT_LT(compareNames("_x", "0"), 0);   // punctuation before digits
    EXPECT_LT(compareNames("9", "a"), 0);    // digits before letters
    EXPECT_EQ(compareNames("Tom", "Tom"), 0);
}

TEST(WatchListModel, StaysSortedWhateverTheOrderOfAdding) {
    WatchListModel list;
    for (const char* name : {"Bob", "alice", "bob", "zed", "Alice"}) {
        list.add(name);
    }
    EXPECT_EQ(list.names(), (Names{"alice", "Alice", "bob", "Bob", "zed"}));
    list.assign({"b", "a", "C"});
    EXPECT_EQ(list.names(), (Names{"a", "b", "C"}));
}

TEST(WatchListModel, NewRowsAreUnknownAndFindIgnoresCaseTakingTheFirst) {
    WatchListModel list;
    list.add("Bob");
    list.add("bob");
    EXPECT_EQ(list.find("BOB"), 0);
    EXPECT_EQ(list.row(0).name, "bob");
    EXPECT_EQ(list.find("nobody"), -1);
    EXPECT_EQ(list.row(1).user, WatchedUser{});
    EXPECT_EQ(placeText(list.row(1).user), "unknown");
}

// Rows are found through an index; it must give the row a scan of the list gives: the
// first, in list order, whose name is equal but for letter case. Each step changes the
// list, and every name is looked up after it.
TEST(WatchListModel, FindGivesTheFirstRowEqualButForCaseWhateverTheListWentThrough) {
    const auto scan = [](const WatchListModel& list, const std::string& name) {
        for (int i = 0; i < list.size(); ++i) {
            if (lowerCaseName(list.row(i).name) == lowerCaseName(name)) {
                return i;
            }
        }
        return -1;
    };
    const std::pair<const char*, std::function<void(WatchListModel&)>> steps[] = {
        {"loaded with duplicates and case variants",
         [](WatchListModel& l) {
             l.assign({"Bob", "zed", "BOB", "\xc3\x84rger", "Bob"});
         }},
        {"a variant that sorts first added", [](WatchListModel& l) { l.add("bob"); }},
        {"a variant that sorts last added", [](WatchListModel& l) { l.add("\xc3\xa4rger"); }},
        {"rows added in front",
         [](WatchListModel& l) {
             l.add("aaron");
             l.add("_x");
         }},
        {"the first of equal rows removed", [](WatchListModel& l) { l.removeRowsAt({2}); }},
        {"rows in front removed",
         [](WatchListModel& l) {
             l.removeRowsAt({0, 1});
         }},
        {"a removed name added again", [](WatchListModel& l) { l.add("aaron"); }},
        {"loaded anew",
         [](WatchListModel& l) {
             l.assign({"carol", "Bob"});
         }},
    };
    const char* const names[] = {"bob", "BOB",   "zed",   "\xc3\x84RGER", "\xc3\xa4rger",
                                 "_X",  "aaron", "carol", "nobody"};
    WatchListModel list;
    for (const auto& [what, change] : steps) {
        change(list);
        for (const char* name : names) {
            EXPECT_EQ(list.find(name), scan(list, name)) << what << ": " << name;
        }
    }
}

TEST(WatchListModel, RemovesEverySelectedRowAndKeepsTheRestInOrder) {
    WatchListModel list;
    list.assign({"a", "b", "c", "d", "e"});
    list.removeRowsAt({3, 0, 1, 42});
    EXPECT_EQ(list.names(), (Names{"c", "e"}));
}

// Going offline or new settings reset the rows; a whisper still waits to be read.
TEST(WatchListModel, ResetBringsEveryRowBackToUnknownAndKeepsTheUnreadMark) {
    WatchListModel list;
    list.assign({"a", "b", "c"});
    WatchedUser seen;
    seen.presence = Presence::Away;
    seen.place = {Place::Kind::Channel, "x"};
    seen.awayMessage = "lunch";
    list.setUser(0, seen);
    list.setUser(1, seen);
    list.setUnread(1, true);
    list.resetAll();
    EXPECT_EQ(list.row(0).user, WatchedUser{});
    WatchedUser marked;
    marked.unread = true;
    EXPECT_EQ(list.row(1).user, marked);
}

TEST(WatchListModel, OnlyARowThatReallyChangesIsReportedToTheViews) {
    WatchListModel list;
    list.assign({"a", "b"});
    std::vector<int> changedRows;
    QObject::connect(&list, &QAbstractItemModel::dataChanged,
                     [&](const QModelIndex& from, const QModelIndex&) {
                         changedRows.push_back(from.row());
                     });
    WatchedUser offline;
    offline.presence = Presence::Offline;
    list.setUser(1, offline);
    list.setUser(1, offline);  // the next poll finds him where he was
    offline.awayMessage = "x";
    list.setUser(1, offline);
    EXPECT_EQ(changedRows, (std::vector<int>{1, 1}));
    EXPECT_EQ(list.row(1).user, offline);
}

namespace {

struct RecordingAnnouncer : OnlineAnnouncer {
    void announceOnline(const std::string& name) override { announced.push_back(name); }
    Names announced;
};

}  // namespace

TEST(updateUser, AppliesTheReplyToTheNamedRowAndAnnouncesItsStoredName) {
    WatchListModel list;
    list.assign({"Alice", "bob"});
    RecordingAnnouncer announcer;
    updateUser(list, {"ALICE", "1019 ERROR \"That user is not logged on.\""}, announcer);
    EXPECT_EQ(list.row(0).user.presence, Presence::Offline);

    updateUser(list, {"alice", "1018 INFO \"Alice is using Starcraft in the channel Foo.\""},
               announcer);
    EXPECT_EQ(list.row(0).user.presence, Presence::Online);
    EXPECT_EQ(list.row(0).user.place, (Place{Place::Kind::Channel, "Foo"}));
    EXPECT_EQ(announcer.announced, (Names{"Alice"}));
}

TEST(updateUser, RepliesToAWhisperOrForAnUnknownNameChangeNothing) {
    WatchListModel list;
    list.assign({"bob"});
    RecordingAnnouncer announcer;
    const WhoisAnswer whisper{"bob hello", "1019 ERROR \"That user is not logged on.\""};
    updateUser(list, whisper, announcer);
    const WhoisAnswer deleted{"carol", "1018 INFO \"carol is using Chat in the channel X.\""};
    updateUser(list, deleted, announcer);
    EXPECT_EQ(list.row(0).user, WatchedUser{});
    EXPECT_TRUE(announcer.announced.empty());
}

TEST(AddWatchedUser, AsksTheGatewayOnlyWhileConnected) {
    WatchListModel list;
    CommandQueue queue;
    addWatchedUser(list, queue, ConnectionStatus::Offline, "bob");
    EXPECT_EQ(queue.size(), 0u);
    addWatchedUser(list, queue, ConnectionStatus::Online, "bob");
    addWatchedUser(list, queue, ConnectionStatus::Away, " ");
    EXPECT_EQ(list.names(), (Names{" ", "bob", "bob"}));
    ASSERT_EQ(queue.size(), 2u);
    EXPECT_EQ(queue.entries()[0].text, "/whois  ");
    EXPECT_EQ(queue.entries()[1].text, "/whois bob");
    EXPECT_EQ(list.row(0).user, WatchedUser{});
}
