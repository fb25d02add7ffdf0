// The user-level operations without a window: opening the store, typed
// values, picks, channel files, the start-up ports and the port switch.
#include "channels/PickerRules.h"
#include "files/ChannelFile.h"
#include "plan/StoreTexts.h"
#include "plan/PortSettings.h"
#include "support/PlanRig.h"
#include "support/PtyPair.h"
#include "support/StoreHelpers.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

#include <memory>

using namespace vq;
using test::PtyPair;

namespace {

PlanFiles::PathChooser answer(const QString &path)
{
    return [path] { return path; };
}

} // namespace

class TestProgrammer : public QObject {
    Q_OBJECT
private slots:
    void typedValues_data()
    {
        for (const char *column : {"rxBefore", "txBefore", "typed", "rx", "tx"})
            QTest::addColumn<QString>(column);
        QTest::addColumn<int>("column");
        QTest::addColumn<bool>("warned");
        // clang-format off
        const std::tuple<const char *, const char *, const char *, int, const char *, const char *, const char *, bool> rows[] = {
            {"receive copied, snapped", "", "", 1, "438.5031", "438.50000", "438.50000", false},
            {"receive on the 6.25 raster", "", "", 1, "145.00625", "145.00625", "145.00625", false},
            {"receive replaces an offset", "145.00000", "145.60000", 1, "146", "146.00000", "146.00000", false},
            {"receive too high keeps tx", "438.50000", "430.00000", 1, "500.00001", "", "430.00000", true},
            {"receive not a number empties both", "438.50000", "430.00000", 1, "abc", "", "", false},
            {"transmit snapped", "145.00000", "145.00000", 4, "145.6031", "145.00000", "145.60000", false},
            {"transmit too low", "145.00000", "145.00000", 4, "129.99999", "145.00000", "", true},
            {"transmit without receive", "", "", 4, "145", "", "", false},
            {"range ends included", "", "", 1, "130", "130.00000", "130.00000", false},
            {"receive confirmed unchanged keeps the offset", "145.00000", "145.60000", 1, "145.00000", "145.00000", "145.60000", false},
            {"full-width digits", "", "", 1, "１４５．５", "145.50000", "145.50000", false},
            {"ideographic full stop", "145.00000", "145.00000", 4, "145。6", "145.00000", "145.60000", false},
        };
        // clang-format on
        for (const auto &[name, rxBefore, txBefore, column, typed, rx, tx, warned] : rows)
            QTest::newRow(name) << QString::fromUtf8(rxBefore) << QString::fromUtf8(txBefore)
                                << QString::fromUtf8(typed) << QString::fromUtf8(rx) << QString::fromUtf8(tx)
                                << column << warned;
    }

