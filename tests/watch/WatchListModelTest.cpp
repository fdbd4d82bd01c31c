#include <gtest/gtest.h>

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
    EXPECT_EQ(list.row(1).state.image, image::kUnknown);
    EXPECT_EQ(list.row(1).state.place, "unknown");
}

TEST(WatchListModel, RemovesEverySelectedRowAndKeepsTheRestInOrder) {
    WatchListModel list;
    list.assign({"a", "b", "c", "d", "e"});
    list.removeRowsAt({3, 0, 1, 42});
    EXPECT_EQ(list.names(), (Names{"c", "e"}));
}

TEST(WatchListModel, ResetBringsEveryRowBackToUnknownAndPollingSkipsUnread) {
    WatchListModel list;
    list.assign({"a", "b", "c"});
    WatchRowState seen;
    seen.image = image::kAway;
    seen.place = "channel: x";
    seen.awayMessage = "lunch";
    list.setRowState(0, seen);
    list.setImage(1, image::kUnread);
    EXPECT_EQ(list.namesToPoll(), (Names{"a", "c"}));
    list.resetAll();
    EXPECT_EQ(list.namesToPoll(), (Names{"a", "b", "c"}));
    EXPECT_EQ(list.row(0).state.place, "unknown");
    EXPECT_EQ(list.row(0).state.awayMessage, "");
    EXPECT_EQ(list.row(1).state.image, image::kUnknown);
}

TEST(WatchListModel, OnlyARowThatReallyChangesIsReportedToTheViews) {
    WatchListModel list;
    list.assign({"a", "b"});
    std::vector<int> changedRows;
    QObject::connect(&list, &QAbstractItemModel::dataChanged,
                     [&](const QModelIndex& from, const QModelIndex&) {
                         changedRows.push_back(from.row());
                     });
    WatchRowState offline;
    offline.image = image::kOffline;
    offline.place = "offline";
    list.setRowState(1, offline);
    list.setRowState(1, offline);  // the next poll finds him where he was
    offline.awayMessage = "x";
    list.setRowState(1, offline);
    EXPECT_EQ(changedRows, (std::vector<int>{1, 1}));
    EXPECT_EQ(list.row(1).state, offline);
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
    ReaderState state{"1019 ERROR \"That user is not logged on.\"", "/whois", "ALICE"};
    updateUser(list, state, announcer);
    EXPECT_EQ(list.row(0).state.image, image::kOffline);
    EXPECT_EQ(state.lastCommand, "");

    state = {"1018 INFO \"Alice is using Starcraft in the channel Foo.\"", "/whois", "alice"};
    updateUser(list, state, announcer);
    EXPECT_EQ(list.row(0).state.image, image::kOnline);
    EXPECT_EQ(list.row(0).state.place, "channel: Foo");
    EXPECT_EQ(announcer.announced, (Names{"Alice"}));
    EXPECT_EQ(state.lastCommand, "/whois");
}

TEST(updateUser, RepliesToAWhisperOrForAnUnknownNameChangeNothing) {
    WatchListModel list;
    list.assign({"bob"});
    RecordingAnnouncer announcer;
    ReaderState whisper{"1019 ERROR \"That user is not logged on.\"", "/w", "bob hello"};
    updateUser(list, whisper, announcer);
    ReaderState deleted{"1018 INFO \"carol is using Chat in the channel X.\"", "/whois", "carol"};
    updateUser(list, deleted, announcer);
    EXPECT_EQ(list.row(0).state.image, image::kUnknown);
    EXPECT_EQ(whisper.lastCommand, "/w");
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
    EXPECT_EQ(list.row(0).state.image, image::kUnknown);
}
