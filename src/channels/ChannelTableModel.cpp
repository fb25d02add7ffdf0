#include "channels/ChannelTableModel.h"

#include "channels/ChannelStore.h"
#include "channels/ValueDomains.h"

namespace vq {

ChannelTableModel::ChannelTableModel(ChannelStore &store, QObject *parent)
    : QAbstractTableModel(parent), store_(store)
{
    connect(&store_, &ChannelStore::rowsChanged, this,
            [this](int first, int last) { emit dataChanged(index(first, 0), index(last, kFieldCount - 1)); });
    connect(&store_, &ChannelStore::rowCountAboutToChange, this, &ChannelTableModel::beginResetModel);
    connect(&store_, &ChannelStore::rowCountChanged, this, &ChannelTableModel::endResetModel);
}

int ChannelTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : store_.rowCount();
}

int ChannelTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : kFieldCount;
}

QVariant ChannelTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole))
        return {};
    const FieldValue value = store_.field(index.row(), index.column());
    if (!value)
        return role == Qt::EditRole ? QVariant(QString()) : QVariant();
    return QString::fromStdString(*value);
}

QVariant ChannelTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return QString();
    if (section < 0 || section >= kFieldCount)
        return {};
    const auto caption = columnCaptions()[static_cast<std::size_t>(section)];
    return QString::fromUtf8(caption.data(), static_cast<qsizetype>(caption.size()));
}

Qt::ItemFlags ChannelTableModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (isTypedColumn(index.column()) && editHandler_)
        f |= Qt::ItemIsEditable;
    return f;
}

bool ChannelTableModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid() || role != Qt::EditRole || !isTypedColumn(index.column()) || !editHandler_)
        return false;
    editHandler_(index.row(), index.column(), value.toString());
    return true;
}

} // namespace vq
