#include "channels/ChannelStore.h"
#include "channels/ValueDomains.h"
#include "support/StoreHelpers.h"

#include <QCryptographicHash>
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

using namespace vq;

namespace {

QByteArray digest(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256)
                                       : QByteArray();
}

// The rows of a query, through a connection of its own as another program
// would see them; Null cells as "<null>".
QStringList peek(const QString &path, const QString &sql)
{
    QStringList out;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("peek"));
        db.setDatabaseName(path);
        QSqlQuery q(db);
        if (db.open() && q.exec(sql))
            while (q.next())
                out << (q.value(0).isNull() ? QStringLiteral("<null>") : q.value(0).toString());
    }
    QSqlDatabase::removeDatabase(QStringLiteral("peek"));
    return out;
}

} // namespace

class TestChannelStore : public QObject {
    Q_OBJECT
private slots:
    void createsMissingFile();
    void writesReachTheFile();
    void refusedWritesChangeNothing();
    void badFiles();
    void duplicateRowsStaySeparate();

private:
    QTemporaryDir dir_;
};

void TestChannelStore::createsMissingFile()
{
    const QString path = dir_.filePath(QStringLiteral("new.db"));
    QStringList names;
    for (auto name : fieldNames())
        names << QString::fromUtf8(name.data(), qsizetype(name.size()));
    for (int run = 0; run < 2; ++run) { // the second run finds what the first left
        ChannelStore store;
        QVERIFY(store.open(path));
        QCOMPARE(store.rowCount(), kChannelCount);
        for (int row = 0; row < kChannelCount; ++row)
            QCOMPARE(store.record(row), ChannelRecord{std::to_string(row + 1)});
        QVERIFY(!store.field(-1, 0) && !store.field(kChannelCount, 0) && !store.field(0, -1) &&
                !store.field(0, kFieldCount) && store.record(kChannelCount) == ChannelRecord{});
    }
    QCOMPARE(peek(path, "SELECT name FROM pragma_table_info('信道表')"), names);
    QCOMPARE(peek(path, "SELECT DISTINCT type FROM pragma_table_info('信道表')"), QStringList{"TEXT"});
}

void TestChannelStore::writesReachTheFile()
{
    const QString path = dir_.filePath(QStringLiteral("writes.db"));
    {
        ChannelStore store;
        QVERIFY(store.open(path));
        QSignalSpy changed(&store, &ChannelStore::rowsChanged);
        QVERIFY(store.apply({{5, RxTone, ""}, {2, TxTone, " "}, {4, RxFrequency, "145.00000"}}));
        QVERIFY(store.setField(4, RxFrequency, std::nullopt));
        QVERIFY(store.apply({}));
        QCOMPARE(QList<QVariantList>(changed), (QList<QVariantList>{{2, 5}, {4, 4}}));
    }
    // Null and the empty text stay apart, on disk and when read again.
    QCOMPARE(peek(path, "SELECT quote(收哑音) || quote(发哑音) || quote(接收频率) FROM 信道表 WHERE rowid "
                        "IN (3, 5, 6)"),
             (QStringList{"NULL' 'NULL", "NULLNULLNULL", "''NULLNULL"}));
    ChannelStore store;
    QVERIFY(store.open(path));
    QCOMPARE(store.field(5, RxTone), FieldValue(""));
    QCOMPARE(store.field(2, TxTone), FieldValue(" "));
    QCOMPARE(store.field(4, RxFrequency), FieldValue());
}

