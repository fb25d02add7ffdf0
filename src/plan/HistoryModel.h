#pragma once

#include "channels/ChannelHistory.h"

#include <QAbstractTableModel>

#include <vector>

namespace vq {

class ChannelStore;

// The history as a list, newest first: when, why, which device, and how
// many channels differ from the table now. Only what is on screen is ever
// compared, so a history of thousands opens at once.
class HistoryModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { Time, Reason, Device, Differing, ColumnCount };

    HistoryModel(ChannelHistory &history, ChannelStore &store, QObject *parent = nullptr);

    // Reads the list again (a new snapshot, a reopened window).
    void reload();
    bool isAvailable() const { return available_; }
    qint64 idAt(int row) const;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    void tableChanged();
    const PlanRows &current() const;

    ChannelHistory &history_;
    ChannelStore &store_;
    std::vector<ChannelHistory::Entry> entries_;
    bool available_ = false;
    static constexpr int kNotCounted = -1;
    static constexpr int kUnreadable = -2;
    mutable std::vector<int> differing_; // per entry
    mutable std::optional<PlanRows> current_;
};

} // namespace vq
