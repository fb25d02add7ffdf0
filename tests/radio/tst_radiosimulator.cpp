#include "RadioSimulator.h"
#include "radio/SerialLink.h"

#include <QElapsedTimer>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>

using vq::sim::RadioSimulator;

namespace {

// The program's end of the line, opened the way the program opens it.
struct Port {
    explicit Port(const QString &path)
    {
        link.setDevicePaths(path, QString());
        opened = link.open() == vq::SerialLink::OpenResult::Opened;
        QObject::connect(&link, &vq::SerialLink::received, [this] { data += link.take(link.available()); });
        QObject::connect(&link, &vq::SerialLink::lineLost, [this] { hungUp = true; });
    }
    bool isOpen() const { return opened; }
    bool send(const QByteArray &bytes) { return link.send(bytes); }

    vq::SerialLink link;
    QByteArray data;
    bool opened = false;
    bool hungUp = false;
};

RadioSimulator::Options unpaced()
{
    RadioSimulator::Options options;
    options.paced = false;
    return options;
}

// Distinct valid frames, each with a '6' in it: one taken for a probe would show.
QStringList numberedFrames()
{
    QStringList frames;
    for (int i = 1; i <= RadioSimulator::FrameCount; ++i)
        frames << QStringLiteral("01%1660850800000025014300000000").arg(i, 4, 10, QLatin1Char('0')).left(32);
    return frames;
}

bool isFrameText(const QByteArray &bytes)
{
    return std::all_of(bytes.begin(), bytes.end(),
                       [](char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'); });
}

} // namespace

class TestRadioSimulator : public QObject {
    Q_OBJECT

private slots:
    void probeIsAnsweredWithC();
    void readIsCompleteAndPaced();
    void writeIsStoredAndSurvivesRestart();
    void quietWriteIsAbandoned();
    void probeFaults();
    void readFaults();
    void hangUps();
};

void TestRadioSimulator::probeIsAnsweredWithC()
{
    RadioSimulator sim(unpaced());
    QVERIFY2(sim.isValid(), qPrintable(sim.errorString()));
    Port port(sim.devicePath());
    QVERIFY(port.isOpen());
    QVERIFY(port.send("x6"));
    QTRY_COMPARE(port.data, QByteArray("C"));
    QCOMPARE(sim.received(), QByteArray("x6"));
    QCOMPARE(sim.receiveTimesNs().size(), 2);
}

void TestRadioSimulator::readIsCompleteAndPaced()
{
    RadioSimulator sim; // the one paced run
    Port port(sim.devicePath());
    QSignalSpy served(&sim, &RadioSimulator::readServed);
    QElapsedTimer clock;
    clock.start();
    QVERIFY(port.send("B"));
    QVERIFY(served.wait(10000));
    QVERIFY2(clock.elapsed() > 1500, "a read answer at 960 characters a second takes about 1.7 s");
    QTRY_COMPARE(port.data.size(), RadioSimulator::ReadAnswerChars);
    QVERIFY(isFrameText(port.data));
    QCOMPARE(port.data.mid(32, 32), QByteArray("01000025874085080000002501430000"));
    QCOMPARE(port.data.mid(64), RadioSimulator::emptyFrame().toLatin1().repeated(49));
}

void TestRadioSimulator::writeIsStoredAndSurvivesRestart()
{
    QTemporaryDir dir;
    RadioSimulator::Options options = unpaced();
    options.memoryFile = dir.filePath(QStringLiteral("memory.txt"));
    const QStringList frames = numberedFrames();
    QCOMPARE(frames.first().size(), 32);
    {
        RadioSimulator sim(options);
        Port port(sim.devicePath());
        QSignalSpy stored(&sim, &RadioSimulator::writeStored);
        QVERIFY(port.send("A" + frames.join(QString()).toLatin1()));
        QVERIFY(stored.wait());
        QCOMPARE(sim.frames(), frames);
        QVERIFY(port.data.isEmpty()); // no '6' inside the frames was answered
        QFile file(options.memoryFile);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), (frames.join(QLatin1Char('\n')) + QLatin1Char('\n')).toLatin1());
    }
    RadioSimulator again(options);
    QCOMPARE(again.frames(), frames);
    Port port(again.devicePath());
    QVERIFY(port.send("B"));
    QTRY_COMPARE(port.data.size(), RadioSimulator::ReadAnswerChars);
    QCOMPARE(port.data.mid(32), frames.join(QString()).toLatin1());
}