void TestChannelStore::refusedWritesChangeNothing()
{
    const QString path = dir_.filePath(QStringLiteral("refused.db"));
    ChannelStore store;
    QVERIFY(!store.setField(0, RxFrequency, "1")); // not open yet
    QVERIFY(store.open(path));
    QVERIFY(store.setField(0, RxFrequency, "438.50000"));
    const auto before = test::snapshot(store);
    const QByteArray file = digest(path);
    QSignalSpy changed(&store, &ChannelStore::rowsChanged);

    // A batch naming one cell that is not there lands not at all.
    for (auto [row, field] :
         {std::pair{-1, 1}, std::pair{kChannelCount, 1}, std::pair{0, -1}, std::pair{0, kFieldCount}})
        QVERIFY(!store.apply({{0, RxFrequency, "145.00000"}, {row, field, "145.00000"}}));
    QCOMPARE(digest(path), file);
    // A row deleted behind the store's back fails inside the transaction,
    // after the first change was made: rolled back.
    QVERIFY(test::execSql(path, {QStringLiteral("DELETE FROM 信道表 WHERE rowid = 6")}));
    QVERIFY(!store.apply({{0, RxFrequency, "145.00000"}, {5, RxFrequency, "145.00000"}}));
    QCOMPARE(peek(path, "SELECT 接收频率 FROM 信道表 WHERE rowid = 1"), QStringList{"438.50000"});
    // A file removed or replaced under the store is not written blindly.
    QVERIFY(QFile::rename(path, path + ".old") && QFile::copy(path + ".old", path));
    QVERIFY(!store.setField(1, RxFrequency, "145.00000"));
    QVERIFY(QFile::remove(path));
    QVERIFY(!store.setField(1, RxFrequency, "145.00000"));
    QVERIFY(!store.errorDetail().isEmpty());
    QCOMPARE(test::snapshot(store), before);
    QCOMPARE(changed.count(), 0);
}

void TestChannelStore::badFiles()
{
    // Refused, and left exactly as it was.
    using Error = ChannelStore::OpenError;
    const QString nine =
        "CREATE TABLE 信道表 (a TEXT, b TEXT, c TEXT, d TEXT, e TEXT, f TEXT, g TEXT, h TEXT, i TEXT)";
    // clang-format off
    const std::tuple<QString, QByteArray, QStringList, Error> cases[] = {
        {"text", QByteArray("not a database\n").repeated(100), {}, Error::NotADatabase},
        {"other table", {}, {"CREATE TABLE other (a TEXT)"}, Error::NoTable},
        {"nine columns", {}, {nine, "INSERT INTO 信道表 (a) VALUES ('1')"}, Error::TooFewColumns},
    };
    // clang-format on
    for (const auto &[name, content, sql, error] : cases) {
        const QString path = dir_.filePath(name + ".db");
        QFile f(path);
        QVERIFY(sql.isEmpty() ? f.open(QIODevice::WriteOnly) && f.write(content) == content.size()
                              : test::execSql(path, sql));
        f.close();
        const QByteArray before = digest(path);
        ChannelStore store;
        QVERIFY2(!store.open(path) && store.openError() == error && !store.isOpen(), qPrintable(name));
        QCOMPARE(digest(path), before);
    }
    ChannelStore store;
    QVERIFY(!store.open(dir_.path()));
    QCOMPARE(store.openError(), Error::CannotOpen);
    QVERIFY(!store.open(dir_.filePath("no/such/dir/x.db")));
}

void TestChannelStore::duplicateRowsStaySeparate()
{
    // Identical rows are still separate rows, in rowid order; fewer than 50
    // rows are taken as they are.
    const QString path = dir_.filePath(QStringLiteral("twins.db"));
    QVERIFY(test::execSql(path, {"CREATE TABLE 信道表 (n, rx, a, b, tx, c, d, s, bcl, beat)",
                                 "INSERT INTO 信道表 (rowid, n, rx) VALUES (9, 3, '145.00000')",
                                 "INSERT INTO 信道表 (rowid, n, rx) VALUES (2, '7', '145.00000')",
                                 "INSERT INTO 信道表 (rowid, n, rx) VALUES (5, '7', '145.00000')"}));
    ChannelStore store;
    QVERIFY(store.open(path));
    QCOMPARE(store.rowCount(), 3);
    QCOMPARE(store.field(2, ChannelNumber), FieldValue("3")); // a number reads as its text
    QVERIFY(store.setField(1, RxFrequency, "438.50000"));
    QCOMPARE(peek(path, "SELECT rx FROM 信道表 ORDER BY rowid"),
             (QStringList{"145.00000", "438.50000", "145.00000"}));
}

QTEST_GUILESS_MAIN(TestChannelStore)
#include "tst_channelstore.moc"
