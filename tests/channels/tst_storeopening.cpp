#include "plan/Programmer.h"
#include "support/StoreHelpers.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QtTest>

#include <iostream>

using namespace vq;

namespace {

// This program run again as another copy on the same store: it says whether
// it was told, then changes a cell when given a line.
int runOtherCopy(const QString &path)
{
    ChannelStore store;
    std::string line;
    std::cout << (store.open(path) ? "open " : "failed ") << store.openedElsewhere() << std::endl;
    std::getline(std::cin, line);
    std::cout << (store.setField(2, RxFrequency, "438.50000") ? "done" : "failed") << std::endl;
    std::getline(std::cin, line);
    return 0;
}

QByteArray reply(QProcess &p, const QByteArray &line = {})
{
    p.write(line);
    return p.waitForReadyRead(10000) ? p.readLine().trimmed() : "silent";
}

} // namespace

class TestStoreOpening : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;

private slots:
    void openFailuresSayWhy_data()
    {
        // Each refused, with its cause, and the file left exactly as it was.
        QTest::addColumn<QStringList>("sql");
        QTest::addColumn<QString>("cause");
        const QString nine = "CREATE TABLE 信道表 (id INTEGER, 信道号, 接收频率, 收哑音, 收数字哑音, "
                             "发送频率, 发哑音, 发数字哑音, 扫描, BCL%1)";
        QTest::newRow("text") << QStringList() << texts::kStoreNotADatabase;
        QTest::newRow("other table") << QStringList{"CREATE TABLE t (a)"} << texts::kStoreNoTable;
        // Ten columns, yet reading them by position would be one off.
        QTest::newRow("id and nine") << QStringList{nine.arg(QString())}
                                     << QStringLiteral("信道表缺少字段：拍频");
        QTest::newRow("nine unnamed") << QStringList{"CREATE TABLE 信道表 (a, b, c, d, e, f, g, h, i)",
                                                     "INSERT INTO 信道表 (a) VALUES (1)"}
                                      << QStringLiteral("信道表缺少字段：信道号、接收频率、收哑音、收数字哑音"
                                                        "、发送频率、发哑音、发数字哑音、扫描、BCL、拍频");
        QTest::newRow("locked") << QStringList{nine.arg(QStringLiteral(", 拍频"))} << texts::kStoreLocked;
        QTest::newRow("no folder") << QStringList() << texts::kStoreNoFolder;
        QTest::newRow("a folder") << QStringList() << QString();
    }

    void openFailuresSayWhy()
    {
        QFETCH(QStringList, sql);
        QFETCH(QString, cause);
        const QString tag = QString::fromLatin1(QTest::currentDataTag());
        const QString path = tag == "a folder"
                                 ? dir_.path()
                                 : dir_.filePath(tag + (cause == texts::kStoreNoFolder ? "/x.db" : ".db"));
        QVERIFY(tag == "text" ? test::writeFile(path, QByteArray(1500, 'x'))
                              : sql.isEmpty() || test::execSql(path, sql));
        const QByteArray before = test::digest(path);
        // Another connection inside a write transaction holds the file.
        QSqlDatabase holder = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), tag);
        holder.setDatabaseName(path);
        if (cause == texts::kStoreLocked)
            QVERIFY(holder.open() && QSqlQuery(holder).exec(QStringLiteral("BEGIN EXCLUSIVE")));
        Programmer programmer;
        const Result result = programmer.openStore(path);
        QVERIFY(!result.ok && !programmer.store().isOpen());
        QCOMPARE(result.notices.value(0).text, QStringLiteral("信道数据库无法打开：") + path);
        QCOMPARE(result.notices.value(0).informative, cause);
        QCOMPARE(test::digest(path), before);
    }

    void emptyFileAndNamedColumns()
    {
        // A 0-byte file is an empty database: it becomes a new store.
        const QString empty = dir_.filePath(QStringLiteral("empty.db"));
        QVERIFY(QFile(empty).open(QIODevice::WriteOnly));
        ChannelStore store;
        QVERIFY2(store.open(empty), qPrintable(store.errorDetail()));
        QCOMPARE(store.field(49, ChannelNumber), FieldValue("50"));

        // Fields found by name in any order; the others are never written.
        const QString wide = dir_.filePath(QStringLiteral("wide.db"));
        QVERIFY(
            test::execSql(wide, {"CREATE TABLE 信道表 (id, 拍频, bcl, 扫描, 发数字哑音, 发哑音, 发送频率, "
                                 "收数字哑音, 收哑音, 接收频率, 信道号, note)",
                                 "INSERT INTO 信道表 VALUES ('i', 'b', 'l', 's', 'td', 'tt', 'tx', 'rd', "
                                 "'rt', 'rx', '1', 'n')"}));
        QVERIFY2(store.open(wide), qPrintable(store.errorDetail()));
        QCOMPARE(store.record(0), (ChannelRecord{"1", "rx", "rt", "rd", "tx", "tt", "td", "s", "l", "b"}));
        QVERIFY(store.apply({{0, RxFrequency, "438.50000"}, {0, Beat, std::nullopt}}));
        QVERIFY(test::execSql(wide, {"DELETE FROM 信道表 WHERE id = 'i' AND note = 'n' AND 拍频 IS NULL "
                                     "AND 接收频率 = '438.50000'"}));
        QVERIFY(store.refreshIfChangedElsewhere());
        QCOMPARE(store.rowCount(), 0);
    }

    void commandLineMistakes_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("named");
        QTest::newRow("positional") << QStringList{"myplan.db"} << "myplan.db";
        QTest::newRow("unknown") << QStringList{"--bd", "x.db"} << "--bd";
        QTest::newRow("short") << QStringList{"-x"} << "-x";
        QTest::newRow("twice") << QStringList{"--db=a.db", "--db=b.db"} << "--db";
        QTest::newRow("empty") << QStringList{"--db", ""} << "--db \"\"";
        QTest::newRow("memory") << QStringList{"--db=:memory:"} << ":memory:";
    }

    void commandLineMistakes()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, named);
        QTemporaryDir here;
        QProcess p;
        p.setWorkingDirectory(here.path());
        p.start(QCoreApplication::applicationDirPath() + QStringLiteral("/../vq4471r"), arguments);
        QVERIFY(p.waitForFinished(10000));
        QCOMPARE(p.exitCode(), 2);
        // The line just above the usage names the mistake.
        const QString err = QString::fromUtf8(p.readAllStandardError());
        const QString line = err.left(err.indexOf(QLatin1String("Usage:"))).trimmed().section('\n', -1);
        QVERIFY2(line.contains(named) && err.contains(QLatin1String("--com1")), qPrintable(err));
        QCOMPARE(QDir(here.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList());
    }

    void secondCopyIsToldAndSeesChanges()
    {
        const QString path = dir_.filePath(QStringLiteral("shared.db"));
        QProcess other;
        other.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--other-copy"), path});
        QCOMPARE(reply(other), QByteArray("open 0"));

        Programmer programmer;
        Result opened = programmer.openStore(path);
        QVERIFY(opened.ok && opened.notices.value(0).text == texts::kStoreOpenedElsewhere);
        QVERIFY(programmer.applyTypedValue(5, RxFrequency, QStringLiteral("145.00000")).ok);
        QSignalSpy changed(&programmer.store(), &ChannelStore::rowsChanged);
        QCOMPARE(reply(other, "\n"), QByteArray("done"));
        // Saving a file looks at the table first; undo could only bring back the old picture.
        QVERIFY(programmer.saveChannelFile([&] { return dir_.filePath(QStringLiteral("plan.doc")); }).ok);
        QCOMPARE(programmer.store().field(2, RxFrequency), FieldValue("438.50000"));
        QCOMPARE(changed.value(0), (QList<QVariant>{0, kChannelCount - 1}));
        QCOMPARE(programmer.undoStack().count(), 0);
        QVERIFY(!programmer.store().refreshIfChangedElsewhere());

        // A killed copy leaves nothing that would warn the next one.
        other.kill();
        QVERIFY(other.waitForFinished(5000));
        opened = programmer.openStore(path);
        QVERIFY(opened.ok && opened.notices.isEmpty());
    }
};

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc == 3 && qstrcmp(argv[1], "--other-copy") == 0)
        return runOtherCopy(QString::fromLocal8Bit(argv[2]));
    TestStoreOpening test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_storeopening.moc"
