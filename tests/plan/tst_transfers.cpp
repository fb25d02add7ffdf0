// Transfers through the programmer over a pseudo-terminal: the bytes the
// radio gets, the table a read leaves, and what the user is told.
#include "RadioSimulator.h"
#include "plan/PlanFrames.h"
#include "plan/StoreTexts.h"
#include "radio/ChannelFrame.h"
#include "support/PlanRig.h"
#include "support/PtyPair.h"
#include "support/StoreHelpers.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <fcntl.h>
#include <unistd.h>

using namespace vq;
using State = LinkController::State;
using vq::sim::RadioSimulator;
using vq::sim::RadioSimulatorOptions;

Q_DECLARE_METATYPE(vq::sim::RadioSimulatorOptions)

namespace {

const QString kReady = QStringLiteral("对讲机就绪...");
// A frame read back as 430.125 MHz, 88.5 Hz both ways, add, BCL off.
const QString kSampleFrame = QStringLiteral("01000025874085080000002501430000");

// A plan with a little of everything in the first rows.
// clang-format off
const std::vector<ChannelStore::Change> kPlan = {
    {0, RxFrequency, "430.12500"}, {0, RxTone, "88.5"}, {0, TxFrequency, "430.12500"}, {0, Scan, "add"},
    {0, Bcl, "off"}, {0, Beat, "off"}, {1, RxFrequency, "145.00625"}, {1, RxDcs, "023"},
    {1, TxFrequency, "145.60625"}, {1, TxDcs, "754"}, {1, Scan, "del"}, {1, Bcl, "2"}, {1, Beat, "on"},
    {39, RxFrequency, "462.56250"}, {39, Scan, "del"}, {49, RxFrequency, "500.00000"}, {49, TxTone, "250.3"}};
// clang-format on

QByteArray expectedWrite(const ChannelStore &store)
{
    QByteArray out("A");
    for (int row = 0; row < kChannelCount; ++row) {
        ChannelRecord r = store.record(row);
        if (row == 0)
            r[ChannelNumber] = std::string("1");
        out += QByteArray::fromStdString(*encodeChannelFrame(r).frame);
    }
    return out;
}

// The bar through a whole transfer: 0, 2, … 98 once per frame, then 0.
QList<int> wholeTransferProgress()
{
    QList<int> values;
    for (int v = 0; v <= 98; v += 2)
        values << v;
    return values << 0;
}

// A trace file's lines without its header, and the traffic they show: "|"
// and the direction each time it changes, then the characters.
struct TraceReading {
    QList<QByteArray> lines;
    QByteArray flow;
};

TraceReading readTrace(const QString &path)
{
    QFile file(path);
    TraceReading out;
    if (!file.open(QIODevice::ReadOnly))
        return out;
    char direction = 0;
    for (const QByteArray &line : file.readAll().split('\n')) {
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        out.lines << line;
        if (line.at(14) != direction)
            out.flow += '|' + QByteArray(1, direction = line.at(14));
        out.flow += direction == '=' ? line.mid(17) : QByteArray::fromHex(line.mid(17, 47));
    }
    return out;
}

// The descriptor this process holds on `path`.
int descriptorOf(const QString &path)
{
    const QString target = QFileInfo(path).canonicalFilePath();
    for (const QFileInfo &fd : QDir(QStringLiteral("/proc/self/fd")).entryInfoList(QDir::AllEntries | QDir::System))
        if (fd.symLinkTarget() == target)
            return fd.fileName().toInt();
    return -1;
}


} // namespace

