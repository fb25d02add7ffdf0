#include "channels/ChannelDatabase.h"

#include "channels/ValueDomains.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QThread>
#include <QUuid>
#include <QVariant>

#include <algorithm>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vq {

namespace {

FieldValue fromVariant(const QVariant &value)
{
    if (value.isNull())
        return std::nullopt;
    return value.toString().toStdString();
}

QString fieldName(int field)
{
    const std::string_view name = fieldNames()[static_cast<std::size_t>(field)];
    return QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
}

ChannelDatabase::OpenError causeOf(const QSqlError &error)
{
    const QString code = error.nativeErrorCode();
    if (code == QLatin1String("5") || code == QLatin1String("6")) // SQLITE_BUSY, SQLITE_LOCKED
        return ChannelDatabase::OpenError::Locked;
    if (code == QLatin1String("23")) // SQLITE_AUTH
        return ChannelDatabase::OpenError::NoPermission;
    return ChannelDatabase::OpenError::NotADatabase;
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

QString ChannelDatabase::quoted(const QString &name)
{
    QString escaped = name;
    escaped.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + escaped + QLatin1Char('"');
}

QString ChannelDatabase::quotedTableName()
{
    return quoted(QString::fromUtf8(kTableName.data(), kTableName.size()));
}

void ChannelDatabase::fail(OpenError error, const QString &detail)
{
    openError_ = error;
    errorDetail_ = detail;
}

std::optional<ChannelDatabase::Table> ChannelDatabase::open(const QString &path)
{
    close();
    path_ = path;
    openError_ = OpenError::None;
    errorDetail_.clear();
    missingColumns_.clear();
    openedElsewhere_ = false;

    const QFileInfo info(path);
    if (!info.absoluteDir().exists()) {
        fail(OpenError::NoFolder, QStringLiteral("no such folder"));
        return std::nullopt;
    }
    if (info.exists() && !info.isFile()) {
        fail(OpenError::NotAFile, QStringLiteral("not a file"));
        return std::nullopt;
    }
    const bool missing = !info.exists();
    // A 0-byte file is an empty database; SQLite sees it so as well.
    const bool creating = missing || info.size() == 0;
    if (missing ? !QFileInfo(info.absolutePath()).isWritable()
                : !info.isReadable() || (creating && !info.isWritable())) {
        fail(OpenError::NoPermission, QStringLiteral("no access"));
        return std::nullopt;
    }

    const QString name = QStringLiteral("channels-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        // Another program holding the file must not freeze the window for
        // long: a write that cannot get in soon fails and is reported.
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=500"));
        if (!db.open()) {
            fail(OpenError::CannotOpen, db.lastError().text());
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(name);
            return std::nullopt;
        }
    }
    connection_ = name;
    lockFile();

    if (creating && !createTable()) {
        close();
        if (missing)
            QFile::remove(path); // only what we just created
        return std::nullopt;
    }
    std::optional<Table> table = read();
    if (!table) {
        close();
        return std::nullopt;
    }
    fileIdentity(path_, device_, inode_);
    return table;
}

void ChannelDatabase::close()
{
    if (connection_.isEmpty())
        return;
    {
        QSqlDatabase db = QSqlDatabase::database(connection_, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(connection_);
    connection_.clear();
    // Only after SQLite let go: closing any descriptor of the file drops
    // this process's locks on it.
    if (lockFd_ >= 0)
        ::close(lockFd_);
    lockFd_ = -1;
}

void ChannelDatabase::lockFile()
{
    // Every copy of the program holds a shared flock while it has the file
    // open; the kernel drops it when a copy dies, so a killed copy leaves
    // nothing behind. One that cannot get an exclusive lock is not alone.
    lockFd_ = ::open(QFile::encodeName(path_).constData(), O_RDONLY | O_CLOEXEC);
    if (lockFd_ < 0)
        return;
    openedElsewhere_ = ::flock(lockFd_, LOCK_EX | LOCK_NB) != 0;
    // Another copy probing at this very moment holds its exclusive lock only
    // briefly.
    for (int tries = 0; tries < 50 && ::flock(lockFd_, LOCK_SH | LOCK_NB) != 0; ++tries)
        QThread::msleep(2);
}

bool ChannelDatabase::isSameFile() const
{
    quint64 device = 0;
    quint64 inode = 0;
    return fileIdentity(path_, device, inode) && device == device_ && inode == inode_;
}

bool ChannelDatabase::createTable()
{
    QSqlDatabase db = QSqlDatabase::database(connection_, false);
    QStringList columns;
    for (auto name : fieldNames())
        columns << quoted(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()))) +
                       QStringLiteral(" TEXT");
    if (!db.transaction()) {
        fail(causeOf(db.lastError()), db.lastError().text());
        return false;
    }
    QSqlQuery query(db);
    bool ok = query.exec(
        QStringLiteral("CREATE TABLE %1 (%2)").arg(quotedTableName(), columns.join(QStringLiteral(", "))));
    if (ok) {
        QStringList names;
        for (auto field : fieldNames())
            names << quoted(QString::fromUtf8(field.data(), static_cast<qsizetype>(field.size())));
        ok = query.prepare(
            QStringLiteral("INSERT INTO %1 (%2) VALUES (?)").arg(quotedTableName(), names.first()));
        for (int n = 1; ok && n <= kChannelCount; ++n) {
            query.addBindValue(QString::number(n));
            ok = query.exec();
        }
    }
    if (!ok) {
        fail(causeOf(query.lastError()), query.lastError().text());
        db.rollback();
        return false;
    }
    if (!db.commit()) {
        fail(causeOf(db.lastError()), db.lastError().text());
        return false;
    }
    return true;
}

std::optional<ChannelDatabase::Table> ChannelDatabase::readAgain()
{
    const OpenError openError = openError_;
    std::optional<Table> table = read();
    openError_ = openError;
    return table;
}

std::optional<ChannelDatabase::Table> ChannelDatabase::read()
{
    QSqlDatabase db = QSqlDatabase::database(connection_, false);
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("PRAGMA table_info(%1)").arg(quotedTableName()))) {
        // SQLite only finds out here that the file is no database at all.
        fail(causeOf(query.lastError()), query.lastError().text());
        return std::nullopt;
    }
    QStringList columns;
    while (query.next())
        columns << query.value(1).toString();
    if (columns.isEmpty()) {
        fail(OpenError::NoTable, QStringLiteral("no table"));
        return std::nullopt;
    }
    std::optional<QStringList> fields = findColumns(columns);
    if (!fields)
        return std::nullopt;

