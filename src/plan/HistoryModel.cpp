#include "plan/HistoryModel.h"

#include "channels/ChannelStore.h"
#include "plan/Notice.h"
#include "plan/StoreTexts.h"

namespace vq {

HistoryModel::HistoryModel(ChannelHistory &history, ChannelStore &store, QObject *parent)
    : QAbstractTableModel(parent), history_(history), store_(store)
{
    connect(&history_, &ChannelHistory::added, this, &HistoryModel::reload);
    connect(&store_, &ChannelStore::rowsChanged, this, &HistoryModel::tableChanged);
    connect(&store_, &ChannelStore::rowCountChanged, this, &HistoryModel::tableChanged);
    reload();
}

void HistoryModel::reload()
{
    beginResetModel();
    available_ = history_.isAvailable();
    entries_ = history_.entries();
    differing_.assign(entries_.size(), kNotCounted);
    endResetModel();
}

void HistoryModel::tableChanged()
{
    current_.reset();
    std::fill(differing_.begin(), differing_.end(), kNotCounted);
    if (!entries_.empty())
        emit dataChanged(index(0, Differing), index(rowCount() - 1, Differing));
}

const PlanRows &HistoryModel::current() const
{
    if (!current_)
        current_ = planRows(store_);
    return *current_;
}

qint64 HistoryModel::idAt(int row) const
{
    if (row < 0 || row >= rowCount())
        return 0;
    return entries_[static_cast<std::size_t>(row)].id;
}

int HistoryModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(entries_.size());
}

int HistoryModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant HistoryModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount() || (role != Qt::DisplayRole && role != Qt::ToolTipRole))
        return {};
    const auto row = static_cast<std::size_t>(index.row());
    const ChannelHistory::Entry &entry = entries_[row];
    switch (index.column()) {
    case Time:
        return entry.time.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    case Reason:
        return texts::snapshotReason(entry.reason);
    case Device:
        return entry.device;
    case Differing:
        if (differing_[row] == kNotCounted) {
            const std::optional<PlanRows> then = history_.rows(entry.id);
            differing_[row] =
                then ? static_cast<int>(ChannelHistory::differingRows(*then, current()).size()) : kUnreadable;
        }
        // A damaged line says so rather than pretending to match the table.
        return differing_[row] == kUnreadable ? QVariant(QCoreApplication::translate("vq::texts", "无法读取"))
                                              : QVariant(differing_[row]);
    default:
        return {};
    }
}

QVariant HistoryModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case Time:
        return QCoreApplication::translate("vq::texts", "时间");
    case Reason:
        return QCoreApplication::translate("vq::texts", "原因");
    case Device:
        return QCoreApplication::translate("vq::texts", "设备或文件");
    case Differing:
        return QCoreApplication::translate("vq::texts", "与当前不同的信道");
    default:
        return {};
    }
}

} // namespace vq
