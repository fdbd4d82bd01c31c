#include "watch/Sightings.h"

#include <chrono>

namespace tesk {

namespace {

// Longer than a polling cycle of a usual watch list, short enough that a user who logged
// off while TESK was closed overnight does not seem to have been online since yesterday.
constexpr std::chrono::minutes kUnseenGap{10};

bool isOnline(Presence presence) {
    return presence == Presence::Online || presence == Presence::Away || presence == Presence::Dnd;
}

std::string clockText(const QDateTime& at, const QDateTime& now) {
    const QDateTime local = at.toLocalTime();
    const QString format = local.date() == now.toLocalTime().date()
                               ? QStringLiteral("hh:mm")
                               : QStringLiteral("yyyy-MM-dd hh:mm");
    return local.toString(format).toStdString();
}

}  // namespace

Sightings sightingsAfter(const Sightings& seen, Presence before, Presence now,
                         const QDateTime& at) {
    Sightings after = seen;
    if (now == Presence::Offline) {
        after.onlineSince = {};
    } else if (isOnline(now)) {
        const bool continues =
            isOnline(before) ||
            (before == Presence::Unknown && seen.lastSeen.isValid() &&
             seen.lastSeen.secsTo(at) <= std::chrono::seconds(kUnseenGap).count());
        if (!continues || !after.onlineSince.isValid()) {
            after.onlineSince = at;
        }
        after.lastSeen = at;
    }
    return after;
}

std::string seenText(Presence presence, const Sightings& seen, const QDateTime& now) {
    if (isOnline(presence) && seen.onlineSince.isValid()) {
        return "online since " + clockText(seen.onlineSince, now);
    }
    if (seen.lastSeen.isValid()) {
        return "last seen " + clockText(seen.lastSeen, now);
    }
    return "never seen";
}

}  // namespace tesk
