#include "connection/CommandQueue.h"

#include <algorithm>
#include <utility>

#include "platform/GuiNotice.h"
#include "platform/StopFlag.h"

namespace tesk {

std::uint64_t CommandQueue::putFront(std::string text, int entryMark) {
    return insert(true, std::move(text), entryMark);
}

void CommandQueue::putFrontInOrder(const std::vector<std::string>& texts, int entryMark) {
    std::lock_guard<std::mutex> lock(mutex_);
    QueueChange change{QueueChange::Kind::PutFront, {}, 0};
    for (const std::string& text : texts) {
        change.entries.push_back({nextId_++, text, entryMark});
    }
    entries_.insert(entries_.begin(), change.entries.begin(), change.entries.end());
    changedLocked(change);
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
            entries_.push_front(entry);
        } else {
            entries_.push_back(entry);
        }
        changedLocked({atFront ? QueueChange::Kind::PutFront : QueueChange::Kind::PutBack,
                       {std::move(entry)},
                       0});
    }
    return id;
}

void CommandQueue::clear() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        entries_.clear();
        changedLocked({QueueChange::Kind::Cleared, {}, 0});
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
        changedLocked({QueueChange::Kind::Removed, {}, id});
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

std::vector<CommandEntry> CommandQueue::follow(std::shared_ptr<GuiNotice> notice) {
    std::lock_guard<std::mutex> lock(mutex_);
    followers_.push_back({std::move(notice), {}});
    return {entries_.begin(), entries_.end()};
}

void CommandQueue::unfollow(const std::shared_ptr<GuiNotice>& notice) {
    std::lock_guard<std::mutex> lock(mutex_);
    followers_.erase(std::remove_if(followers_.begin(), followers_.end(),
                                    [&](const Follower& f) { return f.notice == notice; }),
                     followers_.end());
}

std::vector<QueueChange> CommandQueue::takeChanges(const std::shared_ptr<GuiNotice>& notice) {
    std::lock_guard<std::mutex> lock(mutex_);
    for (Follower& follower : followers_) {
        if (follower.notice == notice) {
            return std::exchange(follower.changes, {});
        }
    }
    return {};
}

void CommandQueue::notifyLocked() {
    ++wakeCount_;
    wakeCv_.notify_all();
}

// Asking only posts to the GUI thread and never waits, so it may happen under the lock.
// Puts at the same end in a row are kept as one, so that a polling cycle reaches a view
// as one insertion; after a clear, nothing before it matters to a view any more.
void CommandQueue::changedLocked(const QueueChange& change) {
    notifyLocked();
    for (Follower& follower : followers_) {
        std::vector<QueueChange>& changes = follower.changes;
        if (change.kind == QueueChange::Kind::Cleared) {
            changes.clear();
        }
        QueueChange* last = changes.empty() ? nullptr : &changes.back();
        const bool put =
            change.kind == QueueChange::Kind::PutBack || change.kind == QueueChange::Kind::PutFront;
        if (put && last != nullptr && last->kind == change.kind) {
            const auto at = change.kind == QueueChange::Kind::PutBack ? last->entries.end()
                                                                      : last->entries.begin();
            last->entries.insert(at, change.entries.begin(), change.entries.end());
        } else {
            changes.push_back(change);
        }
        follower.notice->ask();
    }
}

}  // namespace tesk
