#include "ui/WatchListIcons.h"

#include "ui/ImageList.h"
#include "watch/ShownText.h"
#include "watch/UserCommands.h"
#include "watch/WatchListModel.h"

namespace tesk {

QVariant WatchListIcons::data(const QModelIndex& index, int role) const {
    if (role == Qt::DecorationRole && index.column() == WatchListModel::User) {
        return images::icon(QIdentityProxyModel::data(index, WatchListModel::ImageRole).toInt());
    }
    if (role == Qt::ToolTipRole && index.isValid()) {
        const auto* list = static_cast<const WatchListModel*>(sourceModel());
        const WatchRow& row = list->row(mapToSource(index).row());
        return plainToolTip(userInfoTip(row.name, row.state));
    }
    return QIdentityProxyModel::data(index, role);
}

}  // namespace tesk
