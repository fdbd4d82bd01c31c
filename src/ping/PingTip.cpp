#include "ping/PingTip.h"

namespace tesk {

std::string withPingPart(const std::string& tip, const std::string& pingText) {
    std::string result = tip;
    const auto open = result.find(" (");
    const auto close = result.find(") ");
    if (open != std::string::npos && close != std::string::npos) {
        result.erase(open, close + 1);  // erase() stops at the end by itself
    }
    return result + " (" + pingText + ") ";
}

}  // namespace tesk
