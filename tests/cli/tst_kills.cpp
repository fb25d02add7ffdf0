// The window and the command line killed with SIGKILL at random instants of
// what they do to the store and the radio; the next start must find the
// store whole and holding the state before or after, never a mix, and a
// write it cannot finish must say so. VQ_KILLS sets the kills of each kind.
#include "RadioSimulator.h"
#include "channels/ChannelStore.h"
#include "files/ChannelFile.h"
#include "plan/Programmer.h"
#include "support/StoreHelpers.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <memory>
#include <unistd.h>

using namespace vq;
using vq::sim::RadioSimulator;

namespace {

// Every snapshot, newest first, as another program reads them.
const QString kHistory = QStringLiteral("SELECT 编号 || 原因 || 信道 FROM 历史记录 ORDER BY 编号 DESC");


QProcess::ProcessChannelMode quiet = QProcess::ForwardedErrorChannel;

} // namespace

class TestKills : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY(test::fillPlan(at("plan.db")));
        QVERIFY(test::fillPlan(at("radio.db")));
        QVERIFY(test::execSql(at("radio.db"), {QStringLiteral("UPDATE 信道表 SET 扫描 = 'del', 拍频 = 'on'")}));
        radioFrames_ = test::framesOf(at("radio.db"));
        for (const char *name : {"plan.db", "radio.db"}) {
            ChannelStore store;
            QVERIFY(store.open(at(name)));
            const PlanRows rows = planRows(store);
            savedPlans_.insert(QByteArray::fromStdString(writeChannelFile(std::span(rows).first<kChannelFileRows>())));
        }
        QVERIFY(QProcess::execute(QStringLiteral(VQ_CLI_PATH), {"export", "--db", at("radio.db"), at("radio.csv")}) == 0);
        // A history at its limit: every new snapshot takes the oldest with it.
        Programmer full;
        QVERIFY(full.openStore(at("full.db")).ok && test::fillPlan(at("full.db")));
        PlanRows rows = planRows(full.store());
        for (int n = 0; n < ChannelHistory::kDefaultKeep; ++n) {
            rows[49][Bcl] = std::to_string(n); // never the same twice, or it is not kept
            QCOMPARE(full.history().add(ChannelHistory::Reason::Read, {}, rows), ChannelHistory::Added::Stored);
        }
    }
    void killedAtRandomInstants_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("store");
        QTest::addColumn<int>("radios");
        QTest::newRow("write to two radios") << "write" << "plan.db" << 2;
        QTest::newRow("read") << "read" << "plan.db" << 1;
        QTest::newRow("import") << "import" << "plan.db" << 0;
        QTest::newRow("import pruning the history") << "import" << "full.db" << 0;
        QTest::newRow("window's start-up write") << "window" << "plan.db" << 1;
        // The history window's restores, each pruning the oldest snapshot,
        // with the table saved as a channel file after each.
        QTest::newRow("restores and saves") << "restore" << "plan.db" << 0;
    }
    void killedAtRandomInstants()
    {
        QFETCH(QString, kind);
        QFETCH(QString, store);
        QFETCH(int, radios);
        const int kills = test::setting("VQ_KILLS", 5);
        int finished = 0, unfinished = 0;
        qint64 span = 0; // how long the whole operation takes here, from the first round
        for (int round = -1; round < kills; ++round) {
            const QString db = at(QStringLiteral("kill-%1.db").arg(round));
            QFile::remove(db);
            QVERIFY(QFile::copy(at(store), db));
            std::vector<std::unique_ptr<RadioSimulator>> sims;
            QStringList args;
            for (int n = 0; n < radios; ++n) {
                sims.push_back(std::make_unique<RadioSimulator>());
                sims.back()->setFrames(radioFrames_);
                args << (kind == "window" ? "--com1" : "--port") << sims.back()->devicePath();
            }
            const QStringList before = test::peek(db, kHistory), plan = test::framesOf(db);
            QProcess process;
            process.setProcessChannelMode(quiet);
            const QString file = at("saved.doc");
            if (kind == "window")
                process.start(QStringLiteral(VQ_APP_PATH), QStringList{"--db", db} + args);
            else if (kind == "restore")
                process.start(QCoreApplication::applicationFilePath(), {"--child-restore", db, at("radio.db"), file});
            else
                process.start(QStringLiteral(VQ_CLI_PATH),
                              QStringList{kind, "--db", db} + args + (kind == "import" ? QStringList{at("radio.csv")} : QStringList{}));
            QVERIFY(process.waitForStarted());
            QElapsedTimer clock;
            clock.start();
            if (round < 0 && kind == "restore") {
                span = 300; // it never ends: restores go on until killed
            } else if (round < 0) { // the window's write is done when the radio has the plan
                QVERIFY(QTest::qWaitFor([&] {
                    return process.state() == QProcess::NotRunning ||
                           (kind == "window" && sims.front()->frames() == test::framesOf(at(store)));
                }, 60000));
                span = clock.elapsed() * 5 / 4 + 1;
            } else {
                QTest::qWait(int(QRandomGenerator::global()->bounded(span)));
            }
            // Never pid 0: that would be this whole process group.
            if (const qint64 pid = process.processId(); pid > 0)
                ::kill(pid_t(pid), SIGKILL);
            QVERIFY(process.state() == QProcess::NotRunning || process.waitForFinished(5000));

            // The next start.
            QCOMPARE(test::peek(db, QStringLiteral("PRAGMA integrity_check")), QStringList{"ok"});
            const QStringList after = test::peek(db, kHistory), table = test::framesOf(db);
            // As it was, or one snapshot more (at its limit, one old fewer).
            const bool added = after.value(0) != before.value(0) &&
                               (after.mid(1) == before || (before.size() == ChannelHistory::kDefaultKeep &&
                                                           after.mid(1) == before.first(before.size() - 1)));
            QVERIFY2(table == plan || table == radioFrames_, "the table holds a mix");
            if (kind == "restore") { // every snapshot is one whole plan, and so is the file
                Programmer next;
                QVERIFY(next.openStore(db).ok);
                for (const ChannelHistory::Entry &entry : next.history().entries()) {
                    const QStringList kept = test::framesOf(*next.history().rows(entry.id));
                    QVERIFY2(kept == plan || kept == radioFrames_, "a snapshot holds a mix");
                }
                QFile saved(file);
                QVERIFY2(!saved.open(QIODevice::ReadOnly) || savedPlans_.contains(saved.readAll()), "a save left a mix");
                continue;
            }
            QVERIFY2(after == before || added, "the history holds a mix");
            Programmer next;
            QVERIFY(next.openStore(db).ok);
            const std::optional<ChannelHistory::Entry> fresh =
                added ? std::optional(next.history().entries().front()) : std::nullopt;
            const auto freshRows = [&] { return test::framesOf(*next.history().rows(fresh->id)); };
            using R = ChannelHistory::Reason;
            if (kind == "write" || kind == "window") {
                QVERIFY2(table == plan, "a write changed the table");
                if (!fresh)
                    continue;
                QVERIFY(freshRows() == plan);
                if (fresh->reason == R::WriteUnfinished) {
                    ++unfinished;
                    const std::optional<Notice> told = next.transfers().writeCutShort();
                    QVERIFY2(told && told->text.contains(sims.front()->devicePath()), "a cut-short write is not told");
                    continue;
                }
                ++finished;
                QVERIFY(fresh->reason == R::Write || fresh->reason == R::StartUpWrite);
                // Finished means every radio took every frame.
                for (const auto &sim : sims)
                    QVERIFY(QTest::qWaitFor([&] { return sim->frames() == plan; }, 2000));
            } else {
                // A read's snapshot is the radio's plan, an import's the table it replaced.
                QCOMPARE(bool(fresh), table != plan);
                QVERIFY(!fresh || (fresh->reason == (kind == "read" ? R::Read : R::Import) &&
                                   freshRows() == (kind == "read" ? table : plan)));
            }
        }
        qInfo("kills %d within %lld ms: finished writes %d, unfinished %d, integrity failures 0, mixes 0", kills + 1, span,
              finished, unfinished);
    }
    // The store on a file system with no room left: nothing it cannot
    // commit changes it, and the user is told.
    void fullFileSystem()
    {
        const QString mount = at("small");
        QDir().mkpath(mount);
        if (geteuid() != 0 || QProcess::execute("mount", {"-t", "tmpfs", "-o", "size=512k", "tmpfs", mount}) != 0)
            QSKIP("a small file system cannot be mounted here (needs root)");
        const auto unmount = qScopeGuard([&] { QProcess::execute("umount", {mount}); });
        const QString db = mount + "/plan.db";
        QVERIFY(test::fillPlan(db));
        {
            QFile filler(mount + "/filler");
            QVERIFY(filler.open(QIODevice::WriteOnly));
            const QByteArray block(4096, 'x');
            while (filler.write(block) == block.size() && filler.flush()) {
            }
        }
        const QByteArray kept = test::digest(db);
        QProcess import;
        import.start(QStringLiteral(VQ_CLI_PATH), {"import", "--db", db, at("radio.csv")});
        QVERIFY(import.waitForFinished(20000));
        const QString said = QString::fromUtf8(import.readAllStandardError());
        QVERIFY2(import.exitCode() == 1 && said.contains(QStringLiteral("信道数据库写入失败")), qPrintable(said));
        QCOMPARE(test::digest(db), kept);

        // The radio still gets its plan; only the history cannot keep it.
        RadioSimulator sim({.paced = false});
        QProcess write;
        write.start(QStringLiteral(VQ_CLI_PATH), {"write", "--db", db, "--port", sim.devicePath()});
        QVERIFY(QTest::qWaitFor([&] { return write.state() == QProcess::NotRunning; }, 20000));
        const QString told = QString::fromUtf8(write.readAllStandardError());
        QVERIFY2(write.exitCode() == 0 && told.contains(QStringLiteral("历史记录不可用")), qPrintable(told));
        QCOMPARE(sim.frames(), test::framesOf(db));
        QCOMPARE(test::digest(db), kept);
        QFile::remove(mount + "/filler");
        QCOMPARE(test::peek(db, QStringLiteral("PRAGMA integrity_check")), QStringList{"ok"});
    }

private:
    QString at(const QString &name) const { return dir_.filePath(name); }
    QTemporaryDir dir_;
    QStringList radioFrames_;
    QSet<QByteArray> savedPlans_;
};

// Restores of the two plans until killed, as the history window makes
// them, each pruning the oldest snapshot and followed by a save of the
// channel file; every third one undone.
static int childRestore(const QString &db, const QString &other, const QString &file)
{
    Programmer programmer, radio;
    if (!programmer.openStore(db).ok || !radio.openStore(other).ok)
        return 1;
    const PlanRows plans[2] = {planRows(programmer.store()), planRows(radio.store())};
    programmer.history().setKeep(3);
    for (int n = 0;; ++n) {
        programmer.history().add(ChannelHistory::Reason::Read, {}, plans[n % 2]);
        programmer.editor().restoreSnapshot(programmer.history().entries().front().id);
        programmer.files().saveChannelFile([&] { return file; });
        if (n % 3 == 0)
            programmer.editor().undo();
    }
}

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (const QStringList args = app.arguments(); args.size() == 5 && args[1] == QStringLiteral("--child-restore"))
        return childRestore(args[2], args[3], args[4]);
    TestKills test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_kills.moc"
