#include "support/StoreHelpers.h"

#include "channels/ChannelHistory.h"
#include "plan/PlanFrames.h"

#include <QCryptographicHash>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QUuid>

namespace vq::test {

int setting(const char *name, int otherwise)
{
    bool ok = false;
    const int value = qEnvironmentVariableIntValue(name, &ok);
    return ok ? value : otherwise;
}

bool fillPlan(const QString &path)
{
    const QString rx = QStringLiteral("printf('%d.0%d000', 430 + (信道号 - 1) / 10, (信道号 - 1) % 10)");
    return ChannelStore().open(path) &&
           execSql(path, {QStringLiteral("UPDATE 信道表 SET 接收频率 = %1, 发送频率 = %1, "
                                         "发哑音 = iif((信道号 - 1) % 3 = 0, '88.5', ''), "
                                         "扫描 = iif(信道号 % 2, 'add', 'del'), 拍频 = 'off', "
                                         "BCL = iif((信道号 - 1) % 4 = 1, '2', 'off')")
                                  .arg(rx)});
}

QStringList framesOf(const QString &path)
{
    ChannelStore store;
    return store.open(path) ? framesOf(planRows(store)) : QStringList();
}

QStringList framesOf(const std::vector<ChannelRecord> &rows)
{
    QStringList frames;
    for (const QByteArray &frame : encodePlan(rows).frames)
        frames << QString::fromLatin1(frame);
    return frames;
}

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

QStringList peek(const QString &path, const QString &sql)
{
    const QString name = QUuid::createUuid().toString();
    QStringList out;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        QSqlQuery q(db);
        if (db.open() && q.exec(sql))
            while (q.next())
                out << (q.value(0).isNull() ? QStringLiteral("<null>") : q.value(0).toString());
    }
    QSqlDatabase::removeDatabase(name);
    return out;
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

QByteArray digest(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256)
                                       : QByteArray();
}

} // namespace vq::test
