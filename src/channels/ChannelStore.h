#pragma once

#include "channels/ChannelDatabase.h"
#include "channels/ChannelRecord.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

namespace vq {

// The channel plan: table 信道表 of an SQLite file, one row per channel,
// ten text fields found by name (by position only in a table of exactly ten
// columns). Every writer goes through here and every write reaches the file
// at once; a batch is one transaction. Rows are identified by SQLite's rowid
// and kept in rowid (insertion) order. A copy of the rows is kept here, so
// that painting the grid reads no file.
class ChannelStore : public QObject {
    Q_OBJECT
public:
    using OpenError = ChannelDatabase::OpenError;

    struct Change {
        int row;
        int field;
        FieldValue value;
    };

    explicit ChannelStore(QObject *parent = nullptr);
    ~ChannelStore() override;

    // Opens an existing file as it is, or creates a missing (or 0-byte)
    // one with the table and 50 channels numbered "1" … "50". An existing
    // file that is not a channel database is left exactly as it was.
    bool open(const QString &path);
    void close();
    bool isOpen() const { return database_.isOpen(); }
    OpenError openError() const { return database_.openError(); }
    QString path() const { return database_.path(); }
    // The files of every store open in this process: nothing may be saved
    // over them.
    static QStringList openPaths();
    // The SQLite connection, for other tables of the same file.
    QString connectionName() const { return database_.connectionName(); }
    // Detail of the last failure (open or write), for logs and tests.
    QString errorDetail() const { return errorDetail_; }
    // The channel fields the table lacks, when open failed for that.
    QStringList missingColumns() const { return database_.missingColumns(); }
    // Another copy of the program had this file open when it was opened.
    bool openedElsewhere() const { return database_.openedElsewhere(); }

    // Reads the rows again when another connection committed since the
    // last look, so that nothing acts on a stale picture; true when it did.
    bool refreshIfChangedElsewhere();

    int rowCount() const { return static_cast<int>(table_.rows.size()); }
    // SQLite's own check of the file: "ok", or what it found.
    QString integrityCheck() const;
    FieldValue field(int row, int field) const;
    ChannelRecord record(int row) const;

    // A single field, or a batch that lands whole or not at all. On failure
    // nothing changes and errorDetail() says why.
    bool setField(int row, int field, const FieldValue &value);
    // `alongside` runs inside the batch's transaction before the changes, for
    // other tables of the file that must land together with them (or not
    // at all); what it does itself it must keep or undo on its own.
    bool apply(const std::vector<Change> &changes, const std::function<void()> &alongside = {});

signals:
    // Rows first … last now hold new values.
    void rowsChanged(int first, int last);
    // Around a reload that changed the number of rows.
    void rowCountAboutToChange();
    void rowCountChanged();
    // Another program changed the table and the rows were read again.
    void changedElsewhere();

private:
    void fail(const QString &detail);
    qint64 dataVersion();

    ChannelDatabase database_;
    ChannelDatabase::Table table_;
    QString errorDetail_;
    qint64 dataVersion_ = -1;
};

} // namespace vq
