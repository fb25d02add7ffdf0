// One plan into several radios at once over pseudo-terminals: what each
// radio ends up holding, and what each port's result says.
#include "RadioSimulator.h"
#include "plan/FleetWrite.h"
#include "radio/SerialLink.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

using namespace vq;
using Stage = FleetWrite::Stage;
using vq::sim::RadioSimulator;
using vq::sim::RadioSimulatorOptions;

Q_DECLARE_METATYPE(vq::sim::RadioSimulatorOptions)

namespace {

std::vector<QByteArray> samplePlan()
{
    PlanRows rows(kChannelCount);
    // Channel 12 goes out as "0C…": a radio that dumps its memory where it
    // should say nothing would seem to answer.
    for (int row : {0, 2, 11, 49})
        rows[row][ChannelNumber] = std::to_string(row + 1);
    rows[11][RxFrequency] = rows[11][TxFrequency] = "438.50000";
    rows[0][RxFrequency] = rows[0][TxFrequency] = "430.12500";
    rows[0][RxTone] = "88.5";
    rows[2][RxFrequency] = "145.00625";
    rows[2][TxFrequency] = "145.60625";
    rows[49][RxFrequency] = "462.56250";
    return encodePlan(rows).frames;
}

QStringList asMemory(const std::vector<QByteArray> &frames)
{
    QStringList out;
    for (const QByteArray &f : frames)
        out << QString::fromLatin1(f);
    return out;
}

// Write tick, write delay, poll, read start, block time-out, silence, verify wait.
const LinkController::Intervals kQuick{4, 10, 10, 5, 300, 300, 400};

RadioSimulatorOptions unpaced(int hangUpAfterFrames = -1, bool neverReady = false, int corruptFrameAt = 0)
{
    return {.paced = false,
            .neverReady = neverReady,
            .corruptFrameAt = corruptFrameAt,
            .hangUpAfterFrames = hangUpAfterFrames};
}

} // namespace

