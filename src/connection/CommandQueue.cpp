#include "connection/CommandQueue.h"

#include <algorithm>

#include "platform/GuiNotice.h"
#include "platform/StopFlag.h"

namespace tesk {

std::uint64_t CommandQueue::putFront(std::string text, int entryMark) {
    return insert(true, std::move(text), entryMark);
}

void CommandQueue::putFrontInOrder(const std::vector<std::string>& texts, int entryMark) {
    std::lock_guard<std::mutex> lock(mutex_);
    for (auto text = texts.rbegin(); text != texts.rend(); ++text) {
        entries_.push_front({nextId_++, *text, entryMark});
    }
    changedLocked();
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
        changedLocked();
    }
    return id;
}

void CommandQueue::clear() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        entries_.clear();
        changedLocked();
    }
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
        changedLocked();
    }
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

void CommandQueue::addChangeNotice(std::shared_ptr<GuiNotice> notice) {
    std::lock_guard<std::mutex> lock(mutex_);
    changeNotices_.push_back(std::move(notice));
}

void CommandQueue::removeChangeNotice(const std::shared_ptr<GuiNotice>& notice) {
    std::lock_guard<std::mutex> lock(mutex_);
    changeNotices_.erase(std::remove(changeNotices_.begin(), changeNotices_.end(), notice),
                         changeNotices_.end());
}

void CommandQueue::notifyLocked() {
    ++wakeCount_;
    wakeCv_.notify_all();
}

// Asking only posts to the GUI thread and never waits, so it may happen under the lock.
void CommandQueue::changedLocked() {
    notifyLocked();
    for (const auto& notice : changeNotices_) {
        notice->ask();
    }
}

}  // namespace tesk
