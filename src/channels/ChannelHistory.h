#pragma once

#include "channels/ChannelRecord.h"

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

class QSqlQuery;

namespace vq {

class ChannelStore;

using PlanRows = std::vector<ChannelRecord>;

// Snapshots of the whole plan, kept in table 历史记录 of the store's own
// file so that a plan and its past travel together. 信道表 is never
// touched here: other programs that read it see nothing new. A file from
// before the history existed gains the table with its first snapshot; a
// history table of another shape is left exactly as it is, and the history
// is then unavailable while the plan itself works as ever.
class ChannelHistory : public QObject {
    Q_OBJECT
public:
    // Why a snapshot was taken; kept in the file by these names.
    // WriteUnfinished: a write whose frames began to go out and that never
    // ended well (the line lost, the program killed): the radio may hold
    // part of it.
    enum class Reason { Read, Write, StartUpWrite, FileOpen, Import, Restore, VerifyReadBack, Sort, WriteUnfinished };
    Q_ENUM(Reason)

    enum class Added { Stored, SameAsLast, Failed };

    struct Entry {
        qint64 id = 0;
        QDateTime time; // UTC
        Reason reason = Reason::Read;
        QString device;
    };

    static constexpr int kDefaultKeep = 500;

    explicit ChannelHistory(ChannelStore &store, QObject *parent = nullptr);

    // How many snapshots survive pruning (never fewer than one).
    void setKeep(int count) { keep_ = std::max(count, 1); }

    // False when the table has another shape or the file refuses to be
    // read; problem() then says why.
    bool isAvailable();
    QString problem() const { return problem_; }

    // Keeps `rows` as the newest snapshot, unless the newest already holds
    // exactly these rows; older ones past the limit go in the same
    // transaction.
    Added add(Reason reason, const QString &device, const PlanRows &rows);
    // A write is kept as WriteUnfinished the moment its first frame goes
    // out, so that one cut short says so even when nothing lives to end it.
    // 0 when it could not be kept.
    qint64 beginWrite(const QString &device, const PlanRows &rows);
    // The write `id` ended: `whole` names the radios that took every frame,
    // `partial` those that did not. Without `partial` the snapshot takes
    // `reason` (and goes, when the one before it holds the same rows, as
    // add() would not have kept it); otherwise it stays unfinished for
    // those, and the whole ones get a finished snapshot of their own.
    bool endWrite(qint64 id, Reason reason, const QString &whole, const QString &partial = {});
    // The devices, as the history names them, whose radio was last touched
    // (read, written or read back) by a write that did not finish.
    QStringList unfinishedWrites();
    // Newest first; empty when unavailable.
    std::vector<Entry> entries();
    std::optional<PlanRows> rows(qint64 id);

    static QString reasonName(Reason reason);
    // Channels (row positions) the radio would hold differently under the
    // two plans (a tone "67" and "67.0", a blank and "add" are the same to
    // it); a row only one of them has differs.
    static std::vector<int> differingRows(const PlanRows &a, const PlanRows &b);

signals:
    void added();

private:
    enum class Shape { Missing, Right, Wrong };
    Shape shape();
    // Runs `work` under a savepoint (created table included): all of it
    // lands, or none; false, with problem() set, when it did not.
    bool inSavepoint(const std::function<bool(QSqlQuery &query, Shape found)> &work);
    // One new snapshot, and the oldest past the limit gone.
    bool insert(QSqlQuery &query, Reason reason, const QString &device, const QString &rows);

    ChannelStore &store_;
    int keep_ = kDefaultKeep;
    QString problem_;
};

// The store's first rows, as many as a plan has.
PlanRows planRows(const ChannelStore &store);

} // namespace vq