class TestFleetWrite : public QObject {
    Q_OBJECT
private slots:
    void onePortFailing_data()
    {
        QTest::addColumn<bool>("verify");
        QTest::addColumn<RadioSimulatorOptions>("faulty"); // the second radio
        QTest::addColumn<QStringList>("told");
        QTest::newRow("line lost after 10 frames")
            << false << unpaced(10) << QStringList{"写入完成", "串行端口通信失败", "写入完成"};
        QTest::newRow("radio never ready")
            << true << unpaced(-1, true) << QStringList{"校验通过", "对讲机未响应", "校验通过"};
        RadioSimulatorOptions garbled = unpaced();
        garbled.malformedFrameAt = 5;
        QTest::newRow("read-back malformed") << true << garbled << QStringList{"校验通过", "校验读数失败", "校验通过"};
        QTest::newRow("channel 3 reads back wrong")
            << true << unpaced(-1, false, 3) << QStringList{"校验通过", "第3信道校验不符", "校验通过"};
    }
    void onePortFailing()
    {
        QFETCH(bool, verify);
        QFETCH(RadioSimulatorOptions, faulty);
        QFETCH(QStringList, told);
        RadioSimulator good1(unpaced()), bad(faulty), good2(unpaced());
        const std::vector<QByteArray> plan = samplePlan();
        QTemporaryDir dir;
        const QString missing = dir.filePath(QStringLiteral("ttyUSB9"));
        FleetWrite fleet;
        fleet.setIntervals(kQuick);
        // Frames a read could not give back are no plan to write.
        QVERIFY(!fleet.start({good1.devicePath()}, {QByteArray("0")}, false));
        QSignalSpy finished(&fleet, &FleetWrite::finished);
        QMap<int, int> shown; // each port's last progress
        connect(&fleet, &FleetWrite::portProgress, this, [&shown](int port, int value) { shown[port] = value; });
        QVERIFY(
            fleet.start({good1.devicePath(), bad.devicePath(), good2.devicePath(), missing}, plan, verify));
        QVERIFY(finished.wait(5000));
        QCOMPARE(finished.first().first().toBool(), false);

        const QList<FleetWrite::PortResult> results = fleet.results();
        QStringList texts;
        for (const auto &r : results)
            texts << r.text;
        QCOMPARE(texts, told << QStringLiteral("串行端口 %1 的设备不存在").arg(missing));
        const Stage goal = verify ? Stage::Verified : Stage::Written;
        QCOMPARE(results[0].stage, goal);
        QCOMPARE(results[2].stage, goal);
        QCOMPARE(results[1].stage, Stage::Failed);
        QVERIFY(!results[1].ok && !results[3].ok && results[0].ok && results[2].ok);
        QCOMPARE(good1.frames(), asMemory(plan));
        QCOMPARE(good2.frames(), asMemory(plan));
        QCOMPARE(bad.frames(), faulty.corruptFrameAt || faulty.malformedFrameAt ? asMemory(plan)
                                                                                : RadioSimulator::defaultFrames());
        QCOMPARE(shown.value(0), 100);
        QCOMPARE(shown.value(2), 100);
        // A read-back that differs comes with the rows the radio gave, for the history.
        QCOMPARE(results[0].readBack.has_value(), verify);
        if (faulty.corruptFrameAt)
            QCOMPARE(differingChannels(*expectedReadBack(plan), *results[1].readBack), QList<int>{3});
        if (faulty.hangUpAfterFrames > 0)
            QVERIFY2(results[1].framesSent >= 10 && results[1].framesSent < kChannelCount,
                     qPrintable(QString::number(results[1].framesSent)));
        if (faulty.neverReady) // probes only: a silent radio is never sent "A"
            QCOMPARE(QString::fromLatin1(bad.received()).count(QLatin1Char('6')), bad.received().size());

        // Every device is given back by the time the write is over.
        SerialLink again;
        again.setDevicePaths(good1.devicePath(), QString());
        QCOMPARE(again.open(), SerialLink::OpenResult::Opened);
    }
    void noAnswerAfterTheLastFrame_data()
    {
        QTest::addColumn<RadioSimulatorOptions>("radio");
        QTest::newRow("line lost") << unpaced(kChannelCount);
        RadioSimulatorOptions silent = unpaced();
        silent.silentAfterWrite = true;
        QTest::newRow("radio silent") << silent;
    }
    void noAnswerAfterTheLastFrame()
    {
        // Every frame went out, then nothing said the radio took them:
        // written as far as anyone knows, but not a success.
        QFETCH(RadioSimulatorOptions, radio);
        RadioSimulator simulator(radio);
        FleetWrite fleet;
        fleet.setIntervals(kQuick);
        QSignalSpy finished(&fleet, &FleetWrite::finished);
        QVERIFY(fleet.start({simulator.devicePath()}, samplePlan(), false));
        QVERIFY(finished.wait(5000));
        QCOMPARE(finished.first().first().toBool(), false);
        const FleetWrite::PortResult result = fleet.results().first();
        QCOMPARE(result.framesSent, kChannelCount);
        QCOMPARE(result.stage, Stage::Written);
        QCOMPARE(result.text, QStringLiteral("写入后对讲机未响应"));
        QVERIFY(!result.ok);
    }
    void cancel()
    {
        // The first radio is sending when the write is cancelled, the second
        // has not answered yet.
        RadioSimulator sending(unpaced()), waiting(unpaced(-1, true));
        const std::vector<QByteArray> plan = samplePlan();
        FleetWrite fleet;
        LinkController::Intervals i = kQuick;
        i.silence = 3000;
        fleet.setIntervals(i);
        QSignalSpy finished(&fleet, &FleetWrite::finished);
        QList<int> progress;
        connect(&fleet, &FleetWrite::portProgress, this, [&](int port, int value) {
            if (port == 0 && value == 10)
                fleet.cancel();
            if (port == 0)
                progress << value;
        });
        QVERIFY(fleet.start({sending.devicePath(), waiting.devicePath()}, plan, true));
        QVERIFY(finished.wait(3000));
        QCOMPARE(finished.first().first().toBool(), false);
        const QList<FleetWrite::PortResult> results = fleet.results();
        // The port that was sending finished its frames and read nothing back.
        QCOMPARE(results[0].stage, Stage::Written);
        QCOMPARE(results[0].text, QStringLiteral("写入完成，未校验"));
        QCOMPARE(results[0].framesSent, kChannelCount);
        QTRY_COMPARE(sending.frames(), asMemory(plan));
        QVERIFY(!sending.received().contains('B'));
        QCOMPARE(progress.last(), 50);
        QCOMPARE(results[1].stage, Stage::Cancelled);
        QCOMPARE(results[1].text, QStringLiteral("已取消，对讲机内容未变"));
        QVERIFY(!waiting.received().contains('A'));
    }
};

QTEST_GUILESS_MAIN(TestFleetWrite)
#include "tst_fleetwrite.moc"
