#include "ui/CommandQueueModel.h"

#include <unordered_set>

#include "platform/GuiNotice.h"
#include "platform/GuiThread.h"
#include "watch/RemoteTextLimits.h"
#include "watch/ShownText.h"

namespace tesk {

// The queue asks the notice on whichever thread changed it; the notice merges the asks of
// a burst into one refresh here, which reads the queue once after all of them.
CommandQueueModel::CommandQueueModel(CommandQueue& queue, QObject* parent)
    : QAbstractListModel(parent),
      queue_(queue),
      changeNotice_(std::make_shared<GuiNotice>([this] { refresh(); })) {
    queue_.addChangeNotice(changeNotice_);
    rows_ = queue_.entries();  // after joining: a change in between brings a refresh
}

CommandQueueModel::~CommandQueueModel() {
    queue_.removeChangeNotice(changeNotice_);
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

// The queue only inserts at its ends and removes; entries never move or change. The rows
// still present therefore keep their order, and dropping the vanished rows and inserting
// the new ones where they stand turns the old list into the new one.
void CommandQueueModel::refresh() {
    TESK_ASSERT_GUI_THREAD();
    const std::vector<CommandEntry> now = queue_.entries();
    std::unordered_set<std::uint64_t> present;
    for (const CommandEntry& entry : now) {
        present.insert(entry.id);
    }
    const auto gone = [&](std::size_t row) { return present.count(rows_[row].id) == 0; };

    for (std::size_t end = rows_.size(); end > 0;) {
        if (!gone(end - 1)) {
            --end;
            continue;
        }
        std::size_t first = end - 1;
        while (first > 0 && gone(first - 1)) {
            --first;
        }
        beginRemoveRows(QModelIndex(), static_cast<int>(first), static_cast<int>(end - 1));
        rows_.erase(rows_.begin() + first, rows_.begin() + end);
        endRemoveRows();
        end = first;
    }

    for (std::size_t row = 0; row < now.size();) {
        const bool known = row < rows_.size();
        if (known && rows_[row].id == now[row].id) {
            ++row;
            continue;
        }
        std::size_t end = row + 1;
        while (end < now.size() && !(known && now[end].id == rows_[row].id)) {
            ++end;
        }
        beginInsertRows(QModelIndex(), static_cast<int>(row), static_cast<int>(end - 1));
        rows_.insert(rows_.begin() + row, now.begin() + row, now.begin() + end);
        endInsertRows();
        row = end;
    }
}

}  // namespace tesk
