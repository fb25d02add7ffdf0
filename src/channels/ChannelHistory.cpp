#include "channels/ChannelHistory.h"

#include "channels/ChannelJudge.h"
#include "channels/ChannelStore.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QMetaEnum>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace vq {

namespace {

const QString kTable = QStringLiteral("历史记录");
const QStringList kColumns = {QStringLiteral("编号"), QStringLiteral("时间"), QStringLiteral("原因"),
                              QStringLiteral("设备"), QStringLiteral("信道")};

// Rows as a JSON array of ten-element arrays; null stays apart from "".
QByteArray encodeRows(const PlanRows &rows)
{
    QJsonArray all;
    for (const ChannelRecord &record : rows) {
        QJsonArray row;
        for (const FieldValue &value : record)
            row.append(value ? QJsonValue(QString::fromStdString(*value)) : QJsonValue(QJsonValue::Null));
        all.append(row);
    }
    return QJsonDocument(all).toJson(QJsonDocument::Compact);
}

std::optional<PlanRows> decodeRows(const QByteArray &text)
{
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(text, &error);
    if (error.error != QJsonParseError::NoError || !document.isArray())
        return std::nullopt;
    PlanRows rows;
    for (const QJsonValue &rowValue : document.array()) {
        const QJsonArray row = rowValue.toArray();
        if (row.size() != kFieldCount)
            return std::nullopt;
        ChannelRecord record;
        for (int f = 0; f < kFieldCount; ++f) {
            const QJsonValue cell = row.at(f);
            if (cell.isString())
                record[static_cast<std::size_t>(f)] = cell.toString().toStdString();
            else if (!cell.isNull())
                return std::nullopt;
        }
        rows.push_back(std::move(record));
    }
    return rows;
}

std::optional<ChannelHistory::Reason> reasonFromName(const QString &name)
{
    bool ok = false;
    const int value =
        QMetaEnum::fromType<ChannelHistory::Reason>().keyToValue(name.toLatin1().constData(), &ok);
    if (!ok)
        return std::nullopt;
    return static_cast<ChannelHistory::Reason>(value);
}

} // namespace

PlanRows planRows(const ChannelStore &store)
{
    PlanRows rows;
    const int count = std::min(store.rowCount(), kChannelCount);
    rows.reserve(static_cast<std::size_t>(count));
    for (int row = 0; row < count; ++row)
        rows.push_back(store.record(row));
    return rows;
}

ChannelHistory::ChannelHistory(ChannelStore &store, QObject *parent) : QObject(parent), store_(store) {}

QString ChannelHistory::reasonName(Reason reason)
{
    return QString::fromLatin1(QMetaEnum::fromType<Reason>().valueToKey(static_cast<int>(reason)));
}

std::vector<int> ChannelHistory::differingRows(const PlanRows &a, const PlanRows &b)
{
    std::vector<int> rows;
    const std::size_t count = std::max(a.size(), b.size());
    for (std::size_t row = 0; row < count; ++row)
        if (row >= a.size() || row >= b.size() || radioImage(a[row]) != radioImage(b[row]))
            rows.push_back(static_cast<int>(row));
    return rows;
}

ChannelHistory::Shape ChannelHistory::shape()
{
    problem_.clear();
    if (!store_.isOpen()) {
        problem_ = QStringLiteral("no channel database");
        return Shape::Wrong;
    }
    QSqlQuery query(QSqlDatabase::database(store_.connectionName(), false));
    if (!query.exec(QStringLiteral("PRAGMA table_info(\"%1\")").arg(kTable))) {
        problem_ = query.lastError().text();
        return Shape::Wrong;
    }
    QStringList columns;
    while (query.next())
        columns << query.value(1).toString();
    if (columns.isEmpty())
        return Shape::Missing;
    if (columns != kColumns) {
        problem_ = QStringLiteral("table %1 has other columns: %2").arg(kTable, columns.join(QLatin1Char(',')));
        return Shape::Wrong;
    }
    return Shape::Right;
}

bool ChannelHistory::isAvailable()
{
    return shape() != Shape::Wrong;
}

