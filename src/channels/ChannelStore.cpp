#include "channels/ChannelStore.h"

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
#include <array>
#include <map>
#include <optional>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

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

QString fieldName(int field)
{
    const std::string_view name = fieldNames()[static_cast<std::size_t>(field)];
    return QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
}

ChannelStore::OpenError causeOf(const QSqlError &error)
{
    const QString code = error.nativeErrorCode();
    if (code == QLatin1String("5") || code == QLatin1String("6")) // SQLITE_BUSY, SQLITE_LOCKED
        return ChannelStore::OpenError::Locked;
    if (code == QLatin1String("23")) // SQLITE_AUTH
        return ChannelStore::OpenError::NoPermission;
    return ChannelStore::OpenError::NotADatabase;
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

namespace {

std::vector<const ChannelStore *> &openStores()
{
    static std::vector<const ChannelStore *> stores;
    return stores;
}

} // namespace

QStringList ChannelStore::openPaths()
{
    QStringList paths;
    for (const ChannelStore *store : openStores())
        paths << store->path();
    return paths;
}

void ChannelStore::close()
{
    std::erase(openStores(), this);
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
    rowids_.clear();
    rows_.clear();
}

void ChannelStore::fail(const QString &detail)
{
    errorDetail_ = detail;
}

void ChannelStore::failOpen(OpenError error, const QString &detail)
{
    openError_ = error;
    errorDetail_ = detail;
}

void ChannelStore::lockFile()
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

qint64 ChannelStore::dataVersion()
{
    QSqlQuery query(QSqlDatabase::database(connection_, false));
    if (!query.exec(QStringLiteral("PRAGMA data_version")) || !query.next())
        return -1;
    return query.value(0).toLongLong();
}

bool ChannelStore::open(const QString &path)
{
    close();
    path_ = path;
    openError_ = OpenError::None;
    errorDetail_.clear();
    missingColumns_.clear();
    openedElsewhere_ = false;
    dataVersion_ = -1;

    const QFileInfo info(path);
    if (!info.absoluteDir().exists()) {
        failOpen(OpenError::NoFolder, QStringLiteral("no such folder"));
        return false;
    }
    if (info.exists() && !info.isFile()) {
        failOpen(OpenError::CannotOpen, QStringLiteral("not a file"));
        return false;
    }
    const bool missing = !info.exists();
    // A 0-byte file is an empty database; SQLite sees it so as well.
    const bool creating = missing || info.size() == 0;
    if (missing ? !QFileInfo(info.absolutePath()).isWritable()
                : !info.isReadable() || (creating && !info.isWritable())) {
        failOpen(OpenError::NoPermission, QStringLiteral("no access"));
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
    openStores().push_back(this);
    lockFile();

    if (creating && !createTable()) {
        const QString detail = errorDetail_;
        close();
        if (missing)
            QFile::remove(path); // only what we just created
        failOpen(openError_ == OpenError::None ? OpenError::CannotOpen : openError_, detail);
        return false;
    }
    if (!loadRows(false)) {
        const QString detail = errorDetail_;
        close();
        errorDetail_ = detail;
        return false;
    }
    fileIdentity(path_, device_, inode_);
    dataVersion_ = dataVersion();
    return true;
}

bool ChannelStore::refreshIfChangedElsewhere()
{
    if (!isOpen())
        return false;
    const qint64 version = dataVersion();
    if (version < 0 || version == dataVersion_)
        return false;
    // A table made unusable meanwhile keeps the last good picture; writes
    // will say what is wrong.
    const OpenError openError = openError_;
    const bool loaded = loadRows(true);
    openError_ = openError;
    if (!loaded)
        return false;
    dataVersion_ = version;
    emit changedElsewhere();
    return true;
}

std::optional<QStringList> ChannelStore::findColumns(const QStringList &columns)
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
    failOpen(OpenError::MissingColumns, QStringLiteral("missing columns: ") + missing.join(QLatin1Char(',')));
    return std::nullopt;
}

bool ChannelStore::createTable()
{
    QSqlDatabase db = QSqlDatabase::database(connection_, false);
    QStringList columns;
    for (auto name : fieldNames())
        columns << quoted(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()))) +
                       QStringLiteral(" TEXT");
    if (!db.transaction()) {
        failOpen(causeOf(db.lastError()), db.lastError().text());
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
        failOpen(causeOf(query.lastError()), query.lastError().text());
        db.rollback();
        return false;
    }
    if (!db.commit()) {
        failOpen(causeOf(db.lastError()), db.lastError().text());
        return false;
    }
    return true;
}

