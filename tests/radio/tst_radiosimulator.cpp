#include "RadioSimulator.h"
#include "radio/SerialLink.h"

#include <QtTest>

using vq::sim::RadioSimulator;
using Options = RadioSimulator::Options;
Q_DECLARE_METATYPE(vq::sim::RadioSimulatorOptions)

namespace {

// The program's end of the line, opened the way the program opens it.
struct Port {
    explicit Port(const QString &path)
    {
        link.setDevicePaths(path, QString());
        link.open();
        QObject::connect(&link, &vq::SerialLink::received, [this] { data += link.take(link.available()); });
    }
    vq::SerialLink link;
    QByteArray data;
};

// What the radio says to "B" with its memory as it comes.
const QByteArray defaultAnswer =
    "56513434373152000000000000000000" + RadioSimulator::defaultFrames().join(QString()).toLatin1();

} // namespace

class TestRadioSimulator : public QObject {
    Q_OBJECT

private slots:
    void answers_data();
    void answers();
    void writeIsStoredAndKeptInTheMemoryFile();
};

void TestRadioSimulator::answers_data()
{
    QTest::addColumn<Options>("options");
    QTest::addColumn<QByteArray>("send");
    // '.' in what is expected stands for what must read neither as frame text nor as "C".
    QTest::addColumn<QByteArray>("expected");
    const auto row = [](const char *name, const Options &options, const QByteArray &send,
                        const QByteArray &expected) { QTest::newRow(name) << options << send << expected; };
    row("probe", {.paced = false}, "x6", "C");
    row("read at line rate", {}, "B", defaultAnswer);
    row("never ready", {.paced = false, .neverReady = true}, "6", "");
    row("noise before C", {.paced = false, .noiseBeforeC = 3}, "6", "...C");
    row("silent after a write", {.paced = false, .silentAfterWrite = true},
        "A" + RadioSimulator::defaultFrames().join(QString()).toLatin1() + "6B6", "");
    // Faults in an answer are met, as the program meets them, by the transfer tests.
}

void TestRadioSimulator::answers()
{
    QFETCH(Options, options);
    QFETCH(QByteArray, send);
    QFETCH(QByteArray, expected);
    RadioSimulator sim(options);
    Port port(sim.devicePath());
    QSignalSpy commands(&sim, &RadioSimulator::commandReceived);
    QElapsedTimer clock;
    clock.start();
    QVERIFY(port.link.send(send));
    QTRY_COMPARE(sim.received().size(), send.size());
    QTRY_VERIFY(!commands.isEmpty() && sim.pendingOutput() == 0);
    // A whole read at 960 characters a second takes 1.7 s; only a clearly faster line should fail.
    QVERIFY(!options.paced || clock.elapsed() > 1200);
    QTRY_COMPARE(port.data.size(), expected.size());
    QTest::qWait(50); // room for anything that should not come
    const qsizetype from = qMax(expected.indexOf('.'), qsizetype(0)), dots = expected.count('.');
    const QByteArray stoodIn = port.data.mid(from, dots);
    QCOMPARE(port.data.replace(from, dots, QByteArray(dots, '.')), expected);
    QVERIFY(
        QRegularExpression(QStringLiteral("^(?![0-9A-F]+$)[^C]*$")).match(QLatin1String(stoodIn)).hasMatch());
    QCOMPARE(sim.frames(), RadioSimulator::defaultFrames()); // nothing here completes a write
}

void TestRadioSimulator::writeIsStoredAndKeptInTheMemoryFile()
{
    QTemporaryDir dir;
    const Options options{
        .memoryFile = dir.filePath(QStringLiteral("m")), .paced = false, .writeTimeoutMs = 200};
    QByteArray frames; // distinct, each with a '6' in it: one taken for a probe would show
    for (int i = 1; i <= RadioSimulator::FrameCount; ++i)
        frames += QByteArray::number(1000000 + i) + "6608508000000250143000000";
    RadioSimulator sim(options);
    Port port(sim.devicePath());
    QSignalSpy abandoned(&sim, &RadioSimulator::writeAbandoned);
    QSignalSpy written(&sim, &RadioSimulator::writeStored);
    QVERIFY(port.link.send("A" + frames.left(96))); // then quiet: dropped, and the radio listens again
    QVERIFY(abandoned.wait());
    QCOMPARE(abandoned.first().first().toInt(), 96);
    QVERIFY(port.link.send("A" + frames));
    QVERIFY(written.wait());
    QCOMPARE(sim.frames().join(QString()).toLatin1(), frames);
    QVERIFY(port.data.isEmpty()); // no '6' inside the frames was answered
    QCOMPARE(RadioSimulator(options).frames(), sim.frames());
    QFile::resize(options.memoryFile, 40); // a broken file is refused
    QVERIFY(!RadioSimulator(options).isValid());
}

QTEST_GUILESS_MAIN(TestRadioSimulator)
#include "tst_radiosimulator.moc"