bool ChannelHistory::inSavepoint(const std::function<bool(QSqlQuery &query, Shape found)> &work)
{
    const Shape found = shape();
    if (found == Shape::Wrong)
        return false;
    QSqlQuery query(QSqlDatabase::database(store_.connectionName(), false));
    // A savepoint is a transaction of its own outside a batch, and inside
    // one (a restore and the snapshot before it) lands or goes with it.
    if (!query.exec(QStringLiteral("SAVEPOINT snapshot"))) {
        problem_ = query.lastError().text();
        return false;
    }
    bool ok = true;
    if (found == Shape::Missing)
        ok = query.exec(QStringLiteral("CREATE TABLE \"%1\" (编号 INTEGER PRIMARY KEY AUTOINCREMENT, 时间 TEXT "
                                       "NOT NULL, 原因 TEXT NOT NULL, 设备 TEXT NOT NULL, 信道 TEXT NOT NULL)")
                             .arg(kTable)) &&
             // The list is read from this alone, never from the plans' pages.
             query.exec(QStringLiteral("CREATE INDEX \"%1列表\" ON \"%1\" (编号, 时间, 原因, 设备)").arg(kTable));
    if (!ok || !work(query, found) || !query.exec(QStringLiteral("RELEASE snapshot"))) {
        problem_ = query.lastError().text();
        query.exec(QStringLiteral("ROLLBACK TO snapshot"));
        query.exec(QStringLiteral("RELEASE snapshot"));
        return false;
    }
    return true;
}

bool ChannelHistory::insert(QSqlQuery &query, Reason reason, const QString &device, const QString &rows)
{
    if (!query.prepare(QStringLiteral("INSERT INTO \"%1\" (时间, 原因, 设备, 信道) VALUES (?, ?, ?, ?)").arg(kTable)))
        return false;
    query.addBindValue(QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs));
    query.addBindValue(reasonName(reason));
    query.addBindValue(device.isNull() ? QStringLiteral("") : device);
    query.addBindValue(rows);
    // Everything older than the keep-th newest goes. Numbers only grow and
    // only the oldest are ever deleted, so counting back from the new
    // number is exact, and it touches no more than what it deletes.
    return query.exec() && query.exec(QStringLiteral("DELETE FROM \"%1\" WHERE 编号 <= last_insert_rowid() - %2")
                                          .arg(kTable)
                                          .arg(keep_));
}

ChannelHistory::Added ChannelHistory::add(Reason reason, const QString &device, const PlanRows &rows)
{
    const QString encoded = QString::fromUtf8(encodeRows(rows));
    bool same = false;
    const bool ok = inSavepoint([&](QSqlQuery &query, Shape found) {
        if (found == Shape::Right) {
            if (!query.exec(QStringLiteral("SELECT 信道, 原因 FROM \"%1\" ORDER BY 编号 DESC LIMIT 1").arg(kTable)))
                return false;
            // An unfinished write is never the same as what follows it: that
            // is what says the radio's plan is known again.
            same = query.next() && query.value(0).toString() == encoded &&
                   query.value(1).toString() != reasonName(Reason::WriteUnfinished);
        }
        return same || insert(query, reason, device, encoded);
    });
    if (!ok)
        return Added::Failed;
    if (same)
        return Added::SameAsLast;
    emit added();
    return Added::Stored;
}

qint64 ChannelHistory::beginWrite(const QString &device, const PlanRows &rows)
{
    qint64 id = 0;
    const bool ok = inSavepoint([&](QSqlQuery &query, Shape) {
        if (!insert(query, Reason::WriteUnfinished, device, QString::fromUtf8(encodeRows(rows))) ||
            !query.exec(QStringLiteral("SELECT max(编号) FROM \"%1\"").arg(kTable)) || !query.next())
            return false;
        id = query.value(0).toLongLong();
        return true;
    });
    if (!ok)
        return 0;
    emit added();
    return id;
}

