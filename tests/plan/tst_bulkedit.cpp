// Spreadsheet-style editing through the programmer: copy and paste, clear,
// fill down, change many and the preset channels, each all or nothing and
// one undoable step. What a read refuses is with the transfers.
#include "channels/Decimal.h"
#include "support/PlanRig.h"
#include "support/StoreHelpers.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace vq;

namespace {

// Rows 2 … 4 full, with both tone kinds, and a lone frequency in row 0.
// clang-format off
const std::vector<ChannelStore::Change> kPlan = {
    {0, RxFrequency, "145.00000"}, {0, TxFrequency, "145.00000"},
    {2, RxFrequency, "430.12500"}, {2, RxTone, "88.5"}, {2, TxFrequency, "435.12500"}, {2, TxTone, "250.3"},
    {2, Scan, "add"}, {2, Bcl, "off"}, {2, Beat, "on"},
    {3, RxFrequency, "145.00625"}, {3, RxDcs, "023"}, {3, TxFrequency, "145.60625"}, {3, TxDcs, "754"},
    {3, Scan, "del"}, {3, Bcl, "2"}, {3, Beat, "off"},
    {4, RxFrequency, "462.56250"}, {4, Scan, " "}};
// clang-format on

std::vector<Cell> cells(int top, int bottom, int left, int right)
{
    std::vector<Cell> out;
    for (int row = top; row <= bottom; ++row)
        for (int column = left; column <= right; ++column)
            out.push_back({row, column});
    return out;
}

std::string text(const ChannelStore &store, int row, int column)
{
    return textOf(store.field(row, column));
}

} // namespace

class TestBulkEdit : public QObject {
    Q_OBJECT
private slots:
    void copyThenPasteGivesTheSameRows()
    {
        VQ_RIG(rig, db(), QString());
        QVERIFY(rig.store().apply(kPlan));
        // Whole rows come with the header, which the paste skips; a block
        // of cells lands from the current cell.
        const QString rows = rig.programmer.editor().copyCells(cells(2, 4, 0, kFieldCount - 1));
        QVERIFY(rows.startsWith(QStringLiteral("信道号\t接收频率\t")));
        QVERIFY(rig.take(rig.programmer.editor().paste(rows, {}, {20, 3})));
        const QString block = rig.programmer.editor().copyCells(cells(2, 3, 5, 9));
        QVERIFY(rig.take(rig.programmer.editor().paste(block, cells(40, 40, 5, 5), {0, 0})));
        const auto after = test::snapshot(rig.store());
        for (int n = 0; n < 3; ++n) {
            QCOMPARE(after[20 + n][ChannelNumber], FieldValue(std::to_string(21 + n)));
            for (int f = RxFrequency; f < kFieldCount; ++f)
                QCOMPARE(textOf(after[20 + n][f]), textOf(after[2 + n][f]));
        }
        for (int n = 0; n < 2; ++n)
            for (int f = TxTone; f < kFieldCount; ++f)
                QCOMPARE(textOf(after[40 + n][f]), textOf(after[2 + n][f]));
        QCOMPARE(rig.programmer.editor().undoCount(), 2);
        QCOMPARE(rig.programmer.editor().undoText(), QStringLiteral("粘贴"));
        QVERIFY(rig.take(rig.programmer.editor().undo()));
        QCOMPARE(text(rig.store(), 40, TxTone), std::string());
        // A single value goes into every selected cell, and the transmit
        // frequency follows the receive one; one off the raster is refused
        // with what typing would make of it.
        QVERIFY(rig.take(rig.programmer.editor().paste(QStringLiteral("438.5\n"), cells(10, 12, 1, 1), {0, 0})));
        for (int row = 10; row <= 12; ++row)
            QCOMPARE(text(rig.store(), row, TxFrequency), std::string("438.50000"));
        QVERIFY(rig.notices.isEmpty());
        QVERIFY(!rig.take(rig.programmer.editor().paste(QStringLiteral("438.5031"), cells(10, 10, 1, 1), {0, 0})));
        QCOMPARE(rig.notices.last().informative,
                 QStringLiteral("第11信道 接收频率“438.5031”：不在步进上，会变成438.50000"));
    }

