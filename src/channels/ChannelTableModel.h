#pragma once

#include <QAbstractTableModel>

namespace vq {

class ChannelStore;

// The grid's view of the channel store: one row per channel in table order,
// the ten fields as columns. It holds nothing of its own; a typed value goes
// straight into the store.
class ChannelTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit ChannelTableModel(ChannelStore &store, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;

    static bool isTypedColumn(int column) { return column == 1 || column == 4; }

signals:
    // The user's text for (row, column) is in the store; the frequency check
    // runs on it next.
    void cellEdited(int row, int column);
    // The store refused a typed value; nothing changed.
    void storeFailed();

private:
    ChannelStore &store_;
};

} // namespace vq
