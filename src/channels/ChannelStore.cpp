#include "channels/ChannelStore.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <algorithm>
#include <array>
#include <map>
#include <optional>

namespace vq {

namespace {

QVariant toVariant(const FieldValue &value)
{
    if (!value)
        return QVariant(QMetaType::fromType<QString>());
    // A non-null empty QString, so that SQLite stores '' and not NULL.
    return QVariant(QString::fromUtf8(value->data(), static_cast<qsizetype>(value->size())));
}

std::vector<const ChannelStore *> &openStores()
{
    static std::vector<const ChannelStore *> stores;
    return stores;
}

} // namespace

ChannelStore::ChannelStore(QObject *parent) : QObject(parent) {}

ChannelStore::~ChannelStore()
{
    close();
}

QStringList ChannelStore::openPaths()
{
    QStringList paths;
    for (const ChannelStore *store : openStores())
        paths << store->path();
    return paths;
}

bool ChannelStore::open(const QString &path)
{
    close();
    errorDetail_.clear();
    dataVersion_ = -1;
    std::optional<ChannelDatabase::Table> table = database_.open(path);
    if (!table) {
        errorDetail_ = database_.errorDetail();
        return false;
    }
    table_ = std::move(*table);
    openStores().push_back(this);
    dataVersion_ = dataVersion();
    return true;
}

void ChannelStore::close()
{
    std::erase(openStores(), this);
    if (!isOpen())
        return;
    database_.close();
    table_ = {};
}

void ChannelStore::fail(const QString &detail)
{
    errorDetail_ = detail;
}

qint64 ChannelStore::dataVersion()
{
    QSqlQuery query(QSqlDatabase::database(connectionName(), false));
    if (!query.exec(QStringLiteral("PRAGMA data_version")) || !query.next())
        return -1;
    return query.value(0).toLongLong();
}

QString ChannelStore::integrityCheck() const
{
    QSqlQuery query(QSqlDatabase::database(connectionName(), false));
    if (!query.exec(QStringLiteral("PRAGMA integrity_check")))
        return query.lastError().text();
    QStringList found;
    while (query.next())
        found << query.value(0).toString();
    return found.join(QLatin1Char('\n'));
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
    std::optional<ChannelDatabase::Table> table = database_.readAgain();
    if (!table) {
        fail(database_.errorDetail());
        return false;
    }
    const bool countChanges = table->rows.size() != table_.rows.size();
    if (countChanges)
        emit rowCountAboutToChange();
    table_ = std::move(*table);
    if (countChanges)
        emit rowCountChanged();
    else if (!table_.rows.empty())
        emit rowsChanged(0, rowCount() - 1);
    dataVersion_ = version;
    emit changedElsewhere();
    return true;
}

FieldValue ChannelStore::field(int row, int field) const
{
    if (row < 0 || row >= rowCount() || field < 0 || field >= kFieldCount)
        return std::nullopt;
    return table_.rows[static_cast<std::size_t>(row)][static_cast<std::size_t>(field)];
}

ChannelRecord ChannelStore::record(int row) const
{
    if (row < 0 || row >= rowCount())
        return {};
    return table_.rows[static_cast<std::size_t>(row)];
}

bool ChannelStore::setField(int row, int field, const FieldValue &value)
{
    return apply({{row, field, value}});
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
    // SQLite keeps writing into a file that was deleted or replaced under
    // it, and everything written then is lost at exit; refuse instead.
    if (!database_.isSameFile()) {
        fail(QStringLiteral("the database file is gone or was replaced"));
        return false;
    }

    QSqlDatabase db = QSqlDatabase::database(connectionName(), false);
    if (!db.transaction()) {
        fail(db.lastError().text());
        return false;
    }
    if (alongside)
        alongside();
    // One statement per row, prepared once for each set of fields: a whole
    // plan is 500 changes but only 50 rows. Within a row the last value of
    // a cell wins, as it would statement by statement.
    std::vector<int> groupOf(table_.rows.size(), -1);
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
                assignments << ChannelDatabase::quoted(table_.columns[f]) + QStringLiteral(" = ?");
            }
        }
        auto found = updates.find(mask);
        if (found == updates.end()) {
            found = updates.emplace(mask, QSqlQuery(db)).first;
            ok = found->second.prepare(
                QStringLiteral("UPDATE %1 SET %2 WHERE rowid = ?")
                    .arg(ChannelDatabase::quotedTableName(), assignments.join(QStringLiteral(", "))));
        }
        query = &found->second;
        if (ok) {
            int position = 0;
            for (const std::optional<FieldValue> &value : values)
                if (value)
                    query->bindValue(position++, toVariant(*value));
            query->bindValue(position, table_.rowids[static_cast<std::size_t>(row)]);
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
        table_.rows[static_cast<std::size_t>(c.row)][static_cast<std::size_t>(c.field)] = c.value;
        first = std::min(first, c.row);
        last = std::max(last, c.row);
    }
    emit rowsChanged(first, last);
    return true;
}

} // namespace vq