    void badPastesChangeNothing_data()
    {
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("told");
        QString many;
        for (int n = 0; n < 25; ++n)
            many += QStringLiteral("x%1\n").arg(n);
        // clang-format off
        const std::tuple<const char *, QString, int, int, const char *> rows[] = {
            {"not a frequency after a good row", QStringLiteral("146\t88.5\nabc\t88.5"), 5, 1, "第7信道 接收频率“abc”：不是频率"},
            {"tone not offered", QStringLiteral("438.5\t88.4"), 5, 1, "第6信道 收哑音“88.4”：不是可用的哑音"},
            {"out of range", QStringLiteral("600"), 5, 1, "第6信道 接收频率“600”：超出范围（130～500 MHz）"},
            {"dcs not in the table", QStringLiteral("024"), 5, 3, "第6信道 收数字哑音“024”：不是可用的数字哑音"},
            {"flag not offered", QStringLiteral("add,maybe"), 5, 7, "第6信道 BCL“maybe”：不是可选的值"},
            {"transmit without receive", QStringLiteral("145"), 5, 4, "第6信道 发送频率“145.00000”：没有接收频率"},
            {"past the last channel", QStringLiteral("146\n147\n148"), 48, 1, "粘贴的3行从第49信道起超出第50信道"},
            {"past the last column", QStringLiteral("add\toff\ton"), 5, 8, "粘贴的3列从“BCL”列起超出表格"},
            {"into the channel number", QStringLiteral("7"), 5, 0, "信道号不能修改"},
            {"ten thousand lines", QStringLiteral("146\n").repeated(10000), 0, 1, "内容过多，最多可粘贴50行"},
            {"binary junk", QString::fromLatin1("\x01\x7f\x03PNG\x1a", 8), 0, 1, "不是文本"},
            {"quote that does not end", QStringLiteral("\"146\t88.5"), 0, 1, "第1行引号不成对"},
            {"only a header", QStringLiteral("接收频率\t收哑音\n"), 0, 1, "剪贴板中没有可粘贴的内容"},
            {"first twenty problems, then a count", many, 0, 1, "第20信道 接收频率“x19”：不是频率\n另有5处问题"},
        };
        // clang-format on
        for (const auto &[name, pasted, row, column, told] : rows)
            QTest::newRow(name) << pasted << row << column << QString::fromUtf8(told);
    }

    void badPastesChangeNothing()
    {
        QFETCH(QString, pasted);
        QFETCH(int, row);
        QFETCH(int, column);
        QFETCH(QString, told);
        VQ_RIG(rig, db(), QString());
        QVERIFY(rig.store().apply(kPlan));
        const auto before = test::snapshot(rig.store());
        // The cell selected alone, as a click leaves it: the same as the current cell.
        QVERIFY(!rig.take(rig.programmer.editor().paste(pasted, {{row, column}}, {row, column})));
        QVERIFY(test::snapshot(rig.store()) == before);
        QCOMPARE(rig.programmer.editor().undoCount(), 0);
        QCOMPARE(rig.notices.size(), 1);
        QCOMPARE(rig.notices[0].title, QStringLiteral("错误警告 "));
        QCOMPARE(rig.notices[0].text, QStringLiteral("无法粘贴，表格未作任何修改"));
        QVERIFY2(rig.notices[0].informative.contains(told), qPrintable(rig.notices[0].informative));
    }

