#include "watch/StrangerWhispers.h"

#include <algorithm>

#include "watch/ServerReplies.h"

namespace tesk {

namespace {

std::string partnerKey(const std::string& name) {
    return windowKey(name, "ChatForm");
}

std::size_t bytesOf(const HeldWhisper& whisper) {
    return whisper.speaker.size() + whisper.text.size() + whisper.refusal.value_or("").size();
}

}  // namespace

StrangerWhispers::StrangerWhispers(const RemoteTextLimits& limits)
    : limits_(limits),
      windows_(limits.strangerWindows, limits.strangerPeriod),
      heldNotices_(limits.strangerWindows, limits.strangerPeriod) {}

bool StrangerWhispers::Quota::take(Clock::time_point now) {
    while (!taken_.empty() && now - taken_.front() >= period_) {
        taken_.pop_front();
    }
    if (taken_.size() >= count_) {
        return false;
    }
    taken_.push_back(now);
    return true;
}

std::size_t StrangerWhispers::indexOf(const std::string& partner) const {
    const std::string key = partnerKey(partner);
    const auto found = std::find_if(held_.begin(), held_.end(),
                                    [&key](const Partner& held) { return held.key == key; });
    return static_cast<std::size_t>(found - held_.begin());
}

bool StrangerWhispers::isHeld(const std::string& partner) const {
    return indexOf(partner) < held_.size();
}

bool StrangerWhispers::hold(const std::string& partner, HeldWhisper whisper) {
    const std::size_t bytes = bytesOf(whisper);
    if (heldBytes_ + bytes > limits_.heldBytes) {
        return false;
    }
    const std::size_t index = indexOf(partner);
    if (index == held_.size()) {
        if (held_.size() >= static_cast<std::size_t>(limits_.heldPartners)) {
            return false;
        }
        held_.push_back(Partner{partner, partnerKey(partner), {}});
    }
    held_[index].lines.push_back(std::move(whisper));
    heldBytes_ += bytes;
    return true;
}

std::vector<std::string> StrangerWhispers::partners() const {
    std::vector<std::string> names;
    for (const Partner& partner : held_) {
        names.push_back(partner.name);
    }
    return names;
}

std::size_t StrangerWhispers::heldLines() const {
    std::size_t lines = 0;
    for (const Partner& partner : held_) {
        lines += partner.lines.size();
    }
    return lines;
}

std::vector<HeldWhisper> StrangerWhispers::release(const std::string& partner) {
    const std::size_t index = indexOf(partner);
    if (index == held_.size()) {
        return {};
    }
    std::vector<HeldWhisper> lines = std::move(held_[index].lines);
    for (const HeldWhisper& line : lines) {
        heldBytes_ -= bytesOf(line);
    }
    held_.erase(held_.begin() + static_cast<std::ptrdiff_t>(index));
    return lines;
}

}  // namespace tesk
