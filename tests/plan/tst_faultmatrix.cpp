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
#include <QRandomGenerator>
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
    void killedAtAnyMoment_data()
    {
        QTest::addColumn<QString>("child");
        // Two different plans saved over one channel file as fast as it can.
        QTest::newRow("file saves") << QStringLiteral("--child-save");
        // Whole 50-channel batches, as a finished read stores them.
        QTest::newRow("read batches") << QStringLiteral("--child-store");
        // Snapshots (each pruning the oldest), restores of them and undoing
        // those restores.
        QTest::newRow("history") << QStringLiteral("--child-history");
    }
    void killedAtAnyMoment()
    {
        // Killed at any moment, the file is one whole plan or the other, the
        // store holds one whole plan, never a mix, and every snapshot in the
        // history is whole as well.
        QFETCH(QString, child);
        const QString db = dir_.filePath(child + QStringLiteral(".db")), file = dir_.filePath("race.doc");
        QSet<QByteArray> plans;
        for (int which : {1, 2}) {
            ChannelFileRows rows;
            for (int row = 0; row < 16; ++row) {
                rows[std::size_t(row)][RxFrequency] = std::to_string(140 + which) + ".00000";
                rows[std::size_t(row)][RxTone] = std::string(ctcssTones()[std::size_t(which)]);
            }
            plans.insert(QByteArray::fromStdString(writeChannelFile(rows)));
        }
        const int rounds = qEnvironmentVariableIsSet("VQ_KILLS") ? qEnvironmentVariableIntValue("VQ_KILLS") : 8;
        for (int round = 0; round < rounds; ++round) {
            QProcess process;
            process.start(QCoreApplication::applicationFilePath(), {child, db, file});
            QVERIFY(process.waitForReadyRead(10000)); // it has begun
            QTest::qWait(5 + QRandomGenerator::global()->bounded(60));
            ::kill(pid_t(process.processId()), SIGKILL);
            QVERIFY(process.waitForFinished(5000));
            if (child == QLatin1String("--child-save")) {
                QFile f(file);
                QVERIFY(f.open(QIODevice::ReadOnly));
                QVERIFY2(plans.contains(f.readAll()), "a killed save left a damaged file");
                continue;
            }
            ChannelStore store;
            QVERIFY(store.open(db));
            QCOMPARE(store.rowCount(), 50);
            const FieldValue first = store.field(0, RxTone);
            for (int row = 0; row < 50; ++row)
                QCOMPARE(store.field(row, RxTone), first);
            ChannelHistory history(store);
            QVERIFY(history.isAvailable());
            for (const ChannelHistory::Entry &entry : history.entries()) {
                const std::optional<PlanRows> rows = history.rows(entry.id);
                QVERIFY(rows && rows->size() == 50);
                for (const ChannelRecord &record : *rows)
                    QCOMPARE(record[RxTone], rows->front()[RxTone]);
            }
        }
    }

private:
    QTemporaryDir dir_;
};

// Children for the kill tests: they report once, then loop until killed.
static int childSave(const QString &db, const QString &file)
{
    Programmer programmer;
    if (!programmer.openStore(db).ok)
        return 1;
    for (int n = 0;; ++n) {
        programmer.store().apply(plan(1 + n % 2));
        programmer.files().saveChannelFile([&] { return file; });
        if (n == 0) {
            std::printf("saving\n");
            std::fflush(stdout);
        }
    }
}

static int childStore(const QString &db)
{
    ChannelStore store;
    if (!store.open(db) || !store.apply(plan(1)))
        return 1;
    std::printf("storing\n");
    std::fflush(stdout);
    for (int n = 0;; ++n)
        store.apply(plan(1 + n % 2));
}

static int childHistory(const QString &db)
{
    Programmer programmer;
    if (!programmer.openStore(db).ok || !programmer.store().apply(plan(1)))
        return 1;
    ChannelHistory &history = programmer.history();
    history.setKeep(3); // every snapshot prunes the oldest
    PlanRows plans[2];
    for (int which : {0, 1}) {
        ChannelStore::Change tone = plan(which + 1)[1];
        plans[which] = planRows(programmer.store());
        for (ChannelRecord &record : plans[which])
            record[RxTone] = tone.value;
    }
    std::printf("restoring\n");
    std::fflush(stdout);
    for (int n = 0;; ++n) {
        history.add(ChannelHistory::Reason::Read, QString(), plans[n % 2]);
        programmer.editor().restoreSnapshot(history.entries().front().id);
        if (n % 3 == 0)
            programmer.editor().undo();
    }
}

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 4 && args[1] == QStringLiteral("--child-save"))
        return childSave(args[2], args[3]);
    if (args.size() == 4 && args[1] == QStringLiteral("--child-store"))
        return childStore(args[2]);
    if (args.size() == 4 && args[1] == QStringLiteral("--child-history"))
        return childHistory(args[2]);
    TestFaultMatrix test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_faultmatrix.moc"
