// Finding the radio among the devices: the search, the cable check, who holds a
// device, the advice on rights, and the device list the device window shows.
#include "RadioSimulator.h"
#include "plan/LinkTexts.h"
#include "plan/CableCheck.h"
#include "plan/Notice.h"
#include "plan/PortInventory.h"
#include "radio/DeviceAccess.h"
#include "radio/RadioFinder.h"
#include "support/PlanRig.h"
#include "support/PtyPair.h"
#include "support/StoreHelpers.h"

#include <QtTest>

#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

Q_DECLARE_METATYPE(vq::DeviceRights)

using namespace vq;
using Kind = ProbeOutcome::Kind;
using Verdict = CableCheck::Verdict;

namespace {

// A far end that talks all the time and never says "C", as a wrong device or speed does.
struct NoisyLine {
    NoisyLine()
    {
        QObject::connect(&timer, &QTimer::timeout, [this] { pty.write("AT\r"); });
        timer.start(10);
    }
    test::PtyPair pty;
    QTimer timer;
};

Verdict runCheck(CableCheck &check, const QString &path)
{
    QSignalSpy done(&check, &CableCheck::finished);
    check.start(path);
    // A check that has said its verdict is over: the next may start.
    return done.wait(5000) && !check.isRunning() ? check.verdict() : Verdict::Failed;
}

// The verdict's name, or "offers root" when the advice says to join root.
QByteArray checkOutcome(const QString &path)
{
    CableCheck check;
    check.setProbeLimit(150);
    const Verdict verdict = runCheck(check, path);
    if (check.lines().join(QLatin1Char('\n')).contains(QStringLiteral("-aG root")))
        return "offers root";
    return QMetaEnum::fromType<Verdict>().valueToKey(static_cast<int>(verdict));
}

} // namespace

