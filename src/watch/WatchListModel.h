#pragma once

#include <QAbstractTableModel>
#include <string>
#include <vector>

#include "watch/WatchedUser.h"

namespace tesk {

// One watched user: the name as typed and the user's state.
struct WatchRow {
    std::string name;
    std::string key;  // lowerCaseName(name), for lookups
    WatchedUser user;
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
    // Replaces every row by new rows in the unknown state, sorted (loading at start).
    void assign(const std::vector<std::string>& names);
    // Removes the given rows (positions before the call).
    void removeRowsAt(std::vector<int> rows);
    // The first row, in list order, whose lower-cased name equals the lower-cased name.
    int find(const std::string& name) const;

    const WatchRow& row(int position) const { return rows_[static_cast<std::size_t>(position)]; }
    int size() const { return static_cast<int>(rows_.size()); }
    void setUser(int position, const WatchedUser& user);
    void setUnread(int position, bool unread);
    // Every row back to the unknown state; unread marks stay, their messages still wait.
    void resetAll();

    // In list order.
    std::vector<std::string> names() const;

private:
    std::vector<WatchRow> rows_;
};

}  // namespace tesk