bool ChannelHistory::endWrite(qint64 id, Reason reason, const QString &whole, const QString &partial)
{
    const bool ok = inSavepoint([&](QSqlQuery &query, Shape found) {
        // This snapshot, and the one before it.
        if (found != Shape::Right ||
            !query.prepare(
                QStringLiteral("SELECT 编号, 信道, 原因 FROM \"%1\" WHERE 编号 <= ? ORDER BY 编号 DESC LIMIT 2").arg(kTable)))
            return false;
        query.addBindValue(id);
        if (!query.exec() || !query.next() || query.value(0).toLongLong() != id)
            return false;
        const QString rows = query.value(1).toString();
        // As add() would not have kept it; an unfinished write before it
        // still needs this one to say the radio's plan is known.
        const bool sameAsBefore = query.next() && query.value(1).toString() == rows &&
                                  query.value(2).toString() != reasonName(Reason::WriteUnfinished);
        if (!partial.isEmpty()) {
            if (!query.prepare(QStringLiteral("UPDATE \"%1\" SET 设备 = ? WHERE 编号 = ?").arg(kTable)))
                return false;
            query.addBindValue(partial);
            query.addBindValue(id);
            return query.exec() && (whole.isEmpty() || insert(query, reason, whole, rows));
        }
        if (sameAsBefore) {
            if (!query.prepare(QStringLiteral("DELETE FROM \"%1\" WHERE 编号 = ?").arg(kTable)))
                return false;
            query.addBindValue(id);
            return query.exec();
        }
        if (!query.prepare(QStringLiteral("UPDATE \"%1\" SET 原因 = ?, 设备 = ? WHERE 编号 = ?").arg(kTable)))
            return false;
        query.addBindValue(reasonName(reason));
        query.addBindValue(whole);
        query.addBindValue(id);
        return query.exec();
    });
    if (ok)
        emit added();
    return ok;
}

QStringList ChannelHistory::unfinishedWrites()
{
    using R = Reason;
    QStringList seen;
    QStringList unfinished;
    for (const Entry &entry : entries()) {
        const bool touchesRadio = entry.reason == R::Read || entry.reason == R::Write ||
                                  entry.reason == R::StartUpWrite || entry.reason == R::VerifyReadBack ||
                                  entry.reason == R::WriteUnfinished;
        if (!touchesRadio)
            continue;
        // Many radios written at once are kept under one line.
        for (const QString &device : entry.device.split(QStringLiteral(", "), Qt::SkipEmptyParts)) {
            if (seen.contains(device))
                continue;
            seen << device;
            if (entry.reason == R::WriteUnfinished)
                unfinished << device;
        }
    }
    return unfinished;
}

std::vector<ChannelHistory::Entry> ChannelHistory::entries()
{
    std::vector<Entry> list;
    if (shape() != Shape::Right)
        return list;
    QSqlQuery query(QSqlDatabase::database(store_.connectionName(), false));
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("SELECT 编号, 时间, 原因, 设备 FROM \"%1\" ORDER BY 编号 DESC").arg(kTable))) {
        problem_ = query.lastError().text();
        return list;
    }
    while (query.next()) {
        // A line written by a newer program with a reason this one does not
        // know is skipped rather than shown as something it is not.
        const std::optional<Reason> reason = reasonFromName(query.value(2).toString());
        if (!reason)
            continue;
        list.push_back({query.value(0).toLongLong(),
                        QDateTime::fromString(query.value(1).toString(), Qt::ISODateWithMs), *reason,
                        query.value(3).toString()});
    }
    return list;
}

std::optional<PlanRows> ChannelHistory::rows(qint64 id)
{
    if (shape() != Shape::Right)
        return std::nullopt;
    QSqlQuery query(QSqlDatabase::database(store_.connectionName(), false));
    if (!query.prepare(QStringLiteral("SELECT 信道 FROM \"%1\" WHERE 编号 = ?").arg(kTable)))
        return std::nullopt;
    query.addBindValue(id);
    if (!query.exec() || !query.next())
        return std::nullopt;
    return decodeRows(query.value(0).toByteArray());
}

} // namespace vq
