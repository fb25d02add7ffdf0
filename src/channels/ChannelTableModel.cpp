#include "channels/ChannelTableModel.h"

#include "channels/ChannelStore.h"
#include "channels/ValueDomains.h"

#include <QCoreApplication>

namespace vq {

namespace {
// The captions are interface, looked up when drawn; the field names
// behind them are the table's own and never change.
[[maybe_unused]] const char *const kCaptions[] = {
    QT_TRANSLATE_NOOP("vq::columns", "信道号        "),
    QT_TRANSLATE_NOOP("vq::columns", "接收频率 (MHz)    "),
    QT_TRANSLATE_NOOP("vq::columns", "哑音(Hz)          "),
    QT_TRANSLATE_NOOP("vq::columns", "数字哑音          "),
    QT_TRANSLATE_NOOP("vq::columns", "发送频率 (MHz)"),
    QT_TRANSLATE_NOOP("vq::columns", "扫描     "),
    QT_TRANSLATE_NOOP("vq::columns", "拍频      "),
};
} // namespace

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
    if (!index.isValid())
        return {};
    if (role == Qt::ToolTipRole || role == Qt::AccessibleDescriptionRole || role == kNotedRole) {
        const QString notes = rowNotes_ ? rowNotes_(index.row()) : QString();
        if (role == kNotedRole)
            return !notes.isEmpty();
        return notes.isEmpty() ? QVariant() : QVariant(notes);
    }
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return {};
    const FieldValue value = store_.field(index.row(), index.column());
    if (!value)
        return role == Qt::EditRole ? QVariant(QString()) : QVariant();
    return QString::fromStdString(*value);
}

void ChannelTableModel::notesChanged()
{
    if (rowCount() == 0)
        return;
    emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1),
                     {Qt::ToolTipRole, Qt::AccessibleDescriptionRole, kNotedRole});
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
    return QCoreApplication::translate("vq::columns", std::string(caption).c_str());
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
