#include "RadioSimulator.h"
#include "channels/ChannelStore.h"
#include "radio/ChannelFrame.h"
#include "radio/LinkController.h"
#include "radio/SerialLink.h"
#include "support/PtyPair.h"
#include "support/StoreHelpers.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>

using namespace vq;
using vq::sim::RadioSimulator;
using vq::sim::RadioSimulatorOptions;

namespace {

// Intervals short enough for tests whose subject is order, not timing.
LinkController::Intervals quick()
{
    LinkController::Intervals i;
    i.writeTick = 4;
    i.writeDelay = 10;
    i.poll = 10;
    i.readStart = 5;
    i.blockTimeout = 300;
    return i;
}

// A plan with a little of everything in the first rows.
void fillPlan(ChannelStore &store)
{
    const std::vector<ChannelStore::Change> changes = {{0, RxFrequency, std::string("430.12500")},
                                                       {0, RxTone, std::string("88.5")},
                                                       {0, TxFrequency, std::string("430.12500")},
                                                       {0, Scan, std::string("add")},
                                                       {0, Bcl, std::string("off")},
                                                       {0, Beat, std::string("off")},
                                                       {1, RxFrequency, std::string("145.00625")},
                                                       {1, RxDcs, std::string("023")},
                                                       {1, TxFrequency, std::string("145.60625")},
                                                       {1, TxDcs, std::string("754")},
                                                       {1, Scan, std::string("del")},
                                                       {1, Bcl, std::string("2")},
                                                       {1, Beat, std::string("on")},
                                                       {39, RxFrequency, std::string("462.56250")},
                                                       {39, Scan, std::string("del")},
                                                       {49, RxFrequency, std::string("500.00000")},
                                                       {49, TxTone, std::string("250.3")}};
    QVERIFY(store.apply(changes));
}

QByteArray expectedWrite(const ChannelStore &store)
{
    QByteArray out("A");
    for (int row = 0; row < 50; ++row) {
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

RadioSimulatorOptions unpaced()
{
    RadioSimulatorOptions options;
    options.paced = false;
    return options;
}

struct Rig {
    explicit Rig(const QString &db, const QString &device)
    {
        QVERIFY(store.open(db));
        link.setDevicePaths(device, QString());
        QCOMPARE(link.open(), SerialLink::OpenResult::Opened);
    }
    ChannelStore store;
    SerialLink link;
    LinkController controller{link, store};
    QSignalSpy notices{&controller, &LinkController::notice};
    QSignalSpy progress{&controller, &LinkController::progressChanged};
    QSignalSpy status{&controller, &LinkController::statusChanged};
    QSignalSpy locks{&controller, &LinkController::menusLocked};
    QSignalSpy stored{&controller, &LinkController::readStored};

    QString lastNotice() const
    {
        return notices.isEmpty() ? QString() : notices.last().at(0).value<Notice>().text;
    }
    QList<int> progressValues() const
    {
        QList<int> out;
        for (const auto &args : progress)
            out << args.at(0).toInt();
        return out;
    }
};

} // namespace

class TestLinkController : public QObject {
    Q_OBJECT
private slots:
    void writeAtRealPace();
    void writeSendsWhatItEncodedAtStart();
    void readAtLineRate();
    void readFailuresLeaveThePlan_data();
    void readFailuresLeaveThePlan();
    void linkPoll();
    void refusals();
    void lineLostDuringWrite();

private:
    QString db() { return dir_.filePath(QStringLiteral("t%1.db").arg(++count_)); }
    QTemporaryDir dir_;
    int count_ = 0;
};

void TestLinkController::writeAtRealPace()
{
    RadioSimulator sim;
    QVERIFY(sim.isValid());
    Rig rig(db(), sim.devicePath());
    fillPlan(rig.store);
    QVERIFY(rig.store.setField(0, ChannelNumber, std::string("7")));
    QSignalSpy written(&sim, &RadioSimulator::writeStored);

    rig.controller.startWrite();
    QCOMPARE(rig.controller.state(), LinkController::State::WritePending);
    QCOMPARE(rig.locks.last().at(0).toBool(), true);
    QCOMPARE(rig.status.last().at(0).toString(), QStringLiteral("正在传送数据,,,,,,,"));
    QVERIFY(written.wait(8000));

    // Exactly "A" and the 50 frames, nothing else; channel 1 numbered "1".
    QCOMPARE(sim.received(), expectedWrite(rig.store));
    QCOMPARE(rig.store.field(0, ChannelNumber), FieldValue(std::string("1")));

    // The first frame about 900 ms after "A", then one every 100 ms.
    const QList<qint64> t = sim.receiveTimesNs();
    const double firstMs = (t[1] - t[0]) / 1e6;
    QVERIFY2(firstMs > 850 && firstMs < 1100, qPrintable(QString::number(firstMs)));
    std::vector<double> gaps;
    for (int f = 1; f < 50; ++f)
        gaps.push_back((t[1 + f * 32] - t[1 + (f - 1) * 32]) / 1e6);
    std::sort(gaps.begin(), gaps.end());
    QVERIFY2(gaps[24] > 95 && gaps[24] < 105, qPrintable(QString::number(gaps[24])));

    // End state: poll running, controls restored, bar 0 … 98 then 0.
    QTRY_COMPARE(rig.controller.state(), LinkController::State::Idle); // the simulator answered "C"
    QCOMPARE(rig.controller.writeStep(), 0);
    QCOMPARE(rig.progressValues(), wholeTransferProgress());
    QCOMPARE(rig.locks.last().at(0).toBool(), false);
    QCOMPARE(rig.status.last().at(0).toString(), QStringLiteral("对讲机就绪..."));
    QVERIFY(rig.notices.isEmpty());
}

void TestLinkController::writeSendsWhatItEncodedAtStart()
{
    RadioSimulator sim(unpaced());
    Rig rig(db(), sim.devicePath());
    rig.controller.setIntervals(quick());
    fillPlan(rig.store);
    const QByteArray before = expectedWrite(rig.store);
    QSignalSpy written(&sim, &RadioSimulator::writeStored);

    for (int run = 0; run < 2; ++run) {
        sim.clearReceived();
        rig.progress.clear();
        rig.controller.startWrite();
        // Edits while the write runs reach the store, not the radio.
        QVERIFY(rig.store.setField(2, RxFrequency, std::string("145.50000")));
        QVERIFY(rig.store.setField(0, RxTone, std::string("67.0")));
        QVERIFY(written.wait(3000));
        QCOMPARE(sim.received(), before);
        QCOMPARE(rig.progressValues().size(), 51);
        QTRY_COMPARE(rig.controller.state(), LinkController::State::Idle);
        QVERIFY(rig.store.apply({{2, RxFrequency, std::nullopt}, {0, RxTone, std::string("88.5")}}));
    }
}

void TestLinkController::readAtLineRate()
{
    RadioSimulator sim; // paced at 9600 baud
    Rig rig(db(), sim.devicePath());
    fillPlan(rig.store);
    QVERIFY(rig.store.setField(9, ChannelNumber, std::string("keep")));
    QStringList frames = RadioSimulator::defaultFrames();
    frames[0] = QStringLiteral("01000025874085080000002501430000");
    frames[1] = QStringLiteral("82002506361201550280250656145355");
    frames[39] = QStringLiteral("a8000025874000000000000000000000"); // lower case: accepted
    QVERIFY(sim.setFrames(frames));

    rig.controller.startRead();
    QCOMPARE(rig.status.last().at(0).toString(), QStringLiteral("正在读数据......"));
    QVERIFY(rig.stored.wait(5000));
    QVERIFY(rig.notices.isEmpty());
    const ChannelRecord one = rig.store.record(0);
    QCOMPARE(one[RxFrequency], FieldValue(std::string("430.12500")));
    QCOMPARE(one[RxTone], FieldValue(std::string("88.5")));
    QCOMPARE(one[RxDcs], FieldValue(std::string()));
    QCOMPARE(one[Bcl], FieldValue(std::string("off")));
    const ChannelRecord two = rig.store.record(1);
    QCOMPARE(two[RxFrequency], FieldValue(std::string("145.00625")));
    QCOMPARE(two[RxDcs], FieldValue(std::string("023")));
    QCOMPARE(two[Scan], FieldValue(std::string("del")));
    QCOMPARE(two[Bcl], FieldValue(std::string("2")));
    QCOMPARE(two[Beat], FieldValue(std::string("on")));
    QCOMPARE(rig.store.field(39, Scan), FieldValue(std::string("del")));
    // An empty frame clears fields 1 … 9 and keeps 信道号.
    const ChannelRecord last = rig.store.record(49);
    QCOMPARE(last[ChannelNumber], FieldValue(std::string("50")));
    for (int f = 1; f < kFieldCount; ++f)
        QCOMPARE(last[std::size_t(f)], FieldValue(std::string()));
    QCOMPARE(rig.store.field(9, ChannelNumber), FieldValue(std::string("keep")));

    QCOMPARE(rig.progressValues(), wholeTransferProgress());
    QCOMPARE(rig.locks.last().at(0).toBool(), false);
    QCOMPARE(rig.status.last().at(0).toString(), QString());
    QCOMPARE(rig.controller.state(), LinkController::State::AwaitingReady);
}

void TestLinkController::readFailuresLeaveThePlan_data()
{
    QTest::addColumn<int>("fault");
    QTest::addColumn<int>("frames");
    QTest::newRow("silent after B") << 0 << 0;
    for (int n : {0, 1, 10, 25, 49})
        QTest::newRow(qPrintable(QStringLiteral("stops after %1 frames").arg(n))) << 1 << n;
    QTest::newRow("malformed frame 25") << 2 << 25;
    QTest::newRow("hangs up after 30 frames") << 3 << 30;
    QTest::newRow("stale characters before B") << 4 << 0;
}

void TestLinkController::readFailuresLeaveThePlan()
{
    QFETCH(int, fault);
    QFETCH(int, frames);
    RadioSimulatorOptions options;
    options.paced = false;
    options.silentAfterB = fault == 0;
    options.stopAfterFrames = fault == 1 ? frames : -1;
    options.malformedFrameAt = fault == 2 ? frames : 0;
    options.hangUpAfterFrames = fault == 3 ? frames : -1;
    RadioSimulator sim(options);
    Rig rig(db(), sim.devicePath());
    rig.controller.setIntervals(quick());
    fillPlan(rig.store);
    QStringList plan;
    for (int i = 0; i < 50; ++i)
        plan << QStringLiteral("01000025874085080000002501430000");
    QVERIFY(sim.setFrames(plan));
    const auto before = test::snapshot(rig.store);

    if (fault == 4) {
        // Characters left on the line before "B" must not shift the frames.
        sim.sendRaw("C6xx");
        QTest::qWait(50);
    }
    rig.controller.startRead();
    if (fault == 4) {
        QVERIFY(rig.stored.wait(3000));
        QVERIFY(rig.notices.isEmpty());
        QCOMPARE(rig.store.field(5, RxTone), FieldValue(std::string("88.5")));
        return;
    }
    QTRY_COMPARE(rig.notices.size(), 1);
    const Notice notice = rig.notices.first().at(0).value<Notice>();
    QCOMPARE(notice.text, QStringLiteral("读数错误！！"));
    QCOMPARE(notice.title, QStringLiteral("错误警告 "));
    QCOMPARE(notice.icon, Notice::Icon::Information);
    QVERIFY(test::snapshot(rig.store) == before);
    QVERIFY(rig.stored.isEmpty());
    QCOMPARE(rig.locks.last().at(0).toBool(), false);
    QCOMPARE(rig.progress.last().at(0).toInt(), 0);
    QStringList statuses;
    for (const auto &args : rig.status)
        statuses << args.at(0).toString();
    QCOMPARE(statuses.mid(0, 2), (QStringList{QStringLiteral("正在读数据......"), QString()}));
    QTest::qWait(400); // no second message follows
    QCOMPARE(rig.notices.size(), 1);

    if (fault == 3) {
        QVERIFY(!rig.link.isOpen());
        QCOMPARE(rig.controller.state(), LinkController::State::Idle);
        return;
    }
    // The poll runs again (and the simulator answers it); the link is
    // usable again at once.
    QTRY_COMPARE(rig.controller.state(), LinkController::State::Idle);
    QCOMPARE(rig.status.last().at(0).toString(), QStringLiteral("对讲机就绪..."));
    RadioSimulator good(unpaced());
    QVERIFY(good.setFrames(plan));
    rig.link.close();
    rig.link.setDevicePaths(good.devicePath(), QString());
    QCOMPARE(rig.link.open(), SerialLink::OpenResult::Opened);
    rig.controller.startRead();
    QVERIFY(rig.stored.wait(3000));
    QCOMPARE(rig.notices.size(), 1);
    QCOMPARE(rig.store.field(49, RxTone), FieldValue(std::string("88.5")));
}

void TestLinkController::linkPoll()
{
    // The poll takes one character a tick: "x" is answered with "6", "C" ends it.
    test::PtyPair radio;
    Rig rig(db(), radio.devicePath());
    LinkController::Intervals i = quick();
    i.poll = 100;
    rig.controller.setIntervals(i);
    rig.controller.startWrite();
    radio.write("xC");
    QByteArray line = radio.readAtLeast(1 + 50 * 32, 3000);
    QTRY_COMPARE(rig.controller.state(), LinkController::State::Idle);
    line += radio.readAvailable();
    QCOMPARE(line.mid(1 + 50 * 32), QByteArray("6"));
    QCOMPARE(rig.status.last().at(0).toString(), QStringLiteral("对讲机就绪..."));

    // A burst of noise before the "C": each noise character costs one probe.
    {
        RadioSimulatorOptions noisy = unpaced();
        noisy.noiseBeforeC = 5;
        RadioSimulator sim(noisy);
        Rig other(db(), sim.devicePath());
        other.controller.setIntervals(quick());
        other.controller.startWrite();
        QTRY_COMPARE(other.status.last().at(0).toString(), QStringLiteral("对讲机就绪..."));
        QCOMPARE(other.controller.state(), LinkController::State::Idle);
        QVERIFY(other.notices.isEmpty());
    }

    // A lower-case c is not the ready reply; silence is probed every 100 ms.
    rig.controller.startWrite();
    radio.write("c");
    radio.readAtLeast(1 + 50 * 32, 3000);
    QTRY_COMPARE(rig.controller.state(), LinkController::State::AwaitingReady);
    // Six probes, one a tick: never faster than five intervals (a slow
    // machine may only make them later).
    QElapsedTimer clock;
    clock.start();
    QByteArray probes = radio.readAtLeast(1, 1000);
    clock.restart();
    probes += radio.readAtLeast(5, 3000);
    QVERIFY2(probes.size() >= 6 && probes.count('6') == probes.size(), probes.constData());
    QVERIFY2(clock.elapsed() >= 450, qPrintable(QString::number(clock.elapsed())));
    QVERIFY(rig.status.last().at(0).toString() != QStringLiteral("对讲机就绪..."));
}

void TestLinkController::refusals()
{
    test::PtyPair radio;
    // An unencodable row refuses the write before "A".
    {
        Rig rig(db(), radio.devicePath());
        rig.controller.setIntervals(quick());
        QVERIFY(rig.store.apply({{6, RxFrequency, std::string("145.00000")},
                                 {6, Bcl, std::string("7")},
                                 {0, ChannelNumber, std::string("9")}}));
        rig.controller.startWrite();
        QCOMPARE(rig.lastNotice(), QStringLiteral("第7信道数据错误，无法写入"));
        QCOMPARE(rig.store.field(0, ChannelNumber), FieldValue(std::string("9"))); // untouched
        QVERIFY(rig.locks.isEmpty());
        QCOMPARE(rig.controller.state(), LinkController::State::Idle);
    }
    // Fewer than 50 rows: neither a write nor a read starts.
    {
        const QString path = db();
        {
            ChannelStore s;
            QVERIFY(s.open(path));
        }
        QVERIFY(test::execSql(path, {QStringLiteral("DELETE FROM \"信道表\" WHERE rowid > 49")}));
        Rig rig(path, radio.devicePath());
        rig.controller.startWrite();
        rig.controller.startRead();
        QCOMPARE(rig.notices.size(), 2);
        QCOMPARE(rig.lastNotice(), QStringLiteral("信道表记录不足50条"));
        QVERIFY(rig.locks.isEmpty());
    }
    // No port: told, nothing starts.
    {
        Rig rig(db(), radio.devicePath());
        rig.link.close();
        rig.controller.startWrite();
        rig.controller.startRead();
        rig.controller.startUpWrite(); // quietly nothing
        QCOMPARE(rig.notices.size(), 2);
        QCOMPARE(rig.lastNotice(), QStringLiteral("串行端口未打开"));
        QCOMPARE(rig.notices.last().at(0).value<Notice>().title, QStringLiteral("系统信息"));
        QCOMPARE(rig.controller.state(), LinkController::State::Idle);
    }
    QTest::qWait(50);
    QVERIFY(radio.readAvailable().isEmpty());
}

void TestLinkController::lineLostDuringWrite()
{
    RadioSimulatorOptions options;
    options.paced = false;
    options.hangUpAfterFrames = 10;
    RadioSimulator sim(options);
    Rig rig(db(), sim.devicePath());
    rig.controller.setIntervals(quick());
    rig.controller.startWrite();
    QTRY_COMPARE(rig.notices.size(), 1);
    QCOMPARE(rig.lastNotice(), QStringLiteral("串行端口通信失败"));
    QCOMPARE(rig.controller.state(), LinkController::State::Idle); // no poll on a dead line
    QCOMPARE(rig.controller.writeStep(), 0);
    QCOMPARE(rig.locks.last().at(0).toBool(), false);
    QTest::qWait(100);
    QCOMPARE(rig.notices.size(), 1);
}

QTEST_GUILESS_MAIN(TestLinkController)
#include "tst_linkcontroller.moc"
