#include "connection/CommandQueue.h"

#include <algorithm>

#include "platform/StopFlag.h"

namespace tesk {

std::uint64_t CommandQueue::putFront(std::string text, int entryMark) {
    return insert(true, std::move(text), entryMark);
}

std::uint64_t CommandQueue::putBack(std::string text, int entryMark) {
    return insert(false, std::move(text), entryMark);
}

std::uint64_t CommandQueue::insert(bool atFront, std::string text, int entryMark) {
    std::uint64_t id = 0;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        id = nextId_++;
        CommandEntry entry{id, std::move(text), entryMark};
        if (atFront) {
            entries_.push_front(std::move(entry));
        } else {
            entries_.push_back(std::move(entry));
        }
        notifyLocked();
    }
    emit changed();
    return id;
}

void CommandQueue::clear() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        entries_.clear();
        notifyLocked();
    }
    emit changed();
}

bool CommandQueue::remove(std::uint64_t id) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        const auto found = std::find_if(entries_.begin(), entries_.end(),
                                        [id](const CommandEntry& e) { return e.id == id; });
        if (found == entries_.end()) {
            return false;
        }
        entries_.erase(found);
        notifyLocked();
    }
    emit changed();
    return true;
}

std::size_t CommandQueue::size() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return entries_.size();
}

std::optional<CommandEntry> CommandQueue::front() const {
    std::lock_guard<std::mutex> lock(mutex_);
    if (entries_.empty()) {
        return std::nullopt;
    }
    return entries_.front();
}

std::vector<CommandEntry> CommandQueue::entries() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return {entries_.begin(), entries_.end()};
}

std::uint64_t CommandQueue::wakeCount() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return wakeCount_;
}

void CommandQueue::wake() {
    std::lock_guard<std::mutex> lock(mutex_);
    notifyLocked();
}

void CommandQueue::waitForWake(std::uint64_t seen, const StopFlag& stop) const {
    std::unique_lock<std::mutex> lock(mutex_);
    wakeCv_.wait(lock, [&] { return wakeCount_ != seen || stop.raised(); });
}

void CommandQueue::notifyLocked() {
    ++wakeCount_;
    wakeCv_.notify_all();
}

}  // namespace tesk
