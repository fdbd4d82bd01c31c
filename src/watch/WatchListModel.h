#pragma once

#include <QAbstractTableModel>
#include <QDateTime>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "watch/Sightings.h"
#include "watch/WatchedUser.h"

namespace tesk {

// One watched user: the name as typed, the user's state and when he was seen.
struct WatchRow {
    std::string name;
    std::string key;  // lowerCaseName(name), for lookups
    WatchedUser user;
    Sightings seen;
};

// The watch list: rows kept sorted by name (see compareNames). It is the one record of
// the watched users; the main window's list is its view. GUI thread only.
class WatchListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { User, Place, Program, AwayMessage, DndMessage, NumberOfColumns };

    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // A new row in the unknown state at its sorted place; returns that place.
    int add(const std::string& name);
    // Replaces every row by new rows in the unknown state, sorted, with the sightings
    // stored for their names (loading at start; entries for names not in the list are
    // left out).
    void assign(std::vector<std::string> names, const std::vector<NamedSightings>& seen = {});
    // Removes the given rows (positions before the call).
    void removeRowsAt(std::vector<int> rows);
    // The first row, in list order, whose lower-cased name equals the lower-cased name.
    // Found through an index, since every whois reply looks its row up.
    int find(const std::string& name) const;

    const WatchRow& row(int position) const { return rows_[static_cast<std::size_t>(position)]; }
    int size() const { return static_cast<int>(rows_.size()); }
    // Also records the sighting the new state means (see sightingsAfter).
    void setUser(int position, const WatchedUser& user);
    void setUnread(int position, bool unread);
    // Every row back to the unknown state; unread marks stay, their messages still wait.
    void resetAll();

    // In list order.
    std::vector<std::string> names() const;

    // The time of sightings; tests set their own.
    void setClock(std::function<QDateTime()> clock) { clock_ = std::move(clock); }
    QDateTime now() const { return clock_(); }
    // Every row's sightings, in list order, as assign() takes them back.
    std::vector<NamedSightings> sightings() const;

private:
    // Made again at the first find after rows were added or removed (which moves the rows
    // behind them); a change of a row's state leaves it as it is.
    // The keys point into rows_, which stays as it is until the index is made again.
    mutable std::unordered_map<std::string_view, int> firstRows_;  // key -> its first row
    mutable bool indexed_ = false;
    std::vector<WatchRow> rows_;
    std::function<QDateTime()> clock_ = &QDateTime::currentDateTime;
};

}  // namespace tesk
