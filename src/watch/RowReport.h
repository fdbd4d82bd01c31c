#pragma once

#include <string>

namespace tesk {

struct WatchRowState;

// One watched user's state as a line of text, e.g.
// "alice online, channel: Foo, program: Starcraft" or "bob away, ..., away: lunch".
std::string describeRow(const std::string& name, const WatchRowState& state);

}  // namespace tesk
