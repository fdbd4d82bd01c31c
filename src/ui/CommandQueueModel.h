#pragma once

#include <QAbstractListModel>
#include <deque>
#include <memory>

#include "connection/CommandQueue.h"

namespace tesk {

class GuiNotice;

// The command queue as a one-column list, front entry in the first row. The queue changes
// on any thread; the model replays its changes on its own thread, once per burst of them,
// at a cost that does not grow with the queue. Rows are removed and inserted in place
// rather than reset, so a selection and the scroll position survive the writer taking
// entries off the front.
class CommandQueueModel : public QAbstractListModel {
    Q_OBJECT
public:
    static constexpr int kMarkRole = Qt::UserRole;  // the entry's mark, never displayed

    explicit CommandQueueModel(CommandQueue& queue, QObject* parent = nullptr);
    ~CommandQueueModel() override;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    void catchUp();
    void insert(int row, const std::vector<CommandEntry>& entries);
    void remove(std::uint64_t id);

    CommandQueue& queue_;
    const std::shared_ptr<GuiNotice> changeNotice_;
    std::deque<CommandEntry> rows_;
};

}  // namespace tesk