    void fillDownAndClearOverMixedSelections()
    {
        VQ_RIG(rig, db(), QString());
        QVERIFY(rig.store().apply(kPlan));
        auto expected = test::snapshot(rig.store());
        // Receive frequency of rows 2 … 5 and BCL of rows 3 and 6: each
        // column from its own top cell; the transmit frequency follows.
        // Channel numbers selected too stay as they are.
        std::vector<Cell> selection = cells(2, 5, 1, 1);
        selection.insert(selection.end(), {{6, Bcl}, {3, Bcl}, {2, ChannelNumber}, {5, ChannelNumber}});
        QVERIFY(rig.take(rig.programmer.editor().fillDown(selection)));
        for (int row = 3; row <= 5; ++row)
            expected[row][RxFrequency] = expected[row][TxFrequency] = "430.12500";
        expected[6][Bcl] = "2";
        QVERIFY(test::snapshot(rig.store()) == expected);
        QCOMPARE(rig.programmer.editor().undoCount(), 1);
        QVERIFY(!rig.take(rig.programmer.editor().fillDown({{4, Scan}, {4, Beat}})));
        QVERIFY(!rig.take(rig.programmer.editor().fillDown({{2, ChannelNumber}, {5, ChannelNumber}})));
        // Clearing keeps the channel number; a receive frequency takes the
        // transmit one with it, a transmit frequency goes alone.
        QVERIFY(rig.take(
            rig.programmer.editor().clearCells({{2, ChannelNumber}, {2, RxFrequency}, {3, TxFrequency}, {3, Beat}})));
        expected[2][RxFrequency] = expected[2][TxFrequency] = expected[3][TxFrequency] = expected[3][Beat] =
            "";
        QVERIFY(test::snapshot(rig.store()) == expected);
        QCOMPARE(rig.programmer.editor().undoText(), QStringLiteral("清除"));
        QCOMPARE(rig.texts(), QStringList(2, QStringLiteral("数据有误，表格未作任何修改")));
    }

    void changeManyLaysOutASeries()
    {
        VQ_RIG(rig, db(), QString());
        QVERIFY(rig.store().apply(kPlan));
        auto expected = test::snapshot(rig.store());
        ManyChange change;
        change.values[RxFrequency] = "438.5";
        change.values[TxFrequency] = "430";
        change.values[RxTone] = "88.5";
        change.stepKHz = "12.5";
        const std::vector<int> rows = {9, 3, 7}; // in table order, whatever the selection's order
        QVERIFY(rig.take(rig.programmer.editor().changeMany(rows, change)));
        const char *rx[] = {"438.50000", "438.51250", "438.52500"};
        const char *tx[] = {"430.00000", "430.01250", "430.02500"};
        for (int n = 0; n < 3; ++n) {
            const int row = std::array{3, 7, 9}[static_cast<std::size_t>(n)];
            expected[row][RxFrequency] = rx[n];
            expected[row][TxFrequency] = tx[n];
            expected[row][RxTone] = "88.5";
        }
        expected[3][RxDcs] = ""; // the tone replaces the code, as picking it does
        QVERIFY(test::snapshot(rig.store()) == expected);
        // A series running out of range names the first row it leaves by;
        // a tone not offered names every row. Nothing is stored.
        change.values[RxFrequency] = "499.99";
        change.values[TxFrequency].reset();
        change.values[RxTone] = "1000";
        QVERIFY(!rig.take(rig.programmer.editor().changeMany(rows, change)));
        QCOMPARE(rig.notices.last().informative, QStringLiteral("第4信道 收哑音“1000”：不是可用的哑音\n"
                                                                "第8信道 接收频率“500.00250”：超出范围（130～500 MHz）\n"
                                                                "第8信道 收哑音“1000”：不是可用的哑音\n"
                                                                "第10信道 接收频率“500.01500”：超出范围（130～500 MHz）\n"
                                                                "第10信道 收哑音“1000”：不是可用的哑音"));
        QVERIFY(test::snapshot(rig.store()) == expected);
        QCOMPARE(rig.programmer.editor().undoCount(), 1);
    }

