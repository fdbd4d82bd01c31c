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

// The outgoing command queue. Every operation is atomic with respect to the others and
// may be called from any thread. User actions put entries at the front, the polling
// cycle appends at the back; the writer reads the front and removes exactly the entry
// it sent. Every change asks the views' notices, so views on the GUI thread follow.
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

    void addChangeNotice(std::shared_ptr<GuiNotice> notice);
    void removeChangeNotice(const std::shared_ptr<GuiNotice>& notice);

private:
    std::uint64_t insert(bool atFront, std::string text, int entryMark);
    void notifyLocked();   // wakes the writer
    void changedLocked();  // wakes the writer and asks the change notices

    mutable std::mutex mutex_;
    mutable std::condition_variable wakeCv_;
    std::deque<CommandEntry> entries_;  // front of the queue first
    std::uint64_t nextId_ = 1;
    std::uint64_t wakeCount_ = 0;
    std::vector<std::shared_ptr<GuiNotice>> changeNotices_;
};

}  // namespace tesk