    QStringList selected;
    for (const QString &column : *fields)
        selected << quoted(column);
    if (!query.exec(QStringLiteral("SELECT rowid, %1 FROM %2 ORDER BY rowid")
                        .arg(selected.join(QStringLiteral(", ")), quotedTableName()))) {
        fail(causeOf(query.lastError()), query.lastError().text());
        return std::nullopt;
    }
    Table table{std::move(*fields), {}, {}};
    while (query.next()) {
        table.rowids.push_back(query.value(0).toLongLong());
        ChannelRecord record;
        for (int f = 0; f < kFieldCount; ++f)
            record[static_cast<std::size_t>(f)] = fromVariant(query.value(f + 1));
        table.rows.push_back(std::move(record));
    }
    if (query.lastError().isValid()) {
        fail(causeOf(query.lastError()), query.lastError().text());
        return std::nullopt;
    }
    return table;
}

std::optional<QStringList> ChannelDatabase::findColumns(const QStringList &columns)
{
    QStringList byName;
    QStringList missing;
    // Position is trusted only when no field name stands somewhere else.
    bool inPlace = columns.size() == kFieldCount;
    for (int f = 0; f < kFieldCount; ++f) {
        // SQLite names match without regard to case; keep the table's spelling.
        const auto found = std::find_if(columns.begin(), columns.end(), [&](const QString &c) {
            return c.compare(fieldName(f), Qt::CaseInsensitive) == 0;
        });
        if (found == columns.end())
            missing << fieldName(f);
        else
            byName << *found;
        inPlace = inPlace && (found == columns.end() || found - columns.begin() == f);
    }
    if (missing.isEmpty())
        return byName;
    // A table of the right width with other names is still read as before.
    if (inPlace)
        return columns;
    missingColumns_ = missing;
    fail(OpenError::MissingColumns, QStringLiteral("missing columns: ") + missing.join(QLatin1Char(',')));
    return std::nullopt;
}

} // namespace vq