    void presetsAreThePublicChannels()
    {
        VQ_RIG(rig, db(), QString());
        QString problem;
        const std::vector<ChannelPreset> presets = shippedChannelPresets(&problem);
        QVERIFY2(!presets.empty(), qPrintable(problem));
        const ChannelPreset &pub = presets.front();
        QCOMPARE(pub.channels.size(), std::size_t(20));
        // 409.75 MHz upward in 12.5 kHz steps (10 Hz units), the same both ways.
        for (int n = 0; n < 20; ++n) {
            const std::string mhz = *Decimal::fromScaled(40975000 + n * 1250, -5).toFixed(5);
            FieldValues channel;
            channel[RxFrequency] = channel[TxFrequency] = mhz;
            QVERIFY(pub.channels[static_cast<std::size_t>(n)] == channel);
        }
        // From one selected row the set runs down as far as the table goes;
        // rows already holding their channel are not among the changes.
        QVERIFY(rig.store().apply({{41, RxFrequency, "409.76250"}, {41, TxFrequency, "409.76250"}}));
        const BulkEdit preview = presetEdit(planRows(rig.store()), std::vector{40}, pub.channels);
        QCOMPARE(preview.changes.size(), std::size_t(2 * 9));
        QVERIFY(rig.take(rig.programmer.editor().insertPreset({40}, pub)));
        for (int row = 40; row < kChannelCount; ++row)
            QCOMPARE(rig.store().field(row, TxFrequency),
                     pub.channels[static_cast<std::size_t>(row - 40)][RxFrequency]);
        QVERIFY(rig.take(rig.programmer.editor().insertPreset({5, 2}, pub)));
        QCOMPARE(text(rig.store(), 5, RxFrequency), std::string("409.76250"));
        QCOMPARE(text(rig.store(), 6, RxFrequency), std::string());
        QVERIFY(readChannelPresets(
                    "{\"sets\":[{\"name\":\"x\",\"fields\":[\"频率\"],\"channels\":[[\"1\"]]}]}", &problem)
                    .empty());
        QCOMPARE(problem, QStringLiteral("未知字段：频率"));
    }

    void findHidesRowsFromEveryEdit()
    {
        VQ_RIG(rig, db(), QString());
        QVERIFY(rig.store().apply(kPlan));
        const PlanRows table = planRows(rig.store());
        const auto shown = [&](std::string_view find, bool hideEmpty) {
            std::vector<int> out;
            const std::vector<bool> visible = visibleRows(table, find, hideEmpty);
            for (int row = 0; row < kChannelCount; ++row)
                if (visible[static_cast<std::size_t>(row)])
                    out.push_back(row);
            return out;
        };
        QCOMPARE(shown("", true), (std::vector<int>{0, 2, 3, 4}));
        QCOMPARE(shown("ADD", false), (std::vector<int>{2}));
        QCOMPARE(shown("145", true), (std::vector<int>{0, 3}));
        QCOMPARE(shown("49", false), (std::vector<int>{48})); // the channel number counts
        QCOMPARE(shown("49", true), (std::vector<int>{}));    // but an empty channel stays hidden

        // Under the filter a block's lines go into the rows shown; no edit
        // reaches a hidden row, and one that would is refused whole.
        TableEditor &editor = rig.programmer.editor();
        editor.setFilter(QStringLiteral("145"), true);
        QVERIFY(rig.take(editor.paste(QStringLiteral("145.5\n145.75"), {}, Cell{0, RxFrequency})));
        QCOMPARE(text(rig.store(), 3, RxFrequency), std::string("145.75000"));
        const auto before = test::snapshot(rig.store());
        QCOMPARE(before[1], table[1]);
        QCOMPARE(before[2], table[2]);
        ManyChange scan;
        scan.values[Scan] = "add";
        ChannelPreset pair{QStringLiteral("x"), {}};
        pair.channels.resize(3);
        pair.channels[0][Scan] = pair.channels[1][Scan] = pair.channels[2][Scan] = "del";
        QVERIFY(!rig.take(editor.paste(QStringLiteral("145.5\n145.75\n145.8"), {}, Cell{0, RxFrequency})));
        QVERIFY(!rig.take(editor.changeMany({0, 1}, scan)));
        QVERIFY(test::snapshot(rig.store()) == before);
        QVERIFY(rig.notices.first().informative.contains(QStringLiteral("超出显示的最后一行（第4信道）")));
        QVERIFY(rig.notices.last().informative.contains(QStringLiteral("第2信道已被查找隐藏")));
        QVERIFY(rig.take(editor.insertPreset({0}, pair))); // from one row, down the rows shown
        QCOMPARE(text(rig.store(), 3, Scan), std::string("del"));
        QCOMPARE(text(rig.store(), 4, Scan), std::string(" "));
    }

