#pragma once

#include "channels/ChannelRecord.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace vq {

// The SQLite file behind the channel store: checked before it is opened,
// held under a shared lock while it is, given table 信道表 and 50 channels
// when it is new, and read whole. Its ten fields are found by name in any
// order, by position only in a table of exactly ten columns where no field
// name stands out of place.
class ChannelDatabase {
public:
    enum class OpenError {
        None,
        CannotOpen,
        NotADatabase,
        NoTable,
        MissingColumns,
        Locked,
        NoFolder,
        NoPermission,
        NotAFile, // a folder, a FIFO, a device
    };

    // The table as read: its name of each channel field, and the rows in
    // rowid (insertion) order with their rowids.
    struct Table {
        QStringList columns;
        std::vector<qint64> rowids;
        std::vector<ChannelRecord> rows;
    };

    ChannelDatabase() = default;
    ChannelDatabase(const ChannelDatabase &) = delete;
    ChannelDatabase &operator=(const ChannelDatabase &) = delete;
    ~ChannelDatabase() { close(); }

    // Opens an existing file as it is, or creates a missing (or 0-byte)
    // one, and reads its table. On failure the file is closed, an existing
    // one left exactly as it was, and openError() says why.
    std::optional<Table> open(const QString &path);
    void close();
    // Reads the table again; a failure leaves openError() as the open left
    // it, and errorDetail() and missingColumns() say what is wrong now.
    std::optional<Table> readAgain();

    bool isOpen() const { return !connection_.isEmpty(); }
    QString path() const { return path_; }
    QString connectionName() const { return connection_; }
    OpenError openError() const { return openError_; }
    QString errorDetail() const { return errorDetail_; }
    QStringList missingColumns() const { return missingColumns_; }
    bool openedElsewhere() const { return openedElsewhere_; }

    // False when the file at path() is gone or another took its place.
    bool isSameFile() const;

    // Names as SQL identifiers.
    static QString quoted(const QString &name);
    static QString quotedTableName();

private:
    std::optional<Table> read();
    std::optional<QStringList> findColumns(const QStringList &columns);
    bool createTable();
    void lockFile();
    void fail(OpenError error, const QString &detail);

    QString connection_;
    QString path_;
    QString errorDetail_;
    OpenError openError_ = OpenError::None;
    QStringList missingColumns_;
    bool openedElsewhere_ = false;
    int lockFd_ = -1;
    quint64 device_ = 0;
    quint64 inode_ = 0;
};

} // namespace vq
