#include "channels/ChannelStore.h"
#include "channels/ChannelTableModel.h"
#include "channels/ValueDomains.h"
#include "support/StoreHelpers.h"

#include <QtTest>

using namespace vq;
using test::digest;
using test::peek;

class TestChannelStore : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;

private slots:
    void createsMissingFile()
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

    void writesReachTheFile()
    {
        const QString path = dir_.filePath(QStringLiteral("writes.db"));
        {
            ChannelStore store;
            QVERIFY(store.open(path));
            QSignalSpy changed(&store, &ChannelStore::rowsChanged);
            ChannelTableModel model(store); // the grid repaints whole rows
            QSignalSpy repainted(&model, &QAbstractItemModel::dataChanged);
            QVERIFY(store.apply({{5, RxTone, ""}, {2, TxTone, " "}, {4, RxFrequency, "145.00000"}}));
            QVERIFY(store.setField(4, RxFrequency, std::nullopt) && store.apply({}));
            QCOMPARE(QList<QVariantList>(changed), (QList<QVariantList>{{2, 5}, {4, 4}}));
            QCOMPARE(repainted.first().at(0).toModelIndex(), model.index(2, 0));
            QCOMPARE(repainted.first().at(1).toModelIndex(), model.index(5, kFieldCount - 1));
        }
        // Null and the empty text stay apart, on disk and when read again.
        QCOMPARE(peek(path, "SELECT quote(收哑音) || quote(发哑音) || quote(接收频率) FROM 信道表 WHERE "
                            "rowid IN (3, 5, 6)"),
                 (QStringList{"NULL' 'NULL", "NULLNULLNULL", "''NULLNULL"}));
        ChannelStore store;
        QVERIFY(store.open(path));
        QVERIFY(store.field(5, RxTone) == FieldValue("") && store.field(2, TxTone) == FieldValue(" ") &&
                store.field(4, RxFrequency) == FieldValue());
    }

    void refusedWritesChangeNothing()
    {
        const QString path = dir_.filePath(QStringLiteral("refused.db"));
        ChannelStore store;
        QVERIFY(!store.setField(0, RxFrequency, "1")); // not open yet
        QVERIFY(store.open(path) && store.setField(0, RxFrequency, "438.50000"));
        const auto before = test::snapshot(store);
        const QByteArray file = digest(path);
        QSignalSpy changed(&store, &ChannelStore::rowsChanged);

        // A batch naming one cell that is not there lands not at all.
        for (auto [row, field] :
             {std::pair{-1, 1}, std::pair{kChannelCount, 1}, std::pair{0, -1}, std::pair{0, kFieldCount}})
            QVERIFY(!store.apply({{0, RxFrequency, "145.00000"}, {row, field, "145.00000"}}));
        QCOMPARE(digest(path), file);
        // A row deleted behind the store's back fails after the first change: rolled back.
        QVERIFY(test::execSql(path, {QStringLiteral("DELETE FROM 信道表 WHERE rowid = 6")}));
        QVERIFY(!store.apply({{0, RxFrequency, "145.00000"}, {5, RxFrequency, "145.00000"}}));
        QCOMPARE(peek(path, "SELECT 接收频率 FROM 信道表 WHERE rowid = 1"), QStringList{"438.50000"});
        // A file removed or replaced under the store is not written blindly.
        QVERIFY(QFile::rename(path, path + ".old") && QFile::copy(path + ".old", path));
        QVERIFY(!store.setField(1, RxFrequency, "145.00000") && QFile::remove(path));
        QVERIFY(!store.setField(1, RxFrequency, "145.00000") && !store.errorDetail().isEmpty());
        QCOMPARE(test::snapshot(store), before);
        QCOMPARE(changed.count(), 0);
    }

    void tablesMadeElsewhere()
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
        // Identical rows stay separate, in rowid order; fewer than 50 are taken as they are.
        const QString path = dir_.filePath(QStringLiteral("twins.db"));
        QVERIFY(test::execSql(path, {"CREATE TABLE 信道表 (n, rx, a, b, tx, c, d, s, bcl, beat)",
                                     "INSERT INTO 信道表 (rowid, n, rx) VALUES (9, 3, '145.00000')",
                                     "INSERT INTO 信道表 (rowid, n, rx) VALUES (2, '7', '145.00000')",
                                     "INSERT INTO 信道表 (rowid, n, rx) VALUES (5, '7', '145.00000')"}));
        QVERIFY(store.open(path));
        QCOMPARE(store.rowCount(), 3);
        QCOMPARE(store.field(2, ChannelNumber), FieldValue("3")); // a number reads as its text
        QVERIFY(store.setField(1, RxFrequency, "438.50000"));
        QCOMPARE(peek(path, "SELECT rx FROM 信道表 ORDER BY rowid"),
                 (QStringList{"145.00000", "438.50000", "145.00000"}));
    }
};

QTEST_GUILESS_MAIN(TestChannelStore)
#include "tst_channelstore.moc"