    // Where sort, move, drop, insert and delete put each channel. That they
    // keep every channel, number the rows 1–50 and leave hidden ones where
    // they are is checked under random sequences.
    void rowOperationsKeepEveryChannel()
    {
        VQ_RIG(rig, db(), QString());
        QVERIFY(rig.store().apply(kPlan));
        QVERIFY(rig.store().apply({{49, RxFrequency, "146.00000"}, {49, TxFrequency, "144.00000"}}));
        TableEditor &editor = rig.programmer.editor();
        // A channel's contents without its number, to follow it as it moves.
        const auto channels = [&rig] {
            std::vector<ChannelRecord> out;
            for (ChannelRecord record : test::snapshot(rig.store())) {
                record[ChannelNumber].reset();
                out.push_back(record);
            }
            return out;
        };
        const auto before = channels();

        QVERIFY(rig.take(editor.sortRows(SortKey::Receive)));
        const auto bySort = channels();
        QCOMPARE(bySort[0][RxFrequency], FieldValue("145.00000")); // lowest first, 145.00625 next
        QCOMPARE(bySort[1][RxFrequency], FieldValue("145.00625"));
        QCOMPARE(bySort[5][RxFrequency], FieldValue()); // channels without one last
        QCOMPARE(rig.programmer.history().entries().front().reason, ChannelHistory::Reason::Sort);
        QVERIFY(rig.take(editor.undo()));
        QCOMPARE(channels(), before);

        // A block at the top stays.
        QVERIFY(rig.take(editor.moveRows({2, 3}, -1)));
        QCOMPARE(channels()[1], before[2]);
        QVERIFY(rig.take(editor.undo()));
        QVERIFY(!rig.take(editor.moveRows({0}, -1)));
        QCOMPARE(channels(), before);
        QVERIFY(rig.take(editor.moveRows({48}, 1))); // into the last row
        QCOMPARE(channels()[49], before[48]);
        QVERIFY(rig.take(editor.undo()));
        // Dragged rows land together, in their order, where they were dropped.
        QCOMPARE(rowsAfterDrop(kChannelCount, std::vector{2, 0}, 4), (std::vector{2, 3}));
        QVERIFY(rig.take(editor.dropRows({2, 0}, 4)));
        QCOMPARE(channels()[2], before[0]);
        QCOMPARE(channels()[3], before[2]);
        QCOMPARE(channels()[4], before[4]);
        QVERIFY(rig.take(editor.undo()));

        // An insert then a delete at the same row is where it was; the last
        // channel dropping off is asked about first, and "no" keeps it.
        QStringList asked;
        const auto answer = [&asked](bool yes) {
            return [&asked, yes](const Notice &q) { return asked << q.text, yes; };
        };
        QVERIFY(!rig.take(editor.insertRow(2, answer(false))));
        QCOMPARE(channels(), before);
        QVERIFY2(asked.value(0).contains(QStringLiteral("第50信道（146.00000）")), qPrintable(asked.value(0)));
        QVERIFY(rig.take(editor.deleteRows({49})));
        QVERIFY(rig.take(editor.insertRow(2, answer(false))));
        QCOMPARE(asked.size(), 1); // channel 50 empty now: nothing to ask
        QCOMPARE(channels()[2], ChannelRecord{});
        QCOMPARE(channels()[3], before[2]);
        QVERIFY(rig.take(editor.deleteRows({2, 0})));
        QCOMPARE(channels()[1], before[2]); // the later channels moved up, empty ones fill the end
        QCOMPARE(channels()[kChannelCount - 1], ChannelRecord{});
    }

private:
    QString db() { return dir_.filePath(QStringLiteral("b%1.db").arg(++count_)); }
    QTemporaryDir dir_;
    int count_ = 0;
};

QTEST_GUILESS_MAIN(TestBulkEdit)
#include "tst_bulkedit.moc"
