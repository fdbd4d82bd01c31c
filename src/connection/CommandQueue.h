#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace tesk {

class GuiNotice;
class StopFlag;

// Entry marks: what made an entry. The writer sends every mark of 1 or more alike and
// treats 0 or less as the control marker that ends a polling cycle.
namespace mark {
constexpr int kControl = 0;
constexpr int kProgram = 1;
constexpr int kConsole = 2;
}  // namespace mark

struct CommandEntry {
    std::uint64_t id = 0;  // unique for the life of the queue
    std::string text;      // the line to send, without its line end
    int mark = mark::kProgram;
    bool operator==(const CommandEntry& other) const {
        return id == other.id && text == other.text && mark == other.mark;
    }
};

// One change of the queue, as a view that follows the queue replays it.
struct QueueChange {
    enum class Kind { PutFront, PutBack, Removed, Cleared };
    Kind kind = Kind::PutBack;
    std::vector<CommandEntry> entries;  // what was put, in queue order
    std::uint64_t id = 0;               // what was removed
};

// The outgoing command queue. Every operation is atomic with respect to the others and
// may be called from any thread. User actions put entries at the front, the polling
// cycle appends at the back; the writer reads the front and removes exactly the entry
// it sent. Views on the GUI thread follow it by its changes: a list of a hundred
// thousand waiting commands is not copied for each one sent.
class CommandQueue {
public:
    std::uint64_t putFront(std::string text, int entryMark);
    // Lines that leave in this order, ahead of everything waiting. Put in one step, so
    // that the writer never sends a later one before an earlier one.
    void putFrontInOrder(const std::vector<std::string>& texts, int entryMark);
    std::uint64_t putBack(std::string text, int entryMark);
    void clear();
    bool remove(std::uint64_t id);

    std::size_t size() const;
    std::optional<CommandEntry> front() const;
    std::vector<CommandEntry> entries() const;  // front first

    // Writer wake-up without lost signals: read wakeCount() before looking at the
    // queue, then waitForWake() returns at once if anything changed since.
    std::uint64_t wakeCount() const;
    void wake();
    void waitForWake(std::uint64_t seen, const StopFlag& stop) const;

    // A view starts following with the entries of this moment; from then on every change
    // is kept for it and its notice asked, and takeChanges() hands over those kept since.
    std::vector<CommandEntry> follow(std::shared_ptr<GuiNotice> notice);
    void unfollow(const std::shared_ptr<GuiNotice>& notice);
    std::vector<QueueChange> takeChanges(const std::shared_ptr<GuiNotice>& notice);

private:
    struct Follower {
        std::shared_ptr<GuiNotice> notice;
        std::vector<QueueChange> changes;  // oldest first
    };

    std::uint64_t insert(bool atFront, std::string text, int entryMark);
    void notifyLocked();  // wakes the writer
    // Wakes the writer and keeps the change for the followers.
    void changedLocked(const QueueChange& change);

    mutable std::mutex mutex_;
    mutable std::condition_variable wakeCv_;
    std::deque<CommandEntry> entries_;  // front of the queue first
    std::uint64_t nextId_ = 1;
    std::uint64_t wakeCount_ = 0;
    std::vector<Follower> followers_;
};

}  // namespace tesk
