#pragma once

#include <QIdentityProxyModel>

namespace tesk {

struct WatchRow;

// Shows each watch list row's state as the picture left of its name, and its columns and
// when the user was seen as the row's information tip.
class WatchListIcons : public QIdentityProxyModel {
    Q_OBJECT
public:
    using QIdentityProxyModel::QIdentityProxyModel;
    QVariant data(const QModelIndex& index, int role) const override;

private:
    const WatchRow& rowAt(const QModelIndex& index) const;
};

}  // namespace tesk
