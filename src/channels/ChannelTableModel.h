#pragma once

#include <QAbstractTableModel>

#include <functional>

namespace vq {

class ChannelStore;

// The grid's view of the channel store: one row per channel in table order,
// the ten fields as columns. It holds nothing of its own; a typed value goes
// to the edit handler, which decides what the store gets.
class ChannelTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using EditHandler = std::function<void(int row, int column, const QString &text)>;
    // What the grid should say about a row beyond its values (why it may
    // not be used where the user is); empty for nothing.
    using RowNotes = std::function<QString(int row)>;
    // True for a row with notes, which the grid marks.
    static constexpr int kNotedRole = Qt::UserRole + 1;

    explicit ChannelTableModel(ChannelStore &store, QObject *parent = nullptr);
    // Without a handler the grid is read-only.
    void setEditHandler(EditHandler handler) { editHandler_ = std::move(handler); }
    // The notes show as a row's tool tip and accessible description.
    void setRowNotes(RowNotes notes) { rowNotes_ = std::move(notes); }
    void notesChanged();

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;

    static bool isTypedColumn(int column) { return column == 1 || column == 4; }

private:
    ChannelStore &store_;
    EditHandler editHandler_;
    RowNotes rowNotes_;
};

} // namespace vq
