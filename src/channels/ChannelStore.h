#pragma once

#include "channels/ChannelRecord.h"

#include <QObject>
#include <QString>

#include <vector>

namespace vq {

// The channel plan: table 信道表 of an SQLite file, one row per channel,
// ten text fields addressed by position. Every writer goes through here and
// every write reaches the file at once; a batch is one transaction. Rows are
// identified by SQLite's rowid and kept in rowid (insertion) order.
class ChannelStore : public QObject {
    Q_OBJECT
public:
    enum class OpenError { None, CannotOpen, NotADatabase, NoTable, TooFewColumns };

    struct Change {
        int row;
        int field;
        FieldValue value;
    };

    explicit ChannelStore(QObject *parent = nullptr);
    ~ChannelStore() override;

    // Opens an existing file as it is, or creates a missing one with the
    // table and 50 channels numbered "1" … "50". An existing file that is
    // not a channel database is left exactly as it was.
    bool open(const QString &path);
    void close();
    bool isOpen() const { return !connection_.isEmpty(); }
    OpenError openError() const { return openError_; }
    QString path() const { return path_; }
    // Detail of the last failure (open or write), for logs and tests.
    QString errorDetail() const { return errorDetail_; }

    int rowCount() const { return static_cast<int>(rows_.size()); }
    FieldValue field(int row, int field) const;
    ChannelRecord record(int row) const;

    // A single field, or a batch that lands whole or not at all. On failure
    // nothing changes and errorDetail() says why.
    bool setField(int row, int field, const FieldValue &value);
    bool apply(const std::vector<Change> &changes);

signals:
    // Rows first … last now hold new values.
    void rowsChanged(int first, int last);

private:
    bool createTable();
    bool loadRows();
    bool stillOurFile();
    void fail(const QString &detail);

    QString connection_;
    QString path_;
    QString errorDetail_;
    OpenError openError_ = OpenError::None;
    QStringList columns_; // the first ten columns, by position
    std::vector<qint64> rowids_;
    std::vector<ChannelRecord> rows_;
    quint64 device_ = 0;
    quint64 inode_ = 0;
};

} // namespace vq
