#include <gtest/gtest.h>

#include "watch/RowReport.h"
#include "watch/UserCommands.h"
#include "watch/WhoisReply.h"

using namespace tesk;

TEST(UserMenu, OneSelectedRowWhileConnectedOffersChatAndStatistics) {
    const UserMenuState online = userMenuFor(1, ConnectionStatus::Online, false, "bob");
    EXPECT_TRUE(online.chat);
    EXPECT_TRUE(online.statistics);
    EXPECT_TRUE(online.otherGames);
    EXPECT_FALSE(online.warcraftIII);

    EXPECT_FALSE(userMenuFor(1, ConnectionStatus::Online, true, "bob").chat);  // anonymous
    EXPECT_TRUE(userMenuFor(1, ConnectionStatus::Online, true, "bob").statistics);
    const UserMenuState offline = userMenuFor(1, ConnectionStatus::Offline, false, "bob");
    EXPECT_FALSE(offline.chat || offline.statistics);
    const UserMenuState two = userMenuFor(2, ConnectionStatus::Away, false, "bob");
    EXPECT_FALSE(two.chat || two.statistics);
}

TEST(UserMenu, WarcraftIIINamesHaveAnAtAfterTheFirstCharacter) {
    EXPECT_TRUE(userMenuFor(1, ConnectionStatus::Online, false, "john@northrend").warcraftIII);
    EXPECT_FALSE(userMenuFor(1, ConnectionStatus::Online, false, "john@northrend").otherGames);
    EXPECT_TRUE(isWarcraftIIIName("j@x"));
    EXPECT_FALSE(isWarcraftIIIName("@northrend"));  // begins with "@": like a name without one
    EXPECT_FALSE(isWarcraftIIIName("john"));
    EXPECT_TRUE(userMenuFor(1, ConnectionStatus::Online, false, "@x").otherGames);
}

TEST(PlayerProfile, PlainNamesGiveThePlainQueryAndOthersAreEncoded) {
    EXPECT_TRUE(playerProfileUrl("john@northrend")
                    .endsWith("/war3/ladder/war3-player-profile.aspx?Gateway=northrend"
                              "&PlayerName=john"));
    EXPECT_TRUE(playerProfileUrl("a&b#c@north rend")
                    .endsWith("?Gateway=north%20rend&PlayerName=a%26b%23c"));
    EXPECT_TRUE(playerProfileUrl("x@y@z").endsWith("?Gateway=y%40z&PlayerName=x"));
}

TEST(UserInfoTip, NamesTheUserAndListsTheNonEmptyColumns) {
    WatchRowState unknown;
    EXPECT_EQ(userInfoTip("a.very.long.name@northrend", unknown),
              "a.very.long.name@northrend\n* unknown");
    WatchRowState away;
    away.image = 10;
    away.place = "channel: Foo";
    away.program = "Starcraft";
    away.awayMessage = "lunch";
    EXPECT_EQ(userInfoTip("bob", away), "bob\n* channel: Foo\n* program: Starcraft\n* away: lunch");
    WatchRowState dndOnly;
    dndOnly.place = "";
    dndOnly.dndMessage = "busy";
    EXPECT_EQ(userInfoTip("bob", dndOnly), "bob\n* dnd: busy");
}

TEST(StatsCommand, OneSpaceBetweenTheParts) {
    EXPECT_EQ(statsCommand("alice", "w2bn"), "/stats alice w2bn");
}

TEST(RowReport, NamesTheStateAndTheNonEmptyDetails) {
    WatchRowState online;
    online.image = 9;
    online.place = "channel: Foo";
    online.program = "Starcraft";
    EXPECT_EQ(describeRow("alice", online), "alice online, channel: Foo, program: Starcraft");
    WatchRowState offline;
    offline.image = 8;
    offline.place = "offline";
    EXPECT_EQ(describeRow("bob", offline), "bob offline");
    WatchRowState dnd;
    dnd.image = 11;
    dnd.place = "game: X";
    dnd.dndMessage = "busy";
    EXPECT_EQ(describeRow("dave", dnd), "dave refusing messages, game: X, dnd: busy");
    EXPECT_EQ(describeRow("erin", WatchRowState{}), "erin unknown");
}
