#include "channels/ChannelStore.h"

#include "channels/ValueDomains.h"

#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>
#include <QVariant>

#include <sys/stat.h>

namespace vq {

namespace {

QString quoted(const QString &name)
{
    QString escaped = name;
    escaped.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + escaped + QLatin1Char('"');
}

QString tableName()
{
    return QString::fromUtf8(kTableName.data(), kTableName.size());
}

QVariant toVariant(const FieldValue &value)
{
    if (!value)
        return QVariant(QMetaType::fromType<QString>());
    // A non-null empty QString, so that SQLite stores '' and not NULL.
    return QVariant(QString::fromUtf8(value->data(), static_cast<qsizetype>(value->size())));
}

FieldValue fromVariant(const QVariant &value)
{
    if (value.isNull())
        return std::nullopt;
    return value.toString().toStdString();
}

bool fileIdentity(const QString &path, quint64 &device, quint64 &inode)
{
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return false;
    device = static_cast<quint64>(st.st_dev);
    inode = static_cast<quint64>(st.st_ino);
    return true;
}

} // namespace

ChannelStore::ChannelStore(QObject *parent) : QObject(parent) {}

ChannelStore::~ChannelStore()
{
    close();
}

void ChannelStore::close()
{
    if (connection_.isEmpty())
        return;
    {
        QSqlDatabase db = QSqlDatabase::database(connection_, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(connection_);
    connection_.clear();
    rowids_.clear();
    rows_.clear();
}

void ChannelStore::fail(const QString &detail)
{
    errorDetail_ = detail;
}

bool ChannelStore::open(const QString &path)
{
    close();
    path_ = path;
    openError_ = OpenError::None;
    errorDetail_.clear();

    const QFileInfo info(path);
    const bool creating = !info.exists();
    if (!creating && !info.isFile()) {
        openError_ = OpenError::CannotOpen;
        fail(QStringLiteral("not a file"));
        return false;
    }

    const QString name = QStringLiteral("channels-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        // Another program holding the file must not freeze the window for
        // long: a write that cannot get in soon fails and is reported.
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=500"));
        if (!db.open()) {
            fail(db.lastError().text());
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(name);
            openError_ = OpenError::CannotOpen;
            return false;
        }
    }
    connection_ = name;

    if (creating && !createTable()) {
        openError_ = OpenError::CannotOpen;
        const QString detail = errorDetail_;
        close();
        QFile::remove(path); // only what we just created
        errorDetail_ = detail;
        return false;
    }
    if (!loadRows()) {
        const QString detail = errorDetail_;
        close();
        errorDetail_ = detail;
        return false;
    }
    fileIdentity(path_, device_, inode_);
    return true;
}

bool ChannelStore::createTable()
{
    QSqlDatabase db = QSqlDatabase::database(connection_, false);
    QStringList columns;
    for (auto name : fieldNames())
        columns << quoted(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()))) +
                       QStringLiteral(" TEXT");
    if (!db.transaction()) {
        fail(db.lastError().text());
        return false;
    }
    QSqlQuery query(db);
    bool ok = query.exec(
        QStringLiteral("CREATE TABLE %1 (%2)").arg(quoted(tableName()), columns.join(QStringLiteral(", "))));
    if (ok) {
        QStringList names;
        for (auto field : fieldNames())
            names << quoted(QString::fromUtf8(field.data(), static_cast<qsizetype>(field.size())));
        ok = query.prepare(
            QStringLiteral("INSERT INTO %1 (%2) VALUES (?)").arg(quoted(tableName()), names.first()));
        for (int n = 1; ok && n <= kChannelCount; ++n) {
            query.addBindValue(QString::number(n));
            ok = query.exec();
        }
    }
    if (!ok) {
        fail(query.lastError().text());
        db.rollback();
        return false;
    }
    if (!db.commit()) {
        fail(db.lastError().text());
        return false;
    }
    return true;
}

bool ChannelStore::loadRows()
{
    QSqlDatabase db = QSqlDatabase::database(connection_, false);
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("PRAGMA table_info(%1)").arg(quoted(tableName())))) {
        // SQLite only finds out here that the file is no database at all.
        openError_ = OpenError::NotADatabase;
        fail(query.lastError().text());
        return false;
    }
    QStringList columns;
    while (query.next())
        columns << query.value(1).toString();
    if (columns.isEmpty()) {
        openError_ = OpenError::NoTable;
        fail(QStringLiteral("no table"));
        return false;
    }
    if (columns.size() < kFieldCount) {
        openError_ = OpenError::TooFewColumns;
        fail(QStringLiteral("%1 columns").arg(columns.size()));
        return false;
    }
    columns_ = columns.mid(0, kFieldCount);

    QStringList selected;
    for (const QString &column : std::as_const(columns_))
        selected << quoted(column);
    if (!query.exec(QStringLiteral("SELECT rowid, %1 FROM %2 ORDER BY rowid")
                        .arg(selected.join(QStringLiteral(", ")), quoted(tableName())))) {
        openError_ = OpenError::NotADatabase;
        fail(query.lastError().text());
        return false;
    }
    std::vector<qint64> rowids;
    std::vector<ChannelRecord> rows;
    while (query.next()) {
        rowids.push_back(query.value(0).toLongLong());
        ChannelRecord record;
        for (int f = 0; f < kFieldCount; ++f)
            record[static_cast<std::size_t>(f)] = fromVariant(query.value(f + 1));
        rows.push_back(std::move(record));
    }
    if (query.lastError().isValid()) {
        openError_ = OpenError::NotADatabase;
        fail(query.lastError().text());
        return false;
    }
    rowids_ = std::move(rowids);
    rows_ = std::move(rows);
    return true;
}

