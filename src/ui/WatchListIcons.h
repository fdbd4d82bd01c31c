#pragma once

#include <QIdentityProxyModel>

namespace tesk {

// Shows each watch list row's state image as the picture left of its name, and its
// columns as the row's information tip.
class WatchListIcons : public QIdentityProxyModel {
    Q_OBJECT
public:
    using QIdentityProxyModel::QIdentityProxyModel;
    QVariant data(const QModelIndex& index, int role) const override;
};

}  // namespace tesk