void TestRadioSimulator::quietWriteIsAbandoned()
{
    RadioSimulator::Options options = unpaced();
    options.writeTimeoutMs = 200;
    RadioSimulator sim(options);
    Port port(sim.devicePath());
    QSignalSpy abandoned(&sim, &RadioSimulator::writeAbandoned);
    QVERIFY(port.send("A" + numberedFrames().mid(0, 3).join(QString()).toLatin1()));
    QVERIFY(abandoned.wait());
    QCOMPARE(abandoned.first().first().toInt(), 96);
    QCOMPARE(sim.frames(), RadioSimulator::defaultFrames());
    QVERIFY(port.send("6")); // idle again
    QTRY_COMPARE(port.data, QByteArray("C"));
}

void TestRadioSimulator::probeFaults()
{
    RadioSimulator::Options options = unpaced();
    options.noiseBeforeC = 3;
    RadioSimulator noisy(options);
    Port port(noisy.devicePath());
    QVERIFY(port.send("6"));
    QTRY_COMPARE(port.data, QByteArray("xc?C"));

    options = unpaced();
    options.neverReady = true;
    options.silentAfterB = true;
    RadioSimulator mute(options);
    Port mutePort(mute.devicePath());
    QSignalSpy commands(&mute, &RadioSimulator::commandReceived);
    QVERIFY(mutePort.send("6B"));
    QTRY_COMPARE(commands.size(), 2);
    QCOMPARE(mute.pendingOutput(), 0); // nothing queued, so nothing will come
    QVERIFY(mutePort.data.isEmpty());
}

void TestRadioSimulator::readFaults()
{
    RadioSimulator::Options options = unpaced();
    options.stopAfterFrames = 2;
    RadioSimulator truncated(options);
    Port port(truncated.devicePath());
    QSignalSpy served(&truncated, &RadioSimulator::readServed);
    QVERIFY(port.send("B"));
    QVERIFY(served.wait());
    QTRY_COMPARE(port.data.size(), 32 + 2 * 32);
    QCOMPARE(truncated.pendingOutput(), 0);

    options = unpaced();
    options.malformedFrameAt = 3;
    RadioSimulator garbled(options);
    Port garbledPort(garbled.devicePath());
    QVERIFY(garbledPort.send("B"));
    QTRY_COMPARE(garbledPort.data.size(), RadioSimulator::ReadAnswerChars);
    QVERIFY(isFrameText(garbledPort.data.left(32 + 2 * 32)));
    QVERIFY(!isFrameText(garbledPort.data.mid(32 + 2 * 32, 32)));
    QVERIFY(isFrameText(garbledPort.data.mid(32 + 3 * 32)));
}

void TestRadioSimulator::hangUps()
{
    RadioSimulator::Options options = unpaced();
    options.hangUpAfterFrames = 1;
    RadioSimulator reader(options);
    Port port(reader.devicePath());
    QSignalSpy readerHungUp(&reader, &RadioSimulator::hungUp);
    QVERIFY(port.send("B"));
    QVERIFY(readerHungUp.wait());
    QTRY_VERIFY(port.hungUp);
    QCOMPARE(port.data.size(), 32 + 32);

    options.hangUpAfterFrames = 2;
    RadioSimulator writer(options);
    Port writerPort(writer.devicePath());
    QSignalSpy writerHungUp(&writer, &RadioSimulator::hungUp);
    QVERIFY(writerPort.send("A" + numberedFrames().mid(0, 3).join(QString()).toLatin1()));
    QVERIFY(writerHungUp.wait());
    QTRY_VERIFY(writerPort.hungUp);
    QCOMPARE(writer.frames(), RadioSimulator::defaultFrames()); // an unfinished write changes nothing

    RadioSimulator manual(unpaced());
    Port manualPort(manual.devicePath());
    manual.hangUp();
    QVERIFY(manual.isHungUp());
    QTRY_VERIFY(manualPort.hungUp);
}

QTEST_GUILESS_MAIN(TestRadioSimulator)
#include "tst_radiosimulator.moc"
