#include "channels/ChannelStore.h"
#include "channels/ValueDomains.h"
#include "support/StoreHelpers.h"

#include <QCryptographicHash>
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

using vq::ChannelStore;

namespace {

QByteArray digest(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

QVariant cellFromOutside(const QString &path, int rowid, const QString &column)
{
    QVariant value;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("peek"));
        db.setDatabaseName(path);
        db.open();
        QSqlQuery q(db);
        q.exec(QStringLiteral("SELECT \"%1\" FROM \"信道表\" WHERE rowid = %2").arg(column).arg(rowid));
        if (q.next())
            value = q.value(0);
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("peek"));
    return value;
}

} // namespace

class TestChannelStore : public QObject {
    Q_OBJECT
private slots:
    void createsMissingFile();
    void nullAndEmptyStayDistinct();
    void batchIsAllOrNothing();
    void badFilesAreRefusedUntouched();
    void rowidOrderAndDuplicateRows();
    void deletedFileIsNotWrittenBlindly();

private:
    QTemporaryDir dir_;
};

void TestChannelStore::createsMissingFile()
{
    const QString path = dir_.filePath(QStringLiteral("new.db"));
    {
        ChannelStore store;
        QVERIFY(store.open(path));
        QCOMPARE(store.rowCount(), 50);
        for (int row = 0; row < 50; ++row) {
            QCOMPARE(store.field(row, 0), vq::FieldValue(std::to_string(row + 1)));
            for (int f = 1; f < vq::kFieldCount; ++f)
                QVERIFY(!store.field(row, f).has_value());
        }
    }
    // Ten TEXT columns, named and ordered as the channel record.
    QStringList columns;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("check"));
        db.setDatabaseName(path);
        QVERIFY(db.open());
        QSqlQuery q(db);
        QVERIFY(q.exec(QStringLiteral("PRAGMA table_info(\"信道表\")")));
        while (q.next()) {
            columns << q.value(1).toString();
            QCOMPARE(q.value(2).toString(), QStringLiteral("TEXT"));
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("check"));
    QStringList expected;
    for (auto name : vq::fieldNames())
        expected << QString::fromUtf8(name.data(), qsizetype(name.size()));
    QCOMPARE(columns, expected);

    // Reopening finds what the first run left.
    ChannelStore again;
    QVERIFY(again.open(path));
    QCOMPARE(again.rowCount(), 50);
}

void TestChannelStore::nullAndEmptyStayDistinct()
{
    const QString path = dir_.filePath(QStringLiteral("null.db"));
    {
        ChannelStore store;
        QVERIFY(store.open(path));
        QSignalSpy changed(&store, &ChannelStore::rowsChanged);
        QVERIFY(store.setField(3, vq::RxTone, std::string()));
        QVERIFY(store.setField(3, vq::TxTone, std::string(" ")));
        QVERIFY(store.setField(3, vq::RxFrequency, std::string("145.00000")));
        QVERIFY(store.setField(3, vq::RxFrequency, std::nullopt));
        QCOMPARE(changed.count(), 4);
        QCOMPARE(changed.last().at(0).toInt(), 3);
    }
    // Written at once, and read back the same by a fresh connection.
    QVERIFY(!cellFromOutside(path, 4, QStringLiteral("收哑音")).isNull());
    QCOMPARE(cellFromOutside(path, 4, QStringLiteral("收哑音")).toString(), QString());
    QVERIFY(cellFromOutside(path, 4, QStringLiteral("接收频率")).isNull());
    ChannelStore store;
    QVERIFY(store.open(path));
    QCOMPARE(store.field(3, vq::RxTone), vq::FieldValue(std::string()));
    QCOMPARE(store.field(3, vq::TxTone), vq::FieldValue(std::string(" ")));
    QCOMPARE(store.field(3, vq::RxFrequency), vq::FieldValue());
}

void TestChannelStore::batchIsAllOrNothing()
{
    const QString path = dir_.filePath(QStringLiteral("batch.db"));
    ChannelStore store;
    QVERIFY(store.open(path));
    QVERIFY(store.setField(0, vq::RxFrequency, std::string("438.50000")));
    const QByteArray before = digest(path);

    // The last change names a row that is not there: none of it may land.
    std::vector<ChannelStore::Change> changes;
    for (int row = 0; row < 10; ++row)
        changes.push_back({row, vq::RxFrequency, std::string("145.00000")});
    changes.push_back({50, vq::RxFrequency, std::string("145.00000")});
    QVERIFY(!store.apply(changes));
    QCOMPARE(store.field(0, vq::RxFrequency), vq::FieldValue(std::string("438.50000")));
    QCOMPARE(digest(path), before);

    // A row deleted behind the store's back fails inside the transaction,
    // after earlier rows of the batch were already updated: rolled back.
    QVERIFY(vq::test::execSql(path, {QStringLiteral("DELETE FROM \"信道表\" WHERE rowid = 6")}));
    changes.pop_back();
    QVERIFY(!store.apply(changes));
    QCOMPARE(store.field(0, vq::RxFrequency), vq::FieldValue(std::string("438.50000")));
    QCOMPARE(cellFromOutside(path, 1, QStringLiteral("接收频率")).toString(), QStringLiteral("438.50000"));
    QVERIFY(cellFromOutside(path, 2, QStringLiteral("接收频率")).isNull());
}

