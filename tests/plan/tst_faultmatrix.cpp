// Faults a user's machine can throw at the program, each checked for the
// same three things: the program keeps running, it says so once, and no
// row or file changes that should not.
#include "RadioSimulator.h"
#include "channels/ValueDomains.h"
#include "files/ChannelFile.h"
#include "support/PlanRig.h"
#include "support/StoreHelpers.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>

using namespace vq;
using vq::sim::RadioSimulator;

namespace {

// A whole plan: every row's receive frequency and tone say which one it is.
std::vector<ChannelStore::Change> plan(int which)
{
    std::vector<ChannelStore::Change> changes;
    for (int row = 0; row < 50; ++row) {
        changes.push_back({row, RxFrequency, std::to_string(140 + which) + ".00000"});
        changes.push_back({row, RxTone, std::string(ctcssTones()[static_cast<std::size_t>(which)])});
    }
    return changes;
}

} // namespace

class TestFaultMatrix : public QObject {
    Q_OBJECT
private slots:
    void readOnlyStore()
    {
        const QString db = dir_.filePath(QStringLiteral("ro.db"));
        {
            ChannelStore s;
            QVERIFY(s.open(db));
            QVERIFY(s.apply(plan(5)));
        }
        // Unchangeable even for root, where the file system allows it.
        if (QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("+i"), db}) != 0)
            QSKIP("this file system cannot make a file read-only for this user");
        const auto unlock =
            qScopeGuard([&] { QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("-i"), db}); });
        RadioSimulator sim({.paced = false});
        VQ_RIG(rig, db, sim.devicePath()); // a read-only plan still opens
        rig.quicken();
        const auto before = test::snapshot(rig.store());

        // Channel 1 already holds "1", so the write goes out untouched.
        QSignalSpy written(&sim, &RadioSimulator::writeStored);
        QVERIFY(rig.take(rig.programmer.transfers().startUpWrite()));
        QVERIFY(written.wait(10000));
        QVERIFY(rig.notices.isEmpty());

        QVERIFY(!rig.take(rig.programmer.editor().applyTypedValue(2, RxFrequency, QStringLiteral("438.5"))));
        QCOMPARE(rig.texts(), QStringList{QStringLiteral("信道数据库写入失败")});
        QCOMPARE(rig.programmer.editor().undoCount(), 0);
        QTRY_VERIFY(!rig.programmer.controller().transferRunning());
        QVERIFY(rig.take(rig.programmer.transfers().read()));
        QTRY_COMPARE(rig.notices.size(), 2);
        // The radio answered well: the database is what failed.
        QCOMPARE(rig.notices[1].text, QStringLiteral("信道数据库写入失败"));
        QVERIFY(!rig.notices[1].informative.isEmpty());
        QVERIFY(test::snapshot(rig.store()) == before);
        QCOMPARE(rig.running.last(), false);
    }
    void failedSavesKeepTheOldFile()
    {
        const QString file = dir_.filePath(QStringLiteral("keep.doc"));
        QFile old(file);
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write("the old plan") == 12);
        old.close();
        VQ_RIG(rig, dir_.filePath(QStringLiteral("keep.db")), QString());
        QVERIFY(rig.store().apply({{0, RxFrequency, "145.00000"}}));
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit unlimited{};
        getrlimit(RLIMIT_FSIZE, &unlimited);
        // A folder that does not exist; a disk that fills half-way (a file size
        // limit stands in); cells that would make a file too large to open again.
        for (int fault = 0; fault < 3; ++fault) {
            rlimit small = unlimited;
            small.rlim_cur = 64;
            if (fault == 1)
                QVERIFY(setrlimit(RLIMIT_FSIZE, &small) == 0);
            if (fault == 2)
                QVERIFY(rig.store().apply({{3, RxTone, std::string(kMaxChannelFileBytes, 'x')}}));
            const QString target = fault == 0 ? dir_.filePath(QStringLiteral("no/such/plan.doc")) : file;
            const bool saved = rig.take(rig.programmer.files().saveChannelFile([&] { return target; }));
            setrlimit(RLIMIT_FSIZE, &unlimited);
            QVERIFY(!saved);
            QCOMPARE(rig.texts(), QStringList(fault + 1, QStringLiteral("文件保存失败")));
            QVERIFY(old.open(QIODevice::ReadOnly));
            QCOMPARE(old.readAll(), QByteArray("the old plan"));
            old.close();
            QCOMPARE(QDir(dir_.path()).entryList({QStringLiteral("keep.doc*")}, QDir::Files | QDir::Hidden),
                     QStringList{QStringLiteral("keep.doc")});
        }
    }

private:
    QTemporaryDir dir_;
};

QTEST_GUILESS_MAIN(TestFaultMatrix)
#include "tst_faultmatrix.moc"
