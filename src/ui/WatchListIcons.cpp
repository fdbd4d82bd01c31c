#include "ui/WatchListIcons.h"

#include "ui/ImageList.h"
#include "ui/StatePictures.h"
#include "watch/ShownText.h"
#include "watch/UserCommands.h"
#include "watch/WatchListModel.h"

namespace tesk {

const WatchRow& WatchListIcons::rowAt(const QModelIndex& index) const {
    const auto* list = static_cast<const WatchListModel*>(sourceModel());
    return list->row(mapToSource(index).row());
}

QVariant WatchListIcons::data(const QModelIndex& index, int role) const {
    if (index.isValid() && role == Qt::DecorationRole && index.column() == WatchListModel::User) {
        return images::icon(pictureFor(rowAt(index).user));
    }
    if (index.isValid() && role == Qt::ToolTipRole) {
        const auto* list = static_cast<const WatchListModel*>(sourceModel());
        const WatchRow& row = rowAt(index);
        return plainToolTip(
            userInfoTip(row.name, row.user, seenText(row.user.presence, row.seen, list->now())));
    }
    return QIdentityProxyModel::data(index, role);
}

}  // namespace tesk
