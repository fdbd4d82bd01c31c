#pragma once

#include <QString>
#include <string>

#include "connection/ConnectionStatus.h"

namespace tesk {

struct WatchedUser;

// A name whose first "@" stands after its first character is a Warcraft III account.
bool isWarcraftIIIName(const std::string& name);

// Which entries of a Statistics menu a name gets. The classic gateway keeps Warcraft III
// records for "name@gateway" accounts only, and the others for the other names; a PvPGN
// server keeps every product's for every name (which has no gateway part) and has no
// profile page.
struct StatsEntries {
    bool warcraftIII = false;  // "Warcraft III"
    bool otherGames = true;    // the Starcraft, Warcraft II and "All" entries
    bool profile = false;      // "Player profile"
};
StatsEntries statsEntriesFor(const std::string& name, bool pvpgn);

// Which entries of the "User" menu the selection offers.
struct UserMenuState : StatsEntries {
    bool chat = false;
    bool statistics = false;
};
UserMenuState userMenuFor(int selectedRows, ConnectionStatus status, bool anonymous,
                          const std::string& firstSelectedName, bool pvpgn = false);

// The player-profile web page. Both parts are percent-encoded, so a name holding "&"
// or "#" cannot change the query.
QString playerProfileUrl(const std::string& name);

// The information tip of a row: the full name (the narrow list cuts long ones), then its
// non-empty columns and when the user was seen (seenText) as "* " lines.
QString userInfoTip(const std::string& name, const WatchedUser& user, const std::string& seen);

// "/stats " + name + " " + product code.
std::string statsCommand(const std::string& name, const char* productCode);

}  // namespace tesk
