#include "plan/LinkTexts.h"
#include "plan/Notice.h"
#include "radio/SerialLink.h"
#include "support/PtyPair.h"

#include <QtTest>

#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

using namespace vq;

class TestSerialLink : public QObject {
    Q_OBJECT

private slots:
    void lockHoldsAcrossNames()
    {
        test::PtyPair pty;
        QTemporaryDir dir;
        const QString alias = dir.filePath(QStringLiteral("by-id-radio"));
        QVERIFY(QFile::link(pty.devicePath(), alias));

        SerialLink first, second;
        first.setDevicePaths(alias, QString());
        QCOMPARE(first.open(), SerialLink::OpenResult::Opened);
        second.setDevicePaths(pty.devicePath(), alias);
        QCOMPARE(second.open(), SerialLink::OpenResult::InUse);
        second.setCommPort(2);
        QCOMPARE(second.open(), SerialLink::OpenResult::InUse);
        QVERIFY(!test::DeviceHolder(pty.devicePath()).isHolding()); // other programs see it taken too
        first.close();
        QCOMPARE(second.open(), SerialLink::OpenResult::Opened);
        QVERIFY(second.send("6") && pty.readAtLeast(1, 2000) == "6");

        // The inbox hands out what arrived in order, and takes back what was not used.
        pty.write("ABCDE");
        QTRY_COMPARE(second.available(), 5);
        QCOMPARE(second.take(2), QByteArray("AB"));
        second.unread("B");
        QCOMPARE(second.take(9), QByteArray("BCDE"));
        second.discardInput();
        QCOMPARE(second.available(), 0);
    }

    void permissionIsNotCalledInUse()
    {
        if (::geteuid() != 0 || QStandardPaths::findExecutable(QStringLiteral("setpriv")).isEmpty())
            QSKIP("needs root and setpriv to try the device as another user");
        test::PtyPair pty;
        QVERIFY(::chmod(QFile::encodeName(pty.devicePath()).constData(), 0600) == 0);
        const QByteArray answer = test::runAsAnotherUser({QStringLiteral("--child-open"), pty.devicePath()});
        if (answer.isEmpty()) // this build lies where that user cannot run it
            QSKIP("the test program cannot be run as another user from this folder");
        QCOMPARE(answer, QByteArray("no-permission"));
        const QString hint = texts::permissionHint(pty.devicePath());
        QVERIFY(hint.contains(pty.devicePath()));
        QVERIFY(hint.contains(QStringLiteral("tty")) || hint.contains(QStringLiteral("root")));
    }

    void inboxAndTraceAreCappedAtTheNewest()
    {
        test::PtyPair pty;
        SerialLink link;
        link.setDevicePaths(pty.devicePath(), QString());
        QCOMPARE(link.open(), SerialLink::OpenResult::Opened);
        // Nobody takes: the oldest characters go, the newest 64 KiB stay.
        const QByteArray sent = "X" + QByteArray(70 * 1024, 'y') + "Z";
        QDeadlineTimer deadline(10000);
        for (qsizetype at = 0; at < sent.size() && !deadline.hasExpired(); at += 1024) {
            pty.write(sent.mid(at, 1024)); // a chunk the pty takes whole
            while (link.bytesReceived() < std::min(at + 1024, sent.size()) && !deadline.hasExpired())
                QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        }
        QCOMPARE(link.bytesReceived(), sent.size());
        QCOMPARE(link.available(), 64 * 1024);
        const QByteArray kept = link.take(link.available());
        QVERIFY(!kept.contains('X') && kept.endsWith('Z'));
        QByteArray traced;
        for (const LinkTrace::Entry &entry : link.trace().entries())
            traced += entry.bytes;
        QCOMPARE(link.trace().size(), traced.size());
        QCOMPARE(traced, kept);
    }

    void lostLineIsReportedOnce()
    {
        auto pty = std::make_unique<test::PtyPair>();
        SerialLink link;
        link.setDevicePaths(pty->devicePath(), QString());
        QCOMPARE(link.open(), SerialLink::OpenResult::Opened);
        QSignalSpy lost(&link, &SerialLink::lineLost);
        pty->write("C");
        QTRY_COMPARE(link.available(), 1);
        pty.reset(); // the far end goes away
        QVERIFY(lost.wait(2000) && !link.isOpen());
        QTest::qWait(200);
        QCOMPARE(lost.count(), 1);
        QCOMPARE(link.take(1), QByteArray("C")); // what arrived before stays readable
        QVERIFY(!link.send("6"));
    }
};

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc == 3 && QByteArray(argv[1]) == "--child-open") {
        SerialLink link;
        link.setDevicePaths(QString::fromLocal8Bit(argv[2]), QString());
        const auto result = link.open();
        std::printf("%s\n", result == SerialLink::OpenResult::NoPermission ? "no-permission"
                            : result == SerialLink::OpenResult::InUse      ? "in-use"
                                                                           : "other");
        return 0;
    }
    TestSerialLink test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_seriallink.moc"
