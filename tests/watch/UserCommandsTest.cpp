#include <gtest/gtest.h>

#include <vector>

#include "watch/RowReport.h"
#include "watch/UserCommands.h"
#include "watch/WatchedUser.h"

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

TEST(UserMenu, PvpgnOffersEveryProductForEveryNameAndNoProfile) {
    const struct {
        const char* name;
        bool pvpgn;
        bool warcraftIII, otherGames, profile;
    } cases[] = {
        {"bob", false, false, true, false},
        {"john@northrend", false, true, false, true},
        {"bob", true, true, true, false},
        {"john@northrend", true, true, true, false},
    };
    for (const auto& c : cases) {
        const UserMenuState menu = userMenuFor(1, ConnectionStatus::Online, false, c.name, c.pvpgn);
        EXPECT_EQ((std::vector<bool>{menu.warcraftIII, menu.otherGames, menu.profile}),
                  (std::vector<bool>{c.warcraftIII, c.otherGames, c.profile}))
            << c.name << (c.pvpgn ? " on PvPGN" : "");
    }
}

TEST(PlayerProfile, PlainNamesGiveThePlainQueryAndOthersAreEncoded) {
    EXPECT_TRUE(playerProfileUrl("john@northrend")
                    .endsWith("/war3/ladder/war3-player-profile.aspx?Gateway=northrend"
                              "&PlayerName=john"));
    EXPECT_TRUE(playerProfileUrl("a&b#c@north rend")
                    .endsWith("?Gateway=north%20rend&PlayerName=a%26b%23c"));
    EXPECT_TRUE(playerProfileUrl("x@y@z").endsWith("?Gateway=y%40z&PlayerName=x"));
}

TEST(UserInfoTip, NamesTheUserAndListsTheNonEmptyColumnsAndTheSighting) {
    WatchedUser unknown;
    EXPECT_EQ(userInfoTip("a.very.long.name@northrend", unknown, "never seen"),
              "a.very.long.name@northrend\n* unknown\n* never seen");
    WatchedUser away;
    away.presence = Presence::Away;
    away.place = {Place::Kind::Channel, "Foo"};
    away.program = "Starcraft";
    away.awayMessage = "lunch";
    EXPECT_EQ(userInfoTip("bob", away, "online since 14:02"),
              "bob\n* channel: Foo\n* program: Starcraft\n* away: lunch\n* online since 14:02");
    WatchedUser dndOffline;
    dndOffline.presence = Presence::Offline;
    dndOffline.dndMessage = "busy";
    EXPECT_EQ(userInfoTip("bob", dndOffline, "last seen 14:02"),
              "bob\n* offline\n* dnd: busy\n* last seen 14:02");
}

TEST(PlaceText, EveryPlaceAsTheListShowsIt) {
    using K = Place::Kind;
    const struct {
        Presence presence;
        Place place;
        const char* text;
    } cases[] = {
        {Presence::Online, {K::Channel, "Clan Foo"}, "channel: Clan Foo"},
        {Presence::Away, {K::PrivateChannel, ""}, "private channel"},
        {Presence::Online, {K::Game, "Big Game"}, "game: Big Game"},
        {Presence::Dnd, {K::PrivateGame, ""}, "private game"},
        {Presence::Online, {K::PasswordGame, "Secret"}, "password game: Secret"},
        {Presence::Online, {K::Channel, ""}, "channel: "},
        {Presence::Offline, {}, "offline"},
        {Presence::Unknown, {}, "unknown"},
        {Presence::Online, {}, "unknown"},  // a reply that named no place
    };
    for (const auto& c : cases) {
        WatchedUser user;
        user.presence = c.presence;
        user.place = c.place;
        EXPECT_EQ(placeText(user), c.text);
    }
}

TEST(StatsCommand, OneSpaceBetweenTheParts) {
    EXPECT_EQ(statsCommand("alice", "w2bn"), "/stats alice w2bn");
}

TEST(RowReport, NamesTheStateAndTheNonEmptyDetailsAndWhenAnOfflineUserWasSeen) {
    WatchedUser online;
    online.presence = Presence::Online;
    online.place = {Place::Kind::Channel, "Foo"};
    online.program = "Starcraft";
    EXPECT_EQ(describeRow("alice", online, "online since 14:02"),
              "alice online, channel: Foo, program: Starcraft");
    WatchedUser offline;
    offline.presence = Presence::Offline;
    EXPECT_EQ(describeRow("bob", offline, "last seen 14:02"), "bob offline, last seen 14:02");
    WatchedUser dnd;
    dnd.presence = Presence::Dnd;
    dnd.place = {Place::Kind::Game, "X"};
    dnd.dndMessage = "busy";
    EXPECT_EQ(describeRow("dave", dnd, "online since 14:02"),
              "dave refusing messages, game: X, dnd: busy");
    EXPECT_EQ(describeRow("erin", WatchedUser{}, "never seen"), "erin unknown");
}