FieldValue ChannelStore::field(int row, int field) const
{
    if (row < 0 || row >= rowCount() || field < 0 || field >= kFieldCount)
        return std::nullopt;
    return rows_[static_cast<std::size_t>(row)][static_cast<std::size_t>(field)];
}

ChannelRecord ChannelStore::record(int row) const
{
    if (row < 0 || row >= rowCount())
        return {};
    return rows_[static_cast<std::size_t>(row)];
}

bool ChannelStore::setField(int row, int field, const FieldValue &value)
{
    return apply({{row, field, value}});
}

bool ChannelStore::stillOurFile()
{
    // SQLite keeps writing into a file that was deleted or replaced under
    // it, and everything written then is lost at exit; refuse instead.
    quint64 device = 0;
    quint64 inode = 0;
    if (!fileIdentity(path_, device, inode) || device != device_ || inode != inode_) {
        fail(QStringLiteral("the database file is gone or was replaced"));
        return false;
    }
    return true;
}

bool ChannelStore::apply(const std::vector<Change> &changes)
{
    if (!isOpen()) {
        fail(QStringLiteral("not open"));
        return false;
    }
    if (changes.empty())
        return true;
    for (const Change &c : changes) {
        if (c.row < 0 || c.row >= rowCount() || c.field < 0 || c.field >= kFieldCount) {
            fail(QStringLiteral("no such cell"));
            return false;
        }
    }
    if (!stillOurFile())
        return false;

    QSqlDatabase db = QSqlDatabase::database(connection_, false);
    if (!db.transaction()) {
        fail(db.lastError().text());
        return false;
    }
    QSqlQuery query(db);
    bool ok = true;
    for (const Change &c : changes) {
        ok = query.prepare(QStringLiteral("UPDATE %1 SET %2 = ? WHERE rowid = ?")
                               .arg(quoted(tableName()), quoted(columns_[c.field])));
        if (ok) {
            query.addBindValue(toVariant(c.value));
            query.addBindValue(rowids_[static_cast<std::size_t>(c.row)]);
            ok = query.exec() && query.numRowsAffected() == 1;
        }
        if (!ok)
            break;
    }
    if (!ok) {
        fail(query.lastError().isValid() ? query.lastError().text()
                                         : QStringLiteral("row no longer in the table"));
        db.rollback();
        return false;
    }
    if (!db.commit()) {
        fail(db.lastError().text());
        db.rollback();
        return false;
    }

    int first = rowCount();
    int last = -1;
    for (const Change &c : changes) {
        rows_[static_cast<std::size_t>(c.row)][static_cast<std::size_t>(c.field)] = c.value;
        first = std::min(first, c.row);
        last = std::max(last, c.row);
    }
    emit rowsChanged(first, last);
    return true;
}

} // namespace vq
