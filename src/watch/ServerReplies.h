#pragma once

#include <string>

namespace tesk {

// "_" + the folded name + suffix ("ChatForm", "StatsForm"): each of [ ] ( ) - . # @
// becomes "_" and the whole is lower-cased, so names differing only in those
// characters or in letter case share one window.
std::string windowKey(const std::string& userName, const char* suffix);

}  // namespace tesk