class TestPortProbe : public QObject {
    Q_OBJECT

private slots:
    void finderFindsTheRadioAndLeavesHeldDevicesAlone()
    {
        test::PtyPair silent, held, lockNamed;
        NoisyLine noisy;
        sim::RadioSimulator radio;
        QTemporaryDir dir;
        QVERIFY(radio.isValid() && silent.isValid() && held.isValid() && lockNamed.isValid());
        silent.write("stale"); // left on the line before the probe: not its answer
        const QString alias = dir.filePath(QStringLiteral("by-id/radio"));
        QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("by-id")) && QFile::link(radio.devicePath(), alias));
        // A lock file naming a live process (this one) is another program's claim.
        const QString lockName = QStringLiteral("LCK..") + QFileInfo(lockNamed.devicePath()).fileName();
        QVERIFY(test::writeFile(dir.filePath(lockName),
                                QByteArray::number(::getpid()).rightJustified(10) + '\n'));
        test::DeviceHolder holder(held.devicePath());
        QVERIFY(holder.isHolding());

        RadioFinder finder;
        finder.setLockFolders({dir.path()});
        QSignalSpy done(&finder, &RadioFinder::finished);
        finder.start({silent.devicePath(), radio.devicePath(), held.devicePath(), lockNamed.devicePath(),
                      noisy.pty.devicePath(), alias, dir.filePath(QStringLiteral("none"))});
        QVERIFY(done.wait(5000));
        QList<Kind> kinds;
        for (const ProbeOutcome &outcome : finder.outcomes())
            kinds << outcome.kind;
        // The alias is the radio's device, probed once: not "in use" by the probe itself.
        QCOMPARE(kinds, (QList{Kind::Silent, Kind::Answered, Kind::InUse, Kind::InUse, Kind::Noise,
                               Kind::Answered, Kind::Missing}));
        QCOMPARE(finder.outcomes().at(5).path, alias);

        QCOMPARE(silent.readAvailable(), QByteArray("6"));
        QCOMPARE(radio.received(), QByteArray("6"));
        QCOMPARE(held.readAvailable(), QByteArray());
        QCOMPARE(lockNamed.readAvailable(), QByteArray());
        // Endless noise is cut at the limit, and only its start is kept.
        const QByteArray noise = finder.outcomes().at(4).received;
        QVERIFY2(noise.size() == ProbeOutcome::kKeptBytes && noise.startsWith("AT\r"), noise.constData());
        // Every device is let go again.
        QCOMPARE(checkDevice(radio.devicePath()).state, DeviceState::Free);
        QCOMPARE(checkDevice(silent.devicePath()).state, DeviceState::Free);
        // A search over nothing still ends.
        finder.start({});
        QVERIFY(done.wait(1000));
        QVERIFY(finder.outcomes().isEmpty());
    }

    void cableCheckVerdicts_data()
    {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<Verdict>("verdict");
        const auto row = [](const char *name, const char *setup, Verdict verdict) {
            QTest::newRow(name) << QString::fromLatin1(setup) << verdict;
        };
        row("silent", "silent", Verdict::Silent);
        row("noise", "noise", Verdict::Noise);
        row("noise, then C", "radio", Verdict::Answered);
        row("held by another program", "held", Verdict::InUse);
        row("missing", "missing", Verdict::Missing);
        row("a device that is no serial port", "null", Verdict::NotSerial);
        row("silent, through a link", "link", Verdict::Silent);
    }

    void cableCheckVerdicts()
    {
        QFETCH(QString, setup);
        QFETCH(Verdict, verdict);
        test::PtyPair pty;
        NoisyLine noisy;
        sim::RadioSimulator radio({.noiseBeforeC = 5});
        std::unique_ptr<test::DeviceHolder> holder;
        QString path = pty.devicePath();
        if (setup == QLatin1String("noise"))
            path = noisy.pty.devicePath();
        if (setup == QLatin1String("radio"))
            path = radio.devicePath();
        if (setup == QLatin1String("held"))
            holder = std::make_unique<test::DeviceHolder>(path);
        if (setup == QLatin1String("missing"))
            path = QStringLiteral("/dev/vq-no-such-device");
        if (setup == QLatin1String("null")) // held by every process, and none of it matters
            path = QStringLiteral("/dev/null");
        QTemporaryDir links;
        if (setup == QLatin1String("link")) {
            path = links.filePath(QStringLiteral("radio-cable"));
            QVERIFY(QFile::link(pty.devicePath(), path));
        }

        CableCheck check;
        check.setProbeLimit(150);
        QCOMPARE(runCheck(check, path), verdict);
        if (verdict == Verdict::Noise) // what came back is shown, not just counted
            QVERIFY2(check.lines().last().contains(QStringLiteral("41 54 0D")),
                     qPrintable(check.lines().last()));
        if (verdict == Verdict::InUse || verdict == Verdict::Missing)
            QCOMPARE(pty.readAvailable(), QByteArray());
        if (verdict == Verdict::NotSerial)
            QCOMPARE(check.lines().first(), texts::deviceNotSerial(path));
        if (verdict == Verdict::Silent) // the device behind a link is named with it
            QCOMPARE(check.lines().first(), setup == QLatin1String("link")
                                                ? texts::deviceFoundAs(path, pty.devicePath())
                                                : texts::deviceFound(path));
    }

    void cableCheckNoPermission()
    {
        test::PtyPair pty;
        QVERIFY(::chmod(QFile::encodeName(pty.devicePath()).constData(), 0) == 0);
        QByteArray answer;
        if (::geteuid() != 0) {
            answer = checkOutcome(pty.devicePath());
        } else {
            // Root may open any device: the check runs as another user.
            if (QStandardPaths::findExecutable(QStringLiteral("setpriv")).isEmpty())
                QSKIP("needs setpriv to try the device as another user");
            answer = test::runAsAnotherUser({QStringLiteral("--child-check"), pty.devicePath()});
            if (answer.isEmpty()) // this build lies where that user cannot run it
                QSKIP("the test program cannot be run as another user from this folder");
        }
        QCOMPARE(answer, QByteArray("NoPermission"));
    }

    void otherProgramsAreFoundByProcessAndLockFile()
    {
        test::PtyPair pty;
        QTemporaryDir dir;
        const QString proc = dir.filePath(QStringLiteral("proc")),
                      lock = dir.filePath(QStringLiteral("lock"));
        const auto process = [&](int pid, const QByteArray &name, const QString &openDevice) {
            const QString folder = QStringLiteral("%1/%2").arg(proc).arg(pid);
            QVERIFY(QDir().mkpath(folder + QStringLiteral("/fd")) &&
                    test::writeFile(folder + "/comm", name + '\n'));
            QVERIFY(QFile::link(openDevice, folder + QStringLiteral("/fd/3")));
        };
        process(100, "minicom", pty.devicePath());
        QVERIFY(QFile::link(QStringLiteral("/dev/null"), proc + QStringLiteral("/100/fd/0"))); // looked at first
        process(200, "brltty", QStringLiteral("/dev/null"));
        process(300, "ModemManager", QStringLiteral("/dev/ttyUSB1"));
        process(400, "vq4471r", QStringLiteral("/dev/ttyUSB0")); // "ourselves"
        process(0, "swapper", pty.devicePath());                  // no process has the number 0
        QVERIFY(QDir().mkpath(lock));
        QVERIFY(test::writeFile(lock + "/LCK..ttyUSB0", "       100\n"));
        QVERIFY(test::writeFile(lock + "/LCK..ttyUSB1", "       999 gone\n")); // stale: no such process
        const qint32 binaryPid = 300;
        QVERIFY(
            test::writeFile(lock + "/LCK..pts_7", QByteArray(reinterpret_cast<const char *>(&binaryPid), 4)));

        QCOMPARE(lockFileHolder(QStringLiteral("/dev/ttyUSB0"), {lock}, proc), 100);
        QCOMPARE(lockFileHolder(QStringLiteral("/dev/ttyUSB1"), {lock}, proc), 0);
        QCOMPARE(lockFileHolder(QStringLiteral("/dev/pts/7"), {lock}, proc), 300);
        QCOMPARE(processesUsing(QStringLiteral("/dev/ttyUSB0"), 400, proc).size(), 0);
        const QList<ProcessInfo> users = processesUsing(pty.devicePath(), 400, proc);
        QVERIFY(users.size() == 1 && users[0].pid == 100 && users[0].name == QLatin1String("minicom"));
        QList<qint64> grabbers;
        for (const ProcessInfo &p :
             processesNamed({QStringLiteral("brltty"), QStringLiteral("ModemManager")}, proc))
            grabbers << p.pid;
        std::sort(grabbers.begin(), grabbers.end());
        QCOMPARE(grabbers, (QList<qint64>{200, 300}));

        // The check names the holder and sends it nothing.
        CableCheck check;
        check.setSystemFolders(proc, {lock});
        QCOMPARE(runCheck(check, pty.devicePath()), Verdict::InUse);
        QVERIFY(check.lines().join(QLatin1Char('\n')).contains(QStringLiteral("minicom（PID 100）")));
        QCOMPARE(pty.readAvailable(), QByteArray());
    }

    // The device list: the ports' own devices are listed even when the
    // system does not list them, each with its state; only free ones are searched.
    void deviceList()
    {
        test::PtyPair current, held;
        test::DeviceHolder holder(held.devicePath());
        QVERIFY(holder.isHolding());
        QTemporaryDir dir;
        const SystemFolders folders{.byIdFolder = dir.filePath(QStringLiteral("by-id"))};
        QVERIFY(QDir().mkpath(folders.byIdFolder));
        const QString stable = folders.byIdFolder + QStringLiteral("/usb-Radio_Cable-if00-port0");
        QVERIFY(QFile::link(current.devicePath(), stable));

        VQ_RIG(rig, dir.filePath(QStringLiteral("p.db")), QString());
        rig.programmer.link().setDevicePaths(stable, held.devicePath());
        QVERIFY(rig.take(rig.programmer.ports().openPort()));
        auto entry = [&](const QString &path) {
            for (const PortEntry &e : listSerialDevices(rig.programmer.ports().portSetup(), folders))
                if (e.path == path)
                    return e;
            return PortEntry{};
        };
        QCOMPARE(entry(current.devicePath()).state, PortEntry::State::Current);
        QCOMPARE(entry(current.devicePath()).rememberedName(), stable);
        QCOMPARE(entry(held.devicePath()).state, PortEntry::State::InUse);
        QVERIFY2(entry(held.devicePath()).holder.contains(QStringLiteral("PID")),
                 qPrintable(entry(held.devicePath()).holder));
        QCOMPARE(entry(held.devicePath()).ports, QList<int>{2});

        // What the last look at the processes found stays, on that device
        // only, but never over a newer state.
        const QList<PortEntry> before{entry(held.devicePath())};
        for (PortEntry::State now : {PortEntry::State::Free, PortEntry::State::Current}) {
            PortEntry other;
            other.path = QStringLiteral("/dev/ttyOther");
            QList<PortEntry> fresh{before.front(), other};
            fresh[0].state = now;
            keepKnownHolders(fresh, before);
            QCOMPARE(fresh[0].state, now == PortEntry::State::Free ? PortEntry::State::InUse : now);
            QCOMPARE(fresh[1].state, PortEntry::State::Free);
        }

        rig.programmer.link().close();
        const QStringList searched = probeCandidates(listSerialDevices(rig.programmer.ports().portSetup(), folders));
        QVERIFY(searched.contains(current.devicePath()));
        QVERIFY(!searched.contains(held.devicePath()));
        // A remembered adapter that is unplugged shows under its name.
        const QString gone = folders.byIdFolder + QStringLiteral("/usb-Gone-if00-port0");
        rig.programmer.link().setDevicePaths(gone, held.devicePath());
        QCOMPARE(entry(gone).state, PortEntry::State::Missing);
        QCOMPARE(usbIdText(0x67b, 0x43), QStringLiteral("067b:0043"));
    }
    void permissionAdviceNeverOffersRoot_data()
    {
        QTest::addColumn<DeviceRights>("rights");
        QTest::addColumn<QString>("expected");
        const DeviceRights plain{"/dev/ttyUSB0", "dialout", false, true, "alice", false, false};
        DeviceRights listed = plain, root = plain, readOnlyGroup = plain, inSession = plain;
        listed.userListed = true;
        root.group = QStringLiteral("root");
        root.groupIsRoot = true;
        readOnlyGroup.groupMayUse = false;
        inSession.sessionHas = true;
        const auto row = [](const char *name, const DeviceRights &rights, const char *expected) {
            QTest::newRow(name) << rights << QString::fromUtf8(expected);
        };
        row("join", plain, "sudo usermod -aG dialout alice，然后注销并重新登录");
        row("joined, not yet in this login", listed, "重新登录");
        row("root's group", root, "udev");
        row("group may not read", readOnlyGroup, "udev");
        row("group already in this login", inSession, "udev");
    }

    void permissionAdviceNeverOffersRoot()
    {
        QFETCH(DeviceRights, rights);
        QFETCH(QString, expected);
        const QString advice = texts::permissionAdvice(rights);
        QVERIFY2(advice.contains(expected), qPrintable(advice));
        QCOMPARE(advice.contains(QStringLiteral("usermod")), expected.contains(QStringLiteral("usermod")));
        // /dev/null belongs to root's group on every system.
        QVERIFY(!texts::permissionHint(QStringLiteral("/dev/null")).contains(QStringLiteral("usermod")));
    }
};

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc == 3 && QByteArray(argv[1]) == "--child-check") {
        std::printf("%s\n", checkOutcome(QString::fromLocal8Bit(argv[2])).constData());
        return 0;
    }
    TestPortProbe test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_portprobe.moc"
