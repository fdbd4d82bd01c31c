#include "watch/WatchListModel.h"

#include <algorithm>
#include <unordered_map>

#include "platform/GuiThread.h"
#include "watch/RemoteTextLimits.h"
#include "watch/ShownText.h"
#include "watch/UserName.h"

namespace tesk {

int WatchListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : size();
}

int WatchListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : NumberOfColumns;
}

QVariant WatchListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= size() || role != Qt::DisplayRole) {
        return {};
    }
    const WatchRow& r = row(index.row());
    std::string text;
    switch (index.column()) {
        case User:
            text = r.name;
            break;
        case Place:
            text = placeText(r.user);
            break;
        case Program:
            text = r.user.program;
            break;
        case AwayMessage:
            text = r.user.awayMessage;
            break;
        case DndMessage:
            text = r.user.dndMessage;
            break;
        default: return {};
    }
    return shownText(text, RemoteTextLimits::kShownLineBytes);
}

QVariant WatchListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    static const char* const captions[] = {"User", "Place", "Program", "Away msg.", "DND msg."};
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= NumberOfColumns) {
        return {};
    }
    return QString(captions[section]);
}

int WatchListModel::add(const std::string& name) {
    TESK_ASSERT_GUI_THREAD();
    const auto place = std::upper_bound(
        rows_.begin(), rows_.end(), name,
        [](const std::string& n, const WatchRow& r) { return compareNames(n, r.name) < 0; });
    const int position = static_cast<int>(place - rows_.begin());
    beginInsertRows({}, position, position);
    rows_.insert(place, WatchRow{name, lowerCaseName(name), WatchedUser{}, Sightings{}});
    indexed_ = false;
    endInsertRows();
    return position;
}

void WatchListModel::assign(std::vector<std::string> names,
                            const std::vector<NamedSightings>& seen) {
    TESK_ASSERT_GUI_THREAD();
    beginResetModel();
    rows_.clear();
    rows_.reserve(names.size());
    for (std::string& name : names) {
        std::string key = lowerCaseName(name);
        rows_.push_back(WatchRow{std::move(name), std::move(key), WatchedUser{}, Sightings{}});
    }
    const auto byName = [](const WatchRow& a, const WatchRow& b) {
        return compareNames(a.name, b.name) < 0;
    };
    // Tesk.ini holds the list in its order: only a file edited by hand needs the sort.
    if (!std::is_sorted(rows_.begin(), rows_.end(), byName)) {
        std::stable_sort(rows_.begin(), rows_.end(), byName);
    }
    indexed_ = false;
    // Within the reset: a change of every row after it would make each view walk the list.
    for (const NamedSightings& entry : seen) {
        const int found = find(entry.name);
        if (found >= 0) {
            rows_[static_cast<std::size_t>(found)].seen = entry.seen;
        }
    }
    endResetModel();
}

void WatchListModel::removeRowsAt(std::vector<int> rows) {
    TESK_ASSERT_GUI_THREAD();
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    for (auto it = rows.rbegin(); it != rows.rend(); ++it) {
        if (*it < 0 || *it >= size()) {
            continue;
        }
        beginRemoveRows({}, *it, *it);
        rows_.erase(rows_.begin() + *it);
        indexed_ = false;
        endRemoveRows();
    }
}

int WatchListModel::find(const std::string& name) const {
    if (!indexed_) {
        firstRows_.clear();
        firstRows_.reserve(rows_.size());
        for (int i = 0; i < size(); ++i) {
            firstRows_.emplace(row(i).key, i);  // a later row with the same key is not taken
        }
        indexed_ = true;
    }
    const auto found = firstRows_.find(lowerCaseName(name));
    return found == firstRows_.end() ? -1 : found->second;
}

void WatchListModel::setUser(int position, const WatchedUser& user) {
    TESK_ASSERT_GUI_THREAD();
    if (position < 0 || position >= size()) {
        return;
    }
    WatchRow& row = rows_[static_cast<std::size_t>(position)];
    row.seen = sightingsAfter(row.seen, row.user.presence, user.presence, clock_());
    if (row.user == user) {
        return;  // most polls find a user where he was: nothing to repaint
    }
    row.user = user;
    emit dataChanged(index(position, 0), index(position, NumberOfColumns - 1));
}

void WatchListModel::setUnread(int position, bool unread) {
    TESK_ASSERT_GUI_THREAD();
    if (position < 0 || position >= size() || row(position).user.unread == unread) {
        return;
    }
    rows_[static_cast<std::size_t>(position)].user.unread = unread;
    emit dataChanged(index(position, 0), index(position, 0));
}

void WatchListModel::resetAll() {
    TESK_ASSERT_GUI_THREAD();
    for (WatchRow& r : rows_) {
        const bool unread = r.user.unread;
        r.user = WatchedUser{};
        r.user.unread = unread;
    }
    if (!rows_.empty()) {
        emit dataChanged(index(0, 0), index(size() - 1, NumberOfColumns - 1));
    }
}

std::vector<std::string> WatchListModel::names() const {
    std::vector<std::string> result;
    result.reserve(rows_.size());
    for (const WatchRow& r : rows_) {
        result.push_back(r.name);
    }
    return result;
}

std::vector<NamedSightings> WatchListModel::sightings() const {
    std::vector<NamedSightings> result;
    result.reserve(rows_.size());
    for (const WatchRow& r : rows_) {
        result.push_back({r.name, r.seen});
    }
    return result;
}

}  // namespace tesk
