#include "ui/CommandQueueModel.h"

#include <algorithm>

#include "platform/GuiNotice.h"
#include "platform/GuiThread.h"
#include "watch/RemoteTextLimits.h"
#include "watch/ShownText.h"

namespace tesk {

// The queue asks the notice on whichever thread changed it; the notice merges the asks of
// a burst into one run here, which replays every change kept since the last.
CommandQueueModel::CommandQueueModel(CommandQueue& queue, QObject* parent)
    : QAbstractListModel(parent),
      queue_(queue),
      changeNotice_(std::make_shared<GuiNotice>([this] { catchUp(); })) {
    const std::vector<CommandEntry> now = queue_.follow(changeNotice_);
    rows_.assign(now.begin(), now.end());
}

CommandQueueModel::~CommandQueueModel() {
    queue_.unfollow(changeNotice_);
    changeNotice_->cancel();
}

int CommandQueueModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

QVariant CommandQueueModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) {
        return {};
    }
    const CommandEntry& entry = rows_[static_cast<std::size_t>(index.row())];
    if (role == Qt::DisplayRole) {
        return shownText(entry.text, RemoteTextLimits::kShownLineBytes);
    }
    if (role == kMarkRole) {
        return entry.mark;
    }
    return {};
}

QVariant CommandQueueModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (section == 0 && orientation == Qt::Horizontal && role == Qt::DisplayRole) {
        return QStringLiteral("Command Queue");
    }
    return {};
}

void CommandQueueModel::catchUp() {
    TESK_ASSERT_GUI_THREAD();
    for (const QueueChange& change : queue_.takeChanges(changeNotice_)) {
        switch (change.kind) {
            case QueueChange::Kind::PutFront:
                insert(0, change.entries);
                break;
            case QueueChange::Kind::PutBack:
                insert(rowCount(), change.entries);
                break;
            case QueueChange::Kind::Removed:
                remove(change.id);
                break;
            case QueueChange::Kind::Cleared:
                if (!rows_.empty()) {
                    beginRemoveRows(QModelIndex(), 0, rowCount() - 1);
                    rows_.clear();
                    endRemoveRows();
                }
                break;
        }
    }
}

void CommandQueueModel::insert(int row, const std::vector<CommandEntry>& entries) {
    if (entries.empty()) {
        return;
    }
    beginInsertRows(QModelIndex(), row, row + static_cast<int>(entries.size()) - 1);
    rows_.insert(rows_.begin() + row, entries.begin(), entries.end());
    endInsertRows();
}

// The writer removes the entry it has just sent from the front, so the search ends at
// once but for a command put in front of it meanwhile.
void CommandQueueModel::remove(std::uint64_t id) {
    const auto found = std::find_if(rows_.begin(), rows_.end(),
                                    [id](const CommandEntry& entry) { return entry.id == id; });
    if (found == rows_.end()) {
        return;
    }
    const int row = static_cast<int>(found - rows_.begin());
    beginRemoveRows(QModelIndex(), row, row);
    rows_.erase(found);
    endRemoveRows();
}

}  // namespace tesk
