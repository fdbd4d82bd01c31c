#include "platform/PendingSounds.h"

#include <utility>

namespace tesk {

bool PendingSounds::add(std::string file, Clock::time_point now) {
    if (sounds_.size() >= kMaxPending) {
        return false;
    }
    sounds_.push_back({std::move(file), now});
    return true;
}

std::optional<PendingSounds::Sound> PendingSounds::takeFresh(Clock::time_point now) {
    while (!sounds_.empty()) {
        Sound sound = std::move(sounds_.front());
        sounds_.pop_front();
        if (!sound.isStale(now)) {
            return sound;
        }
    }
    return std::nullopt;
}

}  // namespace tesk