void TestChannelStore::badFilesAreRefusedUntouched()
{
    struct Case {
        const char *name;
        QByteArray content;
        QStringList sql;
        ChannelStore::OpenError error;
    };
    const QList<Case> cases = {
        {"text.db",
         QByteArray("this is not a database\n").repeated(100),
         {},
         ChannelStore::OpenError::NotADatabase},
        {"othertable.db",
         {},
         {QStringLiteral("CREATE TABLE other (a TEXT)")},
         ChannelStore::OpenError::NoTable},
        {"narrow.db",
         {},
         {QStringLiteral("CREATE TABLE \"信道表\" (a TEXT, b TEXT, c TEXT, d TEXT, e TEXT, f TEXT, g TEXT, h "
                         "TEXT, i TEXT)"),
          QStringLiteral("INSERT INTO \"信道表\" (a) VALUES ('1')")},
         ChannelStore::OpenError::TooFewColumns},
    };
    for (const Case &c : cases) {
        const QString path = dir_.filePath(QString::fromLatin1(c.name));
        if (c.sql.isEmpty()) {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(c.content);
        } else {
            QVERIFY(vq::test::execSql(path, c.sql));
        }
        const QByteArray before = digest(path);
        const qint64 size = QFileInfo(path).size();
        ChannelStore store;
        QVERIFY2(!store.open(path), c.name);
        QCOMPARE(store.openError(), c.error);
        QVERIFY(!store.isOpen());
        QCOMPARE(digest(path), before);
        QCOMPARE(QFileInfo(path).size(), size);
    }

    ChannelStore store;
    QVERIFY(!store.open(dir_.path())); // a directory
    QCOMPARE(store.openError(), ChannelStore::OpenError::CannotOpen);
    QVERIFY(!store.open(dir_.filePath(QStringLiteral("no/such/dir/x.db"))));
    QVERIFY(!QFileInfo::exists(dir_.filePath(QStringLiteral("no/such/dir/x.db"))));
}

void TestChannelStore::rowidOrderAndDuplicateRows()
{
    // Rows with identical values are still separate rows: writing one must
    // not rewrite its twins. Fewer than 50 rows and other names are taken.
    const QString path = dir_.filePath(QStringLiteral("twins.db"));
    QVERIFY(vq::test::execSql(
        path, {QStringLiteral("CREATE TABLE \"信道表\" (n TEXT, rx TEXT, a TEXT, b TEXT, tx TEXT, c TEXT, d "
                              "TEXT, s TEXT, bcl TEXT, beat TEXT)"),
               QStringLiteral("INSERT INTO \"信道表\" (n, rx) VALUES ('7', '145.00000')"),
               QStringLiteral("INSERT INTO \"信道表\" (n, rx) VALUES ('7', '145.00000')"),
               QStringLiteral("INSERT INTO \"信道表\" (n, rx) VALUES (3, '145.00000')")}));
    ChannelStore store;
    QVERIFY(store.open(path));
    QCOMPARE(store.rowCount(), 3);
    QCOMPARE(store.field(2, 0), vq::FieldValue(std::string("3"))); // a number reads as its text
    QVERIFY(store.setField(1, vq::RxFrequency, std::string("438.50000")));
    QCOMPARE(cellFromOutside(path, 1, QStringLiteral("rx")).toString(), QStringLiteral("145.00000"));
    QCOMPARE(cellFromOutside(path, 2, QStringLiteral("rx")).toString(), QStringLiteral("438.50000"));
    QCOMPARE(cellFromOutside(path, 3, QStringLiteral("rx")).toString(), QStringLiteral("145.00000"));
}

void TestChannelStore::deletedFileIsNotWrittenBlindly()
{
    const QString path = dir_.filePath(QStringLiteral("gone.db"));
    ChannelStore store;
    QVERIFY(store.open(path));
    QVERIFY(QFile::remove(path));
    QVERIFY(!store.setField(0, vq::RxFrequency, std::string("145.00000")));
    QVERIFY(!store.errorDetail().isEmpty());
    QVERIFY(!store.field(0, vq::RxFrequency).has_value());
}

QTEST_GUILESS_MAIN(TestChannelStore)
#include "tst_channelstore.moc"