class TestTransfers : public QObject {
    Q_OBJECT
private slots:
    void writeAtRealPace()
    {
        RadioSimulator sim;
        VQ_RIG(rig, db(), sim.devicePath());
        QVERIFY(rig.store().apply(kPlan));
        QVERIFY(rig.store().setField(0, ChannelNumber, "7"));
        const QByteArray sent = expectedWrite(rig.store());
        QSignalSpy written(&sim, &RadioSimulator::writeStored);
        // Channel 1 is made current as a write starts and once it is over
        // (the table may be edited meanwhile), told apart by the state at each.
        QList<State> seen;
        QObject::connect(&rig.programmer, &Programmer::firstRowCurrent, [&] { seen << rig.state(); });

        QCOMPARE(rig.programmer.controller().remainingWriteMs(), 0); // no write, nothing to wait for
        QVERIFY(rig.take(rig.programmer.transfers().write()));
        QCOMPARE(rig.state(), State::WritePending);
        QCOMPARE(rig.running, QList<bool>{true});
        QCOMPARE(rig.statuses.last(), QStringLiteral("正在传送数据,,,,,,,"));
        // Edits while the write runs reach the store, not the radio.
        QVERIFY(rig.take(rig.programmer.editor().applyTypedValue(2, RxFrequency, QStringLiteral("145.5"))));
        QVERIFY(rig.take(rig.programmer.editor().applyPick(1, 0, QStringLiteral("67.0"))));
        QVERIFY(written.wait(8000));

        // Exactly "A" and the 50 frames as they stood; channel 1 numbered "1", in one undo step.
        QCOMPARE(sim.received(), sent);
        QCOMPARE(rig.store().field(0, ChannelNumber), FieldValue("1"));
        QCOMPARE(rig.programmer.editor().undoCount(), 3);

        // The first frame about 900 ms after "A", then one every 100 ms.
        const QList<qint64> t = sim.receiveTimesNs();
        const double firstMs = (t[1] - t[0]) / 1e6;
        QVERIFY2(firstMs > 850 && firstMs < 1100, qPrintable(QString::number(firstMs)));
        std::vector<double> gaps;
        for (int f = 1; f < kChannelCount; ++f)
            gaps.push_back((t[1 + f * 32] - t[1 + (f - 1) * 32]) / 1e6);
        std::sort(gaps.begin(), gaps.end());
        QVERIFY2(gaps[24] > 95 && gaps[24] < 105, qPrintable(QString::number(gaps[24])));

        // End: the simulator answered the poll; controls back, bar 0 … 98 then 0.
        QTRY_COMPARE(rig.state(), State::Idle);
        QCOMPARE(rig.programmer.controller().writeStep(), 0);
        QCOMPARE(rig.programmer.controller().remainingWriteMs(), 0);
        QCOMPARE(rig.progress, wholeTransferProgress());
        QCOMPARE(rig.running, (QList<bool>{true, false}));
        QCOMPARE(rig.statuses.last(), kReady);
        QVERIFY(rig.notices.isEmpty());
        QCOMPARE(seen, (QList<State>{State::Idle, State::AwaitingReady}));
        // The history has what went out; undoing the edits gives it back.
        QVERIFY(rig.take(rig.programmer.editor().undo()) && rig.take(rig.programmer.editor().undo()));
        const auto kept = rig.programmer.history().entries();
        QCOMPARE(kept.size(), std::size_t(1));
        QCOMPARE(kept[0].reason, ChannelHistory::Reason::Write);
        QCOMPARE(kept[0].device, sim.devicePath());
        QVERIFY(*rig.programmer.history().rows(kept[0].id) == planRows(rig.store()));
        QCOMPARE(expectedWrite(rig.store()), sent);
        QCOMPARE(rig.store().field(0, ChannelNumber), FieldValue("1"));
    }
    void readAtLineRate()
    {
        RadioSimulator sim; // paced at 9600 baud
        VQ_RIG(rig, db(), sim.devicePath());
        QVERIFY(rig.store().apply(kPlan));
        QVERIFY(rig.store().setField(9, ChannelNumber, "keep"));
        QStringList frames = RadioSimulator::defaultFrames();
        frames[0] = kSampleFrame;
        frames[1] = QStringLiteral("82002506361201550280250656145355");
        frames[39] = QStringLiteral("a8000025874000000000000000000000"); // lower case: accepted
        QVERIFY(sim.setFrames(frames));

        QVERIFY(rig.take(rig.programmer.transfers().read()));
        QTRY_COMPARE_WITH_TIMEOUT(rig.stored, 1, 5000);
        QVERIFY(rig.notices.isEmpty());
        // Each row is what the frame decodes to; 信道号 is the table's own.
        for (int row : {0, 1, 39, 49}) {
            ChannelRecord expected = rig.store().record(row);
            decodeChannelFrame(frames[row].toStdString()).fields->applyTo(expected);
            QCOMPARE(rig.store().record(row), expected);
        }
        QCOMPARE(rig.store().field(9, ChannelNumber), FieldValue("keep"));
        QCOMPARE(rig.programmer.editor().undoCount(), 1);
        QVERIFY(rig.programmer.editor().undoText().contains(QStringLiteral("对讲机内容不变")));
        const ChannelHistory::Entry read = rig.programmer.history().entries().front();
        QCOMPARE(read.reason, ChannelHistory::Reason::Read);
        QVERIFY(*rig.programmer.history().rows(read.id) == planRows(rig.store()));

        QCOMPARE(rig.progress, wholeTransferProgress());
        QCOMPARE(rig.running, (QList<bool>{true, false}));
        QCOMPARE(rig.statuses.mid(0, 2), (QStringList{QStringLiteral("正在读数据......"), QString()}));
    }
    void readFailuresLeaveThePlan_data()
    {
        QTest::addColumn<RadioSimulatorOptions>("options");
        using O = RadioSimulatorOptions;
        QTest::newRow("silent after B") << O{.paced = false, .silentAfterB = true};
        for (int n : {0, 1, 10, 25, 49})
            QTest::newRow(qPrintable(QStringLiteral("stops after %1 frames").arg(n)))
                << O{.paced = false, .stopAfterFrames = n};
        QTest::newRow("malformed frame 25") << O{.paced = false, .malformedFrameAt = 25};
        QTest::newRow("hangs up after 30 frames") << O{.paced = false, .hangUpAfterFrames = 30};
        // At the line's pace the rest of the answer is still coming for a
        // second and a half after the failure.
        QTest::newRow("malformed frame 5, answer still coming") << O{.malformedFrameAt = 5};
    }
    void readFailuresLeaveThePlan()
    {
        QFETCH(RadioSimulatorOptions, options);
        RadioSimulator sim(options);
        VQ_RIG(rig, db(), sim.devicePath());
        rig.quicken();
        QVERIFY(rig.store().apply(kPlan));
        // A "C" in the frames' hex text must never pass for the ready reply.
        QVERIFY(sim.setFrames(QStringList(kChannelCount, QStringLiteral("0C000025874085080000002501430000"))));
        const auto before = test::snapshot(rig.store());

        QVERIFY(rig.take(rig.programmer.transfers().read()));
        QTRY_COMPARE(rig.notices.size(), 1);
        QCOMPARE(rig.notices.first().text, QStringLiteral("读数错误！！"));
        QCOMPARE(rig.notices.first().title, QStringLiteral("错误警告 "));
        QVERIFY(test::snapshot(rig.store()) == before);
        QCOMPARE(rig.stored, 0);
        QCOMPARE(rig.running.last(), false);
        QCOMPARE(rig.progress.last(), 0);
        QTest::qWait(400); // no second message follows
        QCOMPARE(rig.notices.size(), 1);

        if (options.hangUpAfterFrames >= 0) {
            QVERIFY(!rig.programmer.link().isOpen());
            QCOMPARE(rig.state(), State::Idle);
            return;
        }
        // The poll runs again and the simulator answers it: the rest of the
        // broken answer was dropped, and the next read works at once.
        QTRY_COMPARE(rig.state(), State::Idle);
        QCOMPARE(rig.statuses.last(), kReady);
        QCOMPARE(sim.pendingOutput(), 0); // "ready" came from a reply, not from the answer's text
        RadioSimulator good({.paced = false});
        QVERIFY(good.setFrames(QStringList(kChannelCount, kSampleFrame)));
        rig.programmer.link().close();
        rig.programmer.link().setDevicePaths(good.devicePath(), QString());
        QCOMPARE(rig.programmer.link().open(), SerialLink::OpenResult::Opened);
        // Characters left on the line before "B" must not shift the frames.
        good.sendRaw("C6xx");
        QTest::qWait(50);
        QVERIFY(rig.take(rig.programmer.transfers().read()));
        QTRY_COMPARE(rig.stored, 1);
        QCOMPARE(rig.notices.size(), 1);
        QCOMPARE(rig.store().field(49, RxTone), FieldValue("88.5"));
    }
    // A comparison names each field the radio holds otherwise, as the radio
    // holds it, and leaves the table; the radio's rows are then one step to
    // take and one to undo.
    void comparisonChangesNothingUnasked()
    {
        RadioSimulator sim({.paced = false});
        VQ_RIG(rig, db(), sim.devicePath());
        rig.quicken();
        QVERIFY(rig.store().apply(kPlan));
        QStringList frames;
        for (const QByteArray &frame : encodePlan(rig.programmer.editor().plan()).frames)
            frames << QString::fromLatin1(frame);
        QVERIFY(sim.setFrames(frames));
        const FieldValue radioRx = rig.store().field(1, RxFrequency);
        QVERIFY(rig.store().apply({{1, RxFrequency, "146.00000"}, {39, Scan, "add"}}));
        const auto plan = test::snapshot(rig.store());
        std::vector<FieldDifference> found;
        qint64 snapshot = -1;
        connect(&rig.programmer.transfers(), &Transfers::compared, this,
                [&](const std::vector<FieldDifference> &differences, qint64 id) {
                    found = differences;
                    snapshot = id;
                });
        QVERIFY(rig.take(rig.programmer.transfers().compare()));
        QTRY_VERIFY(snapshot > 0);
        QCOMPARE(found.size(), std::size_t(2));
        QCOMPARE(found[0], (FieldDifference{2, RxFrequency, *radioRx, "146.00000"}));
        QCOMPARE(found[1], (FieldDifference{40, Scan, "del", "add"}));
        QVERIFY(test::snapshot(rig.store()) == plan);
        TableEditor &editor = rig.programmer.editor();
        QVERIFY(rig.take(editor.restoreSnapshot(snapshot, texts::kTakeRadioStep)));
        QCOMPARE(rig.store().field(1, RxFrequency), radioRx);
        QCOMPARE(editor.undoText(), QString(texts::kTakeRadioStep));
        QVERIFY(rig.take(editor.undo()));
        QVERIFY(test::snapshot(rig.store()) == plan);
    }
    void verifyAfterWrite_data()
    {
        QTest::addColumn<RadioSimulatorOptions>("options");
        QTest::addColumn<QStringList>("told");
        using O = RadioSimulatorOptions;
        const QStringList failed{QStringLiteral("校验读数失败")};
        QTest::newRow("clean") << O{.paced = false} << QStringList();
        QTest::newRow("channel 2 differs")
            << O{.paced = false, .corruptFrameAt = 2} << QStringList{QStringLiteral("第2信道校验不符")};
        QTest::newRow("silent after the write") << O{.paced = false, .neverReady = true}
                                                << QStringList{QStringLiteral("写入后对讲机未响应，无法校验")};
        QTest::newRow("stops after 10 frames") << O{.paced = false, .stopAfterFrames = 10} << failed;
        QTest::newRow("malformed frame 25") << O{.paced = false, .malformedFrameAt = 25} << failed;
    }
    void verifyAfterWrite()
    {
        QFETCH(RadioSimulatorOptions, options);
        QFETCH(QStringList, told);
        RadioSimulator sim(options);
        VQ_RIG(rig, db(), sim.devicePath());
        rig.quicken();
        QVERIFY(rig.store().apply(kPlan));
        rig.programmer.transfers().setVerifyAfterWrite(true);
        QList<LinkController::ReadRows> mismatches;
        QObject::connect(&rig.programmer, &Programmer::verifyMismatch,
                         [&](const LinkController::ReadRows &rows) { mismatches << rows; });
        QVERIFY(rig.take(rig.programmer.transfers().write()));
        const auto before = test::snapshot(rig.store());
        QTRY_COMPARE(rig.running, (QList<bool>{true, false}));
        QTRY_COMPARE(rig.state(), options.neverReady ? State::AwaitingReady : State::Idle);
        QCOMPARE(rig.texts(), told);
        QVERIFY(test::snapshot(rig.store()) == before);
        QCOMPARE(rig.stored, 0);
        // The write as without the verify, probes until "C", then the read command.
        const QByteArray write = expectedWrite(rig.store());
        QVERIFY(sim.received().startsWith(write));
        const QString after = QString::fromLatin1(sim.received().mid(write.size()));
        const QRegularExpression line(QLatin1String(options.neverReady ? "^6+$" : "^6+B6*$"));
        QVERIFY2(line.match(after).hasMatch(), qPrintable(after));
        QCOMPARE(mismatches.size(), options.corruptFrameAt ? 1 : 0);
        if (told.isEmpty()) {
            QCOMPARE(rig.progress, wholeTransferProgress() + wholeTransferProgress());
            QCOMPARE(rig.statuses.last(), QStringLiteral("校验通过")); // still, after the radio's "C"
        } else if (options.corruptFrameAt) {
            QCOMPARE(QString::fromStdString(mismatches.first()[1].at(RxFrequency)),
                     QStringLiteral("145.00626"));
            // What the radio holds is in the history, beside what was sent.
            ChannelHistory &history = rig.programmer.history();
            QCOMPARE(history.entries().front().reason, ChannelHistory::Reason::VerifyReadBack);
            const PlanRows radio = *history.rows(history.entries().front().id);
            QCOMPARE(radio[1][RxFrequency], FieldValue("145.00626"));
            QCOMPARE(radio[0][RxFrequency], rig.store().field(0, RxFrequency));
        }
    }
    void linkPoll()
    {
        // The poll takes all that came each tick: "C" behind noise ends it
        // without another probe, and once "C" is seen the radio hears nothing more.
        test::PtyPair radio;
        VQ_RIG(rig, db(), radio.devicePath());
        rig.quicken();
        QVERIFY(rig.take(rig.programmer.transfers().write()));
        radio.write("xC");
        QByteArray line = radio.readAtLeast(1 + kChannelCount * 32, 3000);
        QTRY_COMPARE(rig.state(), State::Idle);
        QTest::qWait(100);
        line += radio.readAvailable();
        QCOMPARE(line.mid(1 + kChannelCount * 32), QByteArray());
        QCOMPARE(rig.statuses.last(), kReady);

        // A lower-case c is not the ready reply: the poll goes on probing.
        QVERIFY(rig.take(rig.programmer.transfers().write()));
        radio.write("c");
        radio.readAtLeast(1 + kChannelCount * 32, 3000);
        QTRY_COMPARE(rig.state(), State::AwaitingReady);
        const QByteArray probes = radio.readAtLeast(6, 3000);
        QVERIFY2(probes.size() >= 6 && probes.count('6') == probes.size(), probes.constData());
        QVERIFY(rig.statuses.last() != kReady);
        // A radio that stays silent is said to be so, until it answers.
        QTRY_COMPARE(rig.statuses.last(), QStringLiteral("对讲机未响应"));
        radio.write("C");
        QTRY_COMPARE(rig.statuses.last(), kReady);
    }
    void refusals_data()
    {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QStringList>("told"); // by the write, the start-up write, the read
        const QString unencodable = QStringLiteral("第7信道数据错误，无法写入");
        const QString short50 = QStringLiteral("信道表记录不足50条");
        const QString noPort = QStringLiteral("串行端口未打开");
        QTest::newRow("unencodable row") << "unencodable" << QStringList{unencodable, unencodable};
        QTest::newRow("49 rows") << "short" << QStringList{short50, short50, short50};
        // Text that is no number would go out as an empty channel.
        const QString notFrequency = QStringLiteral("第3信道数据错误，无法写入");
        QTest::newRow("frequency text not a number") << "abc" << QStringList{notFrequency, notFrequency};
        // The start-up write goes on quietly without a port.
        QTest::newRow("no port") << "closed" << QStringList{noPort, noPort};
    }
    void refusals()
    {
        QFETCH(QString, setup);
        QFETCH(QStringList, told);
        test::PtyPair radio;
        const QString path = db();
        if (setup == QStringLiteral("short")) {
            QVERIFY(ChannelStore().open(path));
            QVERIFY(test::execSql(path, {QStringLiteral("DELETE FROM \"信道表\" WHERE rowid > 49")}));
        }
        VQ_RIG(rig, path, radio.devicePath());
        QVERIFY(rig.store().apply({{1, RxFrequency, "145.00000"}}));
        if (setup == QStringLiteral("unencodable"))
            QVERIFY(
                rig.store().apply({{6, RxFrequency, "145.00000"}, {6, Bcl, "7"}, {0, ChannelNumber, "9"}}));
        if (setup == QStringLiteral("closed"))
            rig.programmer.link().close();
        if (setup == QStringLiteral("abc"))
            QVERIFY(rig.store().apply({{2, TxFrequency, "１４５x"}}));
        const auto before = test::snapshot(rig.store());

        QVERIFY(!rig.take(rig.programmer.transfers().write()));
        QVERIFY(!rig.take(rig.programmer.transfers().startUpWrite()));
        // A read needs no encoding: only the other two refuse it.
        if (setup != QStringLiteral("unencodable") && setup != QStringLiteral("abc"))
            QVERIFY(!rig.take(rig.programmer.transfers().read()));
        QCOMPARE(rig.texts(), told);
        if (setup == QStringLiteral("abc"))
            QVERIFY(rig.notices.first().informative.contains(QStringLiteral("发送频率")));
        QVERIFY(test::snapshot(rig.store()) == before); // channel 1 keeps its number
        QVERIFY(rig.running.isEmpty());
        QTest::qWait(50);
        QCOMPARE(radio.readAvailable(), QByteArray());
    }
    void linkTrace()
    {
        RadioSimulator sim({.paced = false});
        VQ_RIG(rig, db(), sim.devicePath());
        rig.quicken();
        const QString live = dir_.filePath(QStringLiteral("live.txt"));
        QVERIFY(rig.take(rig.programmer.traces().startTrace(live)));
        // Channel 1 is made current as the answer starts to come and once it is stored.
        QList<State> seen;
        QObject::connect(&rig.programmer, &Programmer::firstRowCurrent, [&] { seen << rig.state(); });
        QVERIFY(rig.take(rig.programmer.transfers().read()));
        QTRY_COMPARE(rig.stored, 1);
        QTRY_COMPARE(rig.state(), State::Idle);
        QCOMPARE(seen, (QList<State>{State::Reading, State::Reading}));
        const QString saved = dir_.filePath(QStringLiteral("saved"));
        QVERIFY(rig.take(rig.programmer.traces().saveTrace([&] { return saved; })));
        // Saved again under its full name: the file is replaced, not refused.
        QVERIFY(rig.take(rig.programmer.traces().saveTrace([&] { return saved + QStringLiteral(".txt"); })));

        // The device, "B", the whole answer in order, then the poll's "6" and "C".
        const TraceReading trace = readTrace(saved + QStringLiteral(".txt"));
        const QByteArray start = "|=" + sim.devicePath().toUtf8() + "|>B|<";
        QVERIFY2(trace.flow.startsWith(start), trace.flow.left(80).constData());
        const QByteArray answer = trace.flow.mid(start.size(), RadioSimulator::ReadAnswerChars);
        QCOMPARE(answer.right(kChannelCount * 32), sim.frames().join(QString()).toLatin1());
        const QByteArray poll = trace.flow.mid(start.size() + answer.size());
        QVERIFY2(poll.startsWith("|>6|<") && poll.endsWith('C'), poll.constData());
        // The live file has the same lines, from where it began.
        QCOMPARE(readTrace(live).lines, trace.lines.mid(1));

        // A live file that fails half-way (a full disk) is said once, and the
        // read goes on; one that cannot be made is said at once.
        const int full = ::open("/dev/full", O_WRONLY);
        const int fd = descriptorOf(live);
        QVERIFY(full >= 0 && fd >= 0 && ::dup2(full, fd) == fd);
        ::close(full);
        QVERIFY(rig.take(rig.programmer.transfers().read()));
        QTRY_COMPARE(rig.stored, 2);
        QTRY_COMPARE(rig.state(), State::Idle);
        QVERIFY(!rig.take(rig.programmer.traces().startTrace(live + QStringLiteral("/trace.txt"))));
        // Text added to the open database would break it.
        QVERIFY(!rig.take(rig.programmer.traces().startTrace(rig.store().path())));
        QCOMPARE(rig.texts(), QStringList(3, QStringLiteral("通信记录无法写入，已停止记录")));
        QCOMPARE(rig.notices.first().title, QStringLiteral("错误警告 "));
    }
    void emptyTableAndLostLine()
    {
        RadioSimulator sim({.paced = false, .hangUpAfterFrames = 10});
        VQ_RIG(rig, db(), sim.devicePath());
        rig.quicken();
        QVERIFY(!rig.take(rig.programmer.transfers().startUpWrite()));
        QCOMPARE(rig.statuses, QStringList{QStringLiteral("信道表为空，请先读信道数据")});
        QTRY_COMPARE(rig.statuses.last(), kReady); // the poll still finds the radio
        QCOMPARE(sim.received(), QByteArray("6"));
        QVERIFY(rig.notices.isEmpty() && rig.running.isEmpty());
        // Asked for, an empty table still goes out; a line lost on the way is
        // said once, and not polled.
        QVERIFY(rig.take(rig.programmer.transfers().write()));
        QTRY_COMPARE(rig.notices.size(), 1);
        QVERIFY(sim.received().startsWith("6A"));
        QCOMPARE(rig.texts(), QStringList{QStringLiteral("串行端口通信失败")});
        QCOMPARE(rig.state(), State::Idle);
        QCOMPARE(rig.programmer.controller().writeStep(), 0);
        QCOMPARE(rig.running, (QList<bool>{true, false}));
        QTest::qWait(100);
        QCOMPARE(rig.notices.size(), 1);
        // The history says the write did not finish, and so does every later
        // start, until that radio is written or read again.
        QCOMPARE(rig.programmer.history().entries().front().reason, ChannelHistory::Reason::WriteUnfinished);
        VQ_RIG(next, rig.store().path(), QString());
        const std::optional<Notice> told = next.programmer.transfers().writeCutShort();
        QVERIFY(told && told->title == QStringLiteral("错误警告 ") && told->text.contains(sim.devicePath()));
        next.programmer.history().add(ChannelHistory::Reason::Read, sim.devicePath(), planRows(next.store()));
        QVERIFY(!next.programmer.transfers().writeCutShort());
    }
    // Ending without the user (the terminal hung up) waits for a write to
    // reach its end, then ends its read-back; a read ends at once.
    void endingUnattendedWaitsForTheWrite()
    {
        RadioSimulator sim({.paced = false});
        VQ_RIG(rig, db(), sim.devicePath());
        rig.quicken();
        QVERIFY(rig.store().apply(kPlan));
        rig.programmer.transfers().setVerifyAfterWrite(true);
        QVERIFY(rig.take(rig.programmer.transfers().write()));
        // The time a write still takes falls as it goes on.
        LinkController &controller = rig.programmer.controller();
        const int atStart = controller.remainingWriteMs();
        QTRY_VERIFY(controller.writeStep() >= 50);
        QVERIFY2(controller.remainingWriteMs() < atStart, qPrintable(QString::number(atStart)));
        std::optional<LinkController::State> closedIn;
        rig.programmer.transfers().closeWhenWritten([&] {
            closedIn = controller.state();
            rig.programmer.shutDown(); // as the window's end does, at once
        });
        QVERIFY(!closedIn);
        QTRY_VERIFY(closedIn);
        QVERIFY(*closedIn != State::WritePending && *closedIn != State::Writing);
        QTRY_VERIFY(sim.received().startsWith(expectedWrite(rig.store())));
        QVERIFY(!controller.transferRunning());
        QVERIFY(rig.programmer.link().open() == SerialLink::OpenResult::Opened);
        QVERIFY(rig.take(rig.programmer.transfers().read()));
        bool closed = false;
        rig.programmer.transfers().closeWhenWritten([&closed] { closed = true; });
        QVERIFY(closed && !rig.programmer.controller().transferRunning());
        QCOMPARE(rig.stored, 0);
    }
    void closingAndEditingDuringTransfers()
    {
        RadioSimulator sim; // at the line's pace, so that a read can be caught collecting
        VQ_RIG(rig, db(), sim.devicePath());
        QVERIFY(rig.store().apply(kPlan));
        const auto before = test::snapshot(rig.store());
        // A write is never cut off; the user learns how long it still takes.
        QVERIFY(rig.take(rig.programmer.transfers().write()));
        QVERIFY(!rig.take(rig.programmer.transfers().requestClose()));
        int asked = 0;
        const auto confirm = [&asked](bool yes) { return [&asked, yes] { return ++asked, yes; }; };
        QVERIFY(!rig.take(rig.programmer.transfers().cancelTransfer(confirm(true))));
        QCOMPARE(rig.texts(), (QStringList{QStringLiteral("正在写入对讲机，约6秒后完成，请稍后再关闭"),
                                           QStringLiteral("正在写入对讲机，约6秒后完成，写入不能中止")}));
        rig.notices.clear();
        rig.programmer.shutDown();
        QVERIFY(rig.programmer.link().open() == SerialLink::OpenResult::Opened);
        // During a read the table takes nothing: edits, picks, opened files and
        // bulk changes would be overwritten by the read's batch. Saving is fine.
        QVERIFY(rig.take(rig.programmer.transfers().read()));
        const QString file = dir_.filePath(QStringLiteral("during.doc"));
        QVERIFY(rig.take(rig.programmer.files().saveChannelFile([&] { return file; })));
        QVERIFY(!rig.take(rig.programmer.editor().applyTypedValue(5, RxFrequency, QStringLiteral("146"))));
        QVERIFY(!rig.take(rig.programmer.editor().applyPick(5, 5, QStringLiteral("del"))));
        QVERIFY(!rig.take(rig.programmer.files().openChannelFile([&] { return file; })));
        QVERIFY(!rig.take(rig.programmer.editor().undo()));
        // (Every other edit is tried during reads under random sequences.)
        QCOMPARE(rig.texts(), QStringList(4, QStringLiteral("数据传送中，请稍后再试")));
        // Closing during a read ends it at once; nothing is kept, no message.
        QVERIFY(rig.take(rig.programmer.transfers().requestClose()));
        QVERIFY(!rig.programmer.controller().transferRunning());
        // And while its answer is coming in.
        QTRY_COMPARE(rig.state(), LinkController::State::Idle);
        QVERIFY(rig.take(rig.programmer.transfers().read()));
        QTRY_COMPARE(rig.state(), LinkController::State::Reading);
        // Esc: a "no" lets the read go on, a "yes" ends it and the poll resumes.
        QVERIFY(!rig.take(rig.programmer.transfers().cancelTransfer(confirm(false))));
        QCOMPARE(rig.state(), LinkController::State::Reading);
        QVERIFY(rig.take(rig.programmer.transfers().cancelTransfer(confirm(true))));
        QCOMPARE(asked, 2);
        QCOMPARE(rig.state(), LinkController::State::AwaitingReady);
        QTest::qWait(300);
        QCOMPARE(rig.stored, 0);
        QCOMPARE(rig.notices.size(), 4);
        QVERIFY(test::snapshot(rig.store()) == before);
    }

private:
    QString db() { return dir_.filePath(QStringLiteral("t%1.db").arg(++count_)); }
    QTemporaryDir dir_;
    int count_ = 0;
};

QTEST_GUILESS_MAIN(TestTransfers)
#include "tst_transfers.moc"
