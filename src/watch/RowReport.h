#pragma once

#include <string>

namespace tesk {

struct WatchedUser;

// What the gateway reported of a watched user as a line of text, e.g.
// "alice online, channel: Foo, program: Starcraft" or "bob away, ..., away: lunch"; an
// offline line ends with when he was seen (seenText): "bob offline, last seen 14:02".
std::string describeRow(const std::string& name, const WatchedUser& user, const std::string& seen);

}  // namespace tesk
