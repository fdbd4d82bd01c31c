#pragma once

#include <QDateTime>
#include <string>

#include "watch/WatchedUser.h"

namespace tesk {

// When TESK saw a watched user: since when he has been online without a log-off in
// between, and the last reply that showed him online. Invalid when not known.
struct Sightings {
    QDateTime onlineSince;
    QDateTime lastSeen;

    bool operator==(const Sightings& other) const {
        return onlineSince == other.onlineSince && lastSeen == other.lastSeen;
    }
};

// A watched user's sightings by name, as Tesk.ini keeps them.
struct NamedSightings {
    std::string name;
    Sightings seen;
};

// The sightings after a reply that moved the user from `before` to `now` at `at`. Any
// reply that leaves him online, away or refusing messages sees him; an offline one ends
// his time online. Across a time when TESK could not tell (a restart, a lost connection)
// a sighting continues the time online only when the previous one is recent, since a
// log-off may have gone unseen.
Sightings sightingsAfter(const Sightings& seen, Presence before, Presence now, const QDateTime& at);

// For the row's tip and the headless report: "online since 14:02", "last seen 14:02"
// (a clock time today, a date and time for an earlier day), or "never seen".
std::string seenText(Presence presence, const Sightings& seen, const QDateTime& now);

}  // namespace tesk
