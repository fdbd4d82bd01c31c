#pragma once

#include <string>

namespace tesk {

// The tray tip with its ping part replaced by " (" + pingText + ") ". The old part is cut
// from the first " (" on, as many characters as the 1-based position of the first ") ",
// at most to the end of the tip; that count takes the whole part when it ends the tip,
// as in every tip the program builds. Without either marker nothing is cut.
std::string withPingPart(const std::string& tip, const std::string& pingText);

}  // namespace tesk
