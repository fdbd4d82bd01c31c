#include <gtest/gtest.h>

#include "watch/Sightings.h"

using namespace tesk;

namespace {

QDateTime at(int day, int hour, int minute) {
    return QDateTime(QDate(2024, 5, day), QTime(hour, minute));
}

}  // namespace

TEST(Sightings, EveryReplyButOfflineSeesTheUserAndAGapMayHideALogOff) {
    const Sightings never;
    const Sightings sinceNine{at(1, 9, 0), at(1, 13, 58)};
    const struct {
        const char* what;
        Sightings before;
        Presence was, now;
        QDateTime when;
        Sightings after;
    } cases[] = {
        {"comes online",
         never,
         Presence::Offline,
         Presence::Online,
         at(1, 14, 2),
         {at(1, 14, 2), at(1, 14, 2)}},
        {"stays online",
         sinceNine,
         Presence::Online,
         Presence::Away,
         at(1, 14, 2),
         {at(1, 9, 0), at(1, 14, 2)}},
        {"logs off",
         sinceNine,
         Presence::Dnd,
         Presence::Offline,
         at(1, 14, 2),
         {{}, at(1, 13, 58)}},
        {"still offline",
         {{}, at(1, 13, 58)},
         Presence::Offline,
         Presence::Offline,
         at(1, 14, 2),
         {{}, at(1, 13, 58)}},
        {"after a short restart",
         sinceNine,
         Presence::Unknown,
         Presence::Online,
         at(1, 14, 2),
         {at(1, 9, 0), at(1, 14, 2)}},
        {"the next morning",
         sinceNine,
         Presence::Unknown,
         Presence::Online,
         at(2, 9, 0),
         {at(2, 9, 0), at(2, 9, 0)}},
        {"first ever reply",
         never,
         Presence::Unknown,
         Presence::Online,
         at(1, 14, 2),
         {at(1, 14, 2), at(1, 14, 2)}},
        {"no answer yet", sinceNine, Presence::Online, Presence::Unknown, at(1, 14, 2), sinceNine},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(sightingsAfter(c.before, c.was, c.now, c.when), c.after) << c.what;
    }
}

TEST(Sightings, TipTexts) {
    const QDateTime now = at(2, 15, 30);
    const struct {
        Presence presence;
        Sightings seen;
        const char* text;
    } cases[] = {
        {Presence::Online, {at(2, 14, 2), at(2, 15, 29)}, "online since 14:02"},
        {Presence::Away, {at(1, 23, 50), at(2, 15, 29)}, "online since 2024-05-01 23:50"},
        {Presence::Offline, {{}, at(2, 0, 5)}, "last seen 00:05"},
        {Presence::Offline, {{}, at(1, 14, 2)}, "last seen 2024-05-01 14:02"},
        {Presence::Unknown, {at(2, 9, 0), at(2, 14, 2)}, "last seen 14:02"},
        {Presence::Offline, {}, "never seen"},
        {Presence::Unknown, {}, "never seen"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(seenText(c.presence, c.seen, now), c.text);
    }
}