bool ChannelStore::loadRows(bool announce)
{
    QSqlDatabase db = QSqlDatabase::database(connection_, false);
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("PRAGMA table_info(%1)").arg(quoted(tableName())))) {
        // SQLite only finds out here that the file is no database at all.
        failOpen(causeOf(query.lastError()), query.lastError().text());
        return false;
    }
    QStringList columns;
    while (query.next())
        columns << query.value(1).toString();
    if (columns.isEmpty()) {
        failOpen(OpenError::NoTable, QStringLiteral("no table"));
        return false;
    }
    const std::optional<QStringList> fields = findColumns(columns);
    if (!fields)
        return false;

    QStringList selected;
    for (const QString &column : *fields)
        selected << quoted(column);
    if (!query.exec(QStringLiteral("SELECT rowid, %1 FROM %2 ORDER BY rowid")
                        .arg(selected.join(QStringLiteral(", ")), quoted(tableName())))) {
        failOpen(causeOf(query.lastError()), query.lastError().text());
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
        failOpen(causeOf(query.lastError()), query.lastError().text());
        return false;
    }
    const bool countChanges = announce && rows.size() != rows_.size();
    if (countChanges)
        emit rowCountAboutToChange();
    columns_ = *fields;
    rowids_ = std::move(rowids);
    rows_ = std::move(rows);
    if (countChanges)
        emit rowCountChanged();
    else if (announce && !rows_.empty())
        emit rowsChanged(0, rowCount() - 1);
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

bool ChannelStore::apply(const std::vector<Change> &changes, const std::function<void()> &alongside)
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
    if (alongside)
        alongside();
    // One statement per row, prepared once for each set of fields: a whole
    // plan is 500 changes but only 50 rows. Within a row the last value of
    // a cell wins, as it would statement by statement.
    std::vector<int> groupOf(rows_.size(), -1);
    std::vector<std::pair<int, std::array<std::optional<FieldValue>, kFieldCount>>> groups;
    for (const Change &c : changes) {
        int &group = groupOf[static_cast<std::size_t>(c.row)];
        if (group < 0) {
            group = static_cast<int>(groups.size());
            groups.push_back({c.row, {}});
        }
        groups[static_cast<std::size_t>(group)].second[static_cast<std::size_t>(c.field)] = c.value;
    }
    std::map<unsigned, QSqlQuery> updates;
    QSqlQuery *query = nullptr;
    bool ok = true;
    for (const auto &[row, values] : groups) {
        unsigned mask = 0;
        QStringList assignments;
        for (int f = 0; f < kFieldCount; ++f) {
            if (values[static_cast<std::size_t>(f)]) {
                mask |= 1U << f;
                assignments << quoted(columns_[f]) + QStringLiteral(" = ?");
            }
        }
        auto found = updates.find(mask);
        if (found == updates.end()) {
            found = updates.emplace(mask, QSqlQuery(db)).first;
            ok = found->second.prepare(QStringLiteral("UPDATE %1 SET %2 WHERE rowid = ?")
                                           .arg(quoted(tableName()), assignments.join(QStringLiteral(", "))));
        }
        query = &found->second;
        if (ok) {
            int position = 0;
            for (const std::optional<FieldValue> &value : values)
                if (value)
                    query->bindValue(position++, toVariant(*value));
            query->bindValue(position, rowids_[static_cast<std::size_t>(row)]);
            ok = query->exec() && query->numRowsAffected() == 1;
        }
        if (!ok)
            break;
    }
    if (!ok) {
        fail(query->lastError().isValid() ? query->lastError().text()
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
