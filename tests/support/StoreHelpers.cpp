#include "support/StoreHelpers.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QUuid>

namespace vq::test {

std::vector<ChannelRecord> snapshot(const ChannelStore &store)
{
    std::vector<ChannelRecord> rows;
    for (int row = 0; row < store.rowCount(); ++row)
        rows.push_back(store.record(row));
    return rows;
}

bool execSql(const QString &path, const QStringList &statements)
{
    const QString name = QUuid::createUuid().toString();
    bool ok = true;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        ok = db.open();
        QSqlQuery query(db);
        for (const QString &statement : statements)
            ok = ok && query.exec(statement);
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return ok;
}

} // namespace vq::test