    void typedValues()
    {
        QFETCH(QString, rxBefore);
        QFETCH(QString, txBefore);
        QFETCH(int, column);
        QFETCH(QString, typed);
        QFETCH(bool, warned);
        VQ_RIG(rig, db(), QString());
        QVERIFY(rig.store().apply(
            {{3, RxFrequency, rxBefore.toStdString()}, {3, TxFrequency, txBefore.toStdString()}}));
        const auto before = test::snapshot(rig.store());

        FieldValue shown; // the cell while the warning is up: what was typed
        rig.take(rig.programmer.editor().applyTypedValue(3, column, typed, [&](const Notice &n) {
            rig.notices << n;
            shown = rig.store().field(3, column);
        }));
        QCOMPARE(QString::fromStdString(textOf(shown)), warned ? typed : QString());
        QTEST(QString::fromStdString(textOf(rig.store().field(3, RxFrequency))), "rx");
        QTEST(QString::fromStdString(textOf(rig.store().field(3, TxFrequency))), "tx");
        QTEST(rig.texts() == QStringList{QStringLiteral("数据超出范围 ！！")}, "warned");
        QCOMPARE(rig.notices.isEmpty() || rig.notices.first().title == QStringLiteral("错误警告 "), true);
        // Nothing else in the table moved.
        auto after = test::snapshot(rig.store());
        after[3][RxFrequency] = before[3][RxFrequency];
        after[3][TxFrequency] = before[3][TxFrequency];
        QVERIFY(after == before);
        // One step at most, and one step back is the table before the text was typed.
        const int steps = rig.programmer.editor().undoCount();
        QVERIFY(steps == 1 || (steps == 0 && test::snapshot(rig.store()) == before));
        QVERIFY(steps == 0 || rig.take(rig.programmer.editor().undo()));
        QVERIFY(test::snapshot(rig.store()) == before);
        // Other columns are not typed into.
        QVERIFY(!rig.take(rig.programmer.editor().applyTypedValue(3, RxTone, QStringLiteral("88.5"))));
    }
    void picks()
    {
        // What a pick writes is the pickers' rule; here: the row it lands on,
        // and that nothing else is written.
        VQ_RIG(rig, db(), QString());
        auto before = test::snapshot(rig.store());
        QVERIFY(rig.take(rig.programmer.editor().applyPick(4, 6, QStringLiteral("754"))));
        for (const FieldWrite &w : pickerWrites(4, "754"))
            before[6][w.field] = w.text;
        QVERIFY(test::snapshot(rig.store()) == before);
        for (auto [picker, row, text] :
             {std::tuple{1, 6, "88.4"}, {8, 6, " "}, {5, -1, "add"}, {5, kChannelCount, "add"}})
            QVERIFY(!rig.take(rig.programmer.editor().applyPick(picker, row, QString::fromUtf8(text))));
        QVERIFY(test::snapshot(rig.store()) == before);
        QVERIFY(rig.notices.isEmpty());
    }
    // A store that refuses the batch leaves the undo stack where it was,
    // so that the table and the undo text still agree. (That undo and redo
    // move exactly one step is checked under random sequences.)
    void undoAgainstARefusingStore()
    {
        VQ_RIG(rig, db(), QString());
        QVERIFY(rig.take(rig.programmer.editor().applyTypedValue(0, RxFrequency, QStringLiteral("145"))));
        QVERIFY(rig.take(rig.programmer.editor().applyPick(1, 0, QStringLiteral("67.0"))));
        QVERIFY(rig.take(rig.programmer.editor().undo()));
        const auto before = test::snapshot(rig.store());
        QCOMPARE(rig.store().field(0, RxDcs), FieldValue()); // null comes back as null
        QVERIFY(QFile::rename(rig.store().path(), rig.store().path() + QStringLiteral(".moved")));
        QVERIFY(!rig.take(rig.programmer.editor().undo()));
        QVERIFY(!rig.take(rig.programmer.editor().applyPick(1, 0, QStringLiteral("88.5"))));
        QVERIFY(rig.programmer.editor().canRedo() && rig.programmer.editor().undoCount() == 2);
        QVERIFY(test::snapshot(rig.store()) == before && !QFile::exists(rig.store().path()));
        QCOMPARE(rig.texts(), QStringList(2, QStringLiteral("信道数据库写入失败")));
    }
    void historyKeepsEachPlanOnce()
    {
        VQ_RIG(rig, db(), QString());
        ChannelHistory &history = rig.programmer.history();
        QVERIFY(history.isAvailable() && history.entries().empty()); // created with the first snapshot
        history.setKeep(3);
        const PlanRows empty = planRows(rig.store());
        for (int n = 0; n < 5; ++n) {
            QVERIFY(rig.store().apply({{n, RxFrequency, "145.00000"}}));
            QCOMPARE(history.add(ChannelHistory::Reason::Read, QStringLiteral("/dev/x"), planRows(rig.store())),
                     ChannelHistory::Added::Stored);
        }
        QCOMPARE(history.add(ChannelHistory::Reason::Write, QString(), planRows(rig.store())),
                 ChannelHistory::Added::SameAsLast);
        const std::vector<ChannelHistory::Entry> kept = history.entries();
        QCOMPARE(kept.size(), std::size_t(3));
        QVERIFY(kept[0].id > kept[1].id && kept[1].id > kept[2].id);
        QCOMPARE(ChannelHistory::differingRows(*history.rows(kept[2].id), empty), (std::vector<int>{0, 1, 2}));
        QVERIFY(*history.rows(kept[0].id) == planRows(rig.store()));

        // Restoring is one batch after a snapshot of what it replaces.
        QVERIFY(rig.store().apply({{10, Scan, ""}}));
        const PlanRows replaced = planRows(rig.store());
        QSignalSpy batches(&rig.store(), &ChannelStore::rowsChanged);
        QVERIFY(rig.take(rig.programmer.editor().restoreSnapshot(kept[2].id)));
        QCOMPARE(batches.size(), 1);
        QCOMPARE(history.entries().front().reason, ChannelHistory::Reason::Restore);
        QVERIFY(*history.rows(history.entries().front().id) == replaced);
        QCOMPARE(rig.store().field(4, RxFrequency), FieldValue());
        QVERIFY(!rig.take(rig.programmer.editor().restoreSnapshot(kept[0].id + 100)));
    }
    void damagedHistoryStopsNothing()
    {
        // A file from before the history gains the table with its first
        // snapshot; one with a table of another shape keeps it untouched.
        for (const QString &sql : {QString(), QStringLiteral("CREATE TABLE 历史记录 (x)")}) {
            const QString path = dir_.filePath(QStringLiteral("h%1.db").arg(sql.size()));
            QVERIFY(ChannelStore().open(path));
            if (!sql.isEmpty())
                QVERIFY(test::execSql(path, {sql, QStringLiteral("INSERT INTO 历史记录 VALUES (1)")}));
            VQ_RIG(rig, path, QString());
            const QString file = dir_.filePath(QStringLiteral("h.doc"));
            QVERIFY(rig.take(rig.programmer.files().saveChannelFile(answer(file))));
            QVERIFY(rig.take(rig.programmer.files().openChannelFile(answer(file))));
            QCOMPARE(rig.programmer.history().isAvailable(), sql.isEmpty());
            QCOMPARE(rig.programmer.history().entries().size(), std::size_t(sql.isEmpty() ? 1 : 0));
            if (!sql.isEmpty())
                QCOMPARE(test::peek(path, QStringLiteral("SELECT x FROM 历史记录")), QStringList{"1"});
        }
    }
    void channelFileRoundTrip()
    {
        VQ_RIG(rig, db(), QString());
        // (That rows 1 … 16 come back as saved is checked under random sequences.)
        QVERIFY(rig.store().apply({{15, RxFrequency, "145.00625"}, {16, RxFrequency, "146.00000"}}));
        // A name without extension is saved as a channel file.
        const QString file = dir_.filePath(QStringLiteral("plan.doc"));
        QVERIFY(
            rig.take(rig.programmer.files().saveChannelFile(answer(dir_.filePath(QStringLiteral("plan"))))));
        QVERIFY(!rig.take(rig.programmer.files().saveChannelFile(answer(QString())))); // cancelled: nothing

        VQ_RIG(other, db(), QString());
        QVERIFY(other.take(other.programmer.files().openChannelFile(answer(file))));
        QVERIFY(rig.notices.isEmpty() && other.notices.isEmpty());
        // Row 17 is not in the file.
        QCOMPARE(other.store().field(15, RxFrequency), FieldValue("145.00625"));
        QCOMPARE(other.store().field(16, RxFrequency), FieldValue());
        QCOMPARE(other.programmer.editor().undoCount(), 1);
        // Values the raster or the tone list moves are stored as typing would.
        QList<QByteArray> items(144);
        items[0] = "438.5031";
        items[1] = "67";
        items[3] = "１４５。５";
        QVERIFY(test::writeFile(file, items.join(',') + ','));
        QVERIFY(other.take(other.programmer.files().openChannelFile(answer(file))));
        QCOMPARE(other.store().field(0, RxFrequency), FieldValue("438.50000"));
        QCOMPARE(other.store().field(0, RxTone), FieldValue("67.0"));
        QCOMPARE(other.store().field(0, TxFrequency), FieldValue("145.50000"));
    }
    // A channel file or CSV file refused for any reason stores nothing, takes
    // no snapshot and leaves the undo stack alone; a message lists 20 problems at most.
    void refusedFilesChangeNothing_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("why"); // what the second line names
        // A whole file of empty channels with item n replaced.
        auto with = [](int n, const QByteArray &item) {
            QList<QByteArray> items(144);
            items[n - 1] = item;
            return items.join(',') + ',';
        };
        QTest::newRow("truncated") << QByteArray(143, ',') << "第144项（第16信道 拍频）";
        QTest::newRow("binary") << QByteArray("\x00\x01\x02,", 4).repeated(200)
                                << "第1项（第1信道 接收频率）";
        QTest::newRow("huge") << QByteArray(8 * 1024 * 1024, ' ') << "文件过大";
        QTest::newRow("whole, then past the size limit")
            << with(1, "145") + QByteArray(64 * 1024, ' ') << "文件过大";
        QTest::newRow("missing") << QByteArray() << "";
        QTest::newRow("a folder") << QByteArray("/") << "";
        QTest::newRow("a pipe, not waited on") << QByteArray("|") << "";
        // The rules typing and picking obey.
        QTest::newRow("frequency not a number") << with(1, "abc") << "第1项（第1信道 接收频率）";
        QTest::newRow("frequency too high")
            << with(10, "999") << "第10项（第2信道 接收频率）“999.00000”超出范围";
        QTest::newRow("frequency negative") << with(4, "-5") << "第4项（第1信道 发送频率）";
        QTest::newRow("tone not listed") << with(11, "88.4") << "第11项（第2信道 收哑音）";
        QTest::newRow("code not listed") << with(12, "024") << "第12项（第2信道 收数字哑音）";
        QTest::newRow("BCL out of its set") << with(17, "3") << "第17项（第2信道 BCL）";
        QTest::newRow("scan unknown") << with(144 - 2, "skip") << "第142项（第16信道 扫描）";
        const QByteArray header =
            "Location,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity\n";
        QByteArray many = header;
        for (int row = 1; row <= 25; ++row)
            many += QByteArray::number(row) + ",999.000000,,0,,88.5,88.5,023,NN\n";
        QTest::newRow("csv: one bad row among good ones")
            << header + "1,145.000000,,0,,88.5,88.5,023,NN\n2,145.000000,,0,,88.5,88.5,023,RN\n"
            << QStringLiteral("第3行 DtcsPolarity“RN”");
        QTest::newRow("csv: 25 problems") << many << QStringLiteral("另有5处问题");
        QTest::newRow("csv: a NUL byte")
            << QByteArray("信道号,接收频率\n1,") + QByteArray(1, '\0') << QString();
        QTest::newRow("csv: binary junk") << QByteArray("\xff\xfe\x00\x01\x80\x81", 6) << QString();
        QTest::newRow("csv: neither UTF-8 nor GB18030")
            << QByteArray(header).replace("\n", ",Name\n") + "1,145.000000,,0,,88.5,88.5,023,NN,\xff\n"
            << QStringLiteral("不是文本");
        QTest::newRow("csv: too large") << QByteArray() << QStringLiteral("文件过大");
        QTest::newRow("csv: a pipe") << QByteArray("|") << QString();
    }
    void refusedFilesChangeNothing()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, why);
        const bool csv = QByteArray(QTest::currentDataTag()).startsWith("csv");
        VQ_RIG(rig, db(), QString());
        QVERIFY(rig.store().apply({{0, RxFrequency, "438.50000"}}));
        const auto before = test::snapshot(rig.store());
        QString path = dir_.filePath(QStringLiteral("bad.doc"));
        QFile::remove(path);
        if (bytes == "/")
            path = dir_.path();
        else if (bytes == "|")
            QVERIFY(::mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
        else if (!bytes.isEmpty())
            QVERIFY(test::writeFile(path, bytes));
        else if (csv) // 100 MB of nothing, which must not be read whole
            QVERIFY(test::writeFile(path, bytes) && QFile::resize(path, 100LL * 1024 * 1024));
        PlanFiles &files = rig.programmer.files();
        QVERIFY(!rig.take(csv ? files.importCsv(answer(path)) : files.openChannelFile(answer(path))));
        QCOMPARE(rig.notices.size(), 1);
        QCOMPARE(rig.notices.first().title, QStringLiteral("错误警告 "));
        if (!csv)
            QCOMPARE(rig.notices.first().text, QStringLiteral("文件格式错误"));
        const QString said = rig.notices.first().informative;
        QVERIFY2(said.contains(why) && (csv || !said.isEmpty()) && said.count(QLatin1Char('\n')) <= 20,
                 qPrintable(said));
        QVERIFY(test::snapshot(rig.store()) == before);
        QVERIFY(rig.programmer.history().entries().empty());
        QCOMPARE(rig.programmer.editor().undoCount(), 0);
    }
    void channelFilesNeedSixteenRows()
    {
        // Fifteen rows: neither is asked for a name; sixteen are enough.
        for (int rows : {15, 16}) {
            const QString path = db(), file = dir_.filePath(QStringLiteral("x%1.doc").arg(rows));
            QVERIFY(ChannelStore().open(path));
            QVERIFY(test::execSql(path, {QStringLiteral("DELETE FROM \"信道表\" WHERE rowid > %1").arg(rows)}));
            VQ_RIG(rig, path, QString());
            int asked = 0;
            const auto ask = [&] { return ++asked, file; };
            QCOMPARE(rig.take(rig.programmer.files().saveChannelFile(ask)), rows == 16);
            QCOMPARE(rig.take(rig.programmer.files().openChannelFile(ask)), rows == 16);
            QCOMPARE(asked, rows == 16 ? 2 : 0);
            QCOMPARE(rig.texts(), QStringList(rows == 16 ? 0 : 2, QStringLiteral("信道表记录不足16条")));
            QCOMPARE(QFile::exists(file), rows == 16);
        }
    }
    void startUpPorts()
    {
        PtyPair one, two;
        // "In use" only when it is so; a start-up without any port says so.
        // Each: port 1's device, held by another, port 2's, the port opened (0: none), what is told.
        const QString missing1 = QStringLiteral("串行端口 1 的设备不存在，已选择 COM2");
        const std::tuple<QString, bool, QString, int, QStringList> cases[] = {
            {one.devicePath(), false, two.devicePath(), 1, {}},
            {QStringLiteral("/nonexistent/tty"), false, two.devicePath(), 2, {missing1}},
            {dir_.path(), false, two.devicePath(), 2, {QStringLiteral("串行端口 1 的设备不是串口，已选择 COM2")}},
            {one.devicePath(), true, two.devicePath(), 2, {QStringLiteral("串行端口 1已被其它设备使用，已选择 COM2 ")}},
            {QStringLiteral("/nonexistent/a"), false, QStringLiteral("/nonexistent/b"), 0,
             {missing1, QStringLiteral("串行端口 2 的设备不存在，没有可用的串行端口")}}};
        for (const auto &[port1, held, port2, openOn, told] : cases) {
            std::unique_ptr<test::DeviceHolder> holder;
            if (held)
                holder = std::make_unique<test::DeviceHolder>(port1);
            QVERIFY(!held || holder->isHolding());
            VQ_RIG(rig, db(), QString());
            QVERIFY(rig.store().apply({{0, RxFrequency, "145.00000"}}));
            rig.programmer.link().setDevicePaths(port1, port2);
            QCOMPARE(rig.take(rig.programmer.ports().openPort()), openOn != 0);
            QCOMPARE(rig.programmer.link().isOpen() ? rig.programmer.link().commPort() : 0, openOn);
            QCOMPARE(rig.texts(), told);
            for (const Notice &n : rig.notices)
                QCOMPARE(n.title, QStringLiteral("系统信息"));
            // Without a port the start-up write says nothing and sends nothing.
            rig.take(rig.programmer.transfers().startUpWrite());
            QCOMPARE(rig.notices.size(), told.size());
            QCOMPARE(rig.running.isEmpty(), openOn == 0);
            if (openOn == 1)
                QCOMPARE(one.readAtLeast(1, 2000).left(1), QByteArray("A"));
            rig.programmer.shutDown();
        }
        QCOMPARE(two.readAvailable(), QByteArray()); // port 2 only ever opened
    }
    void switchPort()
    {
        PtyPair one, two;
        VQ_RIG(rig, db(), QString());
        rig.programmer.link().setDevicePaths(one.devicePath(), two.devicePath());
        QVERIFY(rig.take(rig.programmer.ports().openPort()));

        QVERIFY(rig.take(rig.programmer.ports().switchPort(2)));
        QCOMPARE(rig.programmer.link().commPort(), 2);
        QVERIFY(rig.programmer.link().isOpen());
        // The new port is polled at once, as after a transfer.
        QCOMPARE(rig.state(), LinkController::State::AwaitingReady);
        QCOMPARE(two.readAtLeast(1, 2000).left(1), QByteArray("6"));
        {
            // Port 1 held by another program: said, and no port stays open.
            test::DeviceHolder holder(one.devicePath());
            QVERIFY(holder.isHolding());
            QVERIFY(!rig.take(rig.programmer.ports().switchPort(1)));
            QCOMPARE(rig.texts(), QStringList{QStringLiteral("串行端口 1 已被使用 ")});
            QVERIFY(!rig.programmer.link().isOpen());
        }
        // The current port, closed by the failure, is opened again.
        QVERIFY(rig.take(rig.programmer.ports().switchPort(1)));
        QVERIFY(rig.programmer.link().isOpen());
        QVERIFY(rig.take(rig.programmer.ports().switchPort(1)));
        // A cable check never opens the port in use, under any of its names.
        const QString alias = dir_.filePath(QStringLiteral("alias"));
        QVERIFY(QFile::link(one.devicePath(), alias));
        QVERIFY(!rig.programmer.ports().mayCheckCable(alias).ok);
        QVERIFY(rig.programmer.ports().mayCheckCable(two.devicePath()).ok);

        // Never while a transfer runs.
        QVERIFY(rig.take(rig.programmer.transfers().write()));
        QVERIFY(!rig.programmer.ports().mayCheckCable(two.devicePath()).ok);
        QVERIFY(!rig.take(rig.programmer.ports().switchPort(2)));
        QCOMPARE(rig.texts().last(), QStringLiteral("数据传送中，请稍后再选择端口"));
        QCOMPARE(rig.programmer.link().commPort(), 1);
        // The port in use keeps its device until the transfer ends; the other may change.
        QVERIFY(!rig.take(rig.programmer.ports().assignDevice(1, two.devicePath())));
        QCOMPARE(rig.programmer.link().devicePath(1), one.devicePath());
        QVERIFY(rig.take(rig.programmer.ports().assignDevice(2, dir_.path())));
        QCOMPARE(rig.programmer.link().devicePath(2), dir_.path());
        QCOMPARE(rig.programmer.link().devicePath(1), one.devicePath());
    }
    void portsRememberedBetweenRuns()
    {
        PtyPair one, two, three;
        const QString file = dir_.filePath(QStringLiteral("ports.conf"));
        auto run = [&](const QString &com1, int expectPort, const QString &expectDevice) {
            PortSettings settings(file);
            VQ_RIG(rig, db(), QString());
            rig.programmer.ports().usePorts(resolvePorts(com1, QString(), settings), &settings);
            QVERIFY(rig.take(rig.programmer.ports().openPort()));
            QVERIFY(rig.notices.isEmpty());
            QCOMPARE(rig.programmer.link().commPort(), expectPort);
            QCOMPARE(rig.programmer.link().devicePath(expectPort), expectDevice);
            if (expectPort == 1) { // the first run: the user picks devices, then port 2
                QVERIFY(rig.take(rig.programmer.ports().assignDevice(1, one.devicePath())));
                QVERIFY(rig.take(rig.programmer.ports().assignDevice(2, two.devicePath())));
                QVERIFY(rig.take(rig.programmer.ports().switchPort(2)));
            }
        };
        run(three.devicePath(), 1, three.devicePath());
        run(QString(), 2, two.devicePath());
        // A device on the command line is for that run only.
        run(three.devicePath(), 2, two.devicePath());
        QCOMPARE(PortSettings(file).load().device(1), one.devicePath());

        // Values this program never writes are left out, the rest kept.
        QVERIFY(test::writeFile(file, "[ports]\ncom1=5\ncom2=\nlast=3\n"));
        const PortChoice defaults;
        const PortChoice read = PortSettings(file).load();
        QCOMPARE(read.devices, defaults.devices);
        QCOMPARE(read.port, 1);
        // The verify flag: only what this program writes counts, and only a
        // stranger value is complained about.
        for (auto [text, on, complaint] :
             {std::tuple{"true", true, false}, {"false", false, false}, {"yes", false, true}}) {
            QVERIFY(test::writeFile(file, QByteArray("[transfers]\nverify=") + text + "\n"));
            PortSettings settings(file);
            QCOMPARE(settings.loadVerifyAfterWrite(), on);
            QCOMPARE(settings.complained(), complaint);
        }
    }
    // An import lands as one undoable step after a snapshot of the table
    // it changes, whether the file is UTF-8 or what a Chinese spreadsheet
    // saves; a file of the common layout changes only the rows it names.
    void csvImportIsOneStepAfterASnapshot()
    {
        VQ_RIG(rig, db(), QString());
        QVERIFY(rig.store().apply({{4, RxFrequency, "438.50000"}, {4, TxFrequency, "438.50000"},
                                   {4, Scan, "add"}, {4, Bcl, "off"}, {4, Beat, "off"}}));
        const QString own = dir_.filePath(QStringLiteral("plan.csv"));
        QVERIFY(rig.take(rig.programmer.files().exportCsv(CsvLayout::Own, answer(own))));
        const PlanRows exported = planRows(rig.store());
        QVERIFY(rig.store().apply({{4, RxFrequency, "145.00000"}, {9, Beat, "on"}}));
        const PlanRows replaced = planRows(rig.store());

        // The same file re-encoded as GB18030 reads the same.
        QFile utf8(own);
        QVERIFY(utf8.open(QIODevice::ReadOnly));
        const QString gbPath = dir_.filePath(QStringLiteral("gb.csv")),
                      text = QString::fromUtf8(utf8.readAll()).remove(QChar(0xFEFF));
        QVERIFY(test::writeFile(gbPath, QStringEncoder("GB18030").encode(text)));
        QSignalSpy batches(&rig.store(), &ChannelStore::rowsChanged);
        QVERIFY(rig.take(rig.programmer.files().importCsv(answer(gbPath))));
        QCOMPARE(batches.size(), 1);
        QVERIFY(planRows(rig.store()) == exported);
        const ChannelHistory::Entry newest = rig.programmer.history().entries().front();
        QCOMPARE(newest.reason, ChannelHistory::Reason::Import);
        QVERIFY(*rig.programmer.history().rows(newest.id) == replaced);
        QCOMPARE(rig.programmer.editor().undoText(), QStringLiteral("导入CSV"));
        QVERIFY(rig.take(rig.programmer.editor().undo()));
        QVERIFY(planRows(rig.store()) == replaced);

        const QString common = dir_.filePath(QStringLiteral("common.csv"));
        QVERIFY(test::writeFile(common, "Location,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,"
                                        "DtcsPolarity\n# a comment\n3,145.500000,+,0.600000,Cross,88.5,100.0,023,NN\n"));
        QVERIFY(rig.take(rig.programmer.files().importCsv(answer(common))));
        QCOMPARE(rig.store().field(2, TxFrequency), FieldValue("146.10000"));
        // Cross without a CrossMode column is the layout's default, Tone->Tone.
        QCOMPARE(rig.store().field(2, TxTone), FieldValue("88.5"));
        QCOMPARE(rig.store().field(2, RxTone), FieldValue("100.0"));
        PlanRows others = planRows(rig.store());
        others[2] = replaced[2];
        QVERIFY(others == replaced);
    }

    // Each refused store says why and is left exactly as it was.
    void openFailuresSayWhy_data()
    {
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
        QTest::newRow("a folder") << QStringList() << texts::kStoreNotAFile.text();
        QTest::newRow("a fifo") << QStringList() << texts::kStoreNotAFile.text();
    }
    void openFailuresSayWhy()
    {
        QFETCH(QStringList, sql);
        QFETCH(QString, cause);
        const QString tag = QString::fromLatin1(QTest::currentDataTag());
        const QString path = dir_.filePath(tag + (cause == texts::kStoreNoFolder ? "/x.db" : ".db"));
        QVERIFY(tag == "text"       ? test::writeFile(path, QByteArray(1500, 'x'))
                : tag == "a folder" ? QDir().mkpath(path)
                : tag == "a fifo"   ? ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0
                                    : sql.isEmpty() || test::execSql(path, sql));
        // Reading a FIFO would wait for a writer that never comes.
        const auto digest = [&path] { return QFileInfo(path).isFile() ? test::digest(path) : QByteArray(); };
        const QByteArray before = digest();
        // Another connection inside a write transaction holds the file.
        QSqlDatabase holder = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), tag);
        holder.setDatabaseName(path);
        if (cause == texts::kStoreLocked)
            QVERIFY(holder.open() && QSqlQuery(holder).exec(QStringLiteral("BEGIN EXCLUSIVE")));
        Programmer programmer;
        const Result result = programmer.openStore(path);
        QVERIFY(!result.ok && !programmer.store().isOpen());
        QCOMPARE(result.notices.value(0).text, QStringLiteral("信道数据库无法打开：") + path);
        QCOMPARE(result.notices.value(0).title, QStringLiteral("系统信息"));
        QCOMPARE(result.notices.value(0).informative, cause);
        QCOMPARE(digest(), before);
    }
    // Another copy on the same store (its own descriptor and connection, as
    // another process has): the second is told, and sees the first's changes.
    void secondCopyIsToldAndSeesChanges()
    {
        const QString path = db();
        auto other = std::make_unique<ChannelStore>();
        QVERIFY(other->open(path) && !other->openedElsewhere());
        Programmer programmer;
        const Result opened = programmer.openStore(path);
        QVERIFY(opened.ok && opened.notices.value(0).text == texts::kStoreOpenedElsewhere);
        QVERIFY(programmer.editor().applyTypedValue(5, RxFrequency, QStringLiteral("145.00000")).ok);
        QSignalSpy changed(&programmer.store(), &ChannelStore::rowsChanged);
        QVERIFY(other->setField(2, RxFrequency, "438.50000"));
        // Saving a file looks at the table first; undo could only bring back the old picture.
        QVERIFY(programmer.files().saveChannelFile(answer(dir_.filePath(QStringLiteral("copy.doc")))).ok);
        QCOMPARE(programmer.store().field(2, RxFrequency), FieldValue("438.50000"));
        QCOMPARE(changed.value(0), (QList<QVariant>{0, kChannelCount - 1}));
        QCOMPARE(programmer.editor().undoCount(), 0);
        QVERIFY(!programmer.store().refreshIfChangedElsewhere());
        // A copy gone leaves nothing that would warn the next one.
        other.reset();
        QVERIFY(programmer.openStore(path).notices.isEmpty());
    }

    // A trace is offered a name in the log folder, and a save there keeps
    // the newest 20 files. Last: it moves the data folder for the rest.
    void logFolderKeepsTheNewest()
    {
        qputenv("XDG_DATA_HOME", QFile::encodeName(dir_.path()));
        VQ_RIG(rig, db(), QString());
        const QString offered = DataFolders::newTracePath(), log = DataFolders::logFolder();
        QCOMPARE(QFileInfo(offered).absolutePath(), log);
        for (int i = 0; i < 25; ++i) {
            QFile old(log + QStringLiteral("/old%1.txt").arg(i));
            QVERIFY(old.open(QIODevice::WriteOnly) &&
                    old.setFileTime(QDateTime::currentDateTime().addSecs(i - 100),
                                    QFileDevice::FileModificationTime));
        }
        QVERIFY(rig.take(rig.programmer.traces().saveTrace(answer(offered))));
        QStringList newest{QFileInfo(offered).fileName()};
        for (int i = 24; i > 5; --i)
            newest << QStringLiteral("old%1.txt").arg(i);
        QCOMPARE(QDir(log).entryList(QDir::Files, QDir::Time), newest);
    }

private:
    QString db() { return dir_.filePath(QStringLiteral("p%1.db").arg(++count_)); }
    QTemporaryDir dir_;
    int count_ = 0;
};

QTEST_GUILESS_MAIN(TestProgrammer)
#include "tst_programmer.moc"
