#include "RadioSimulator.h"
#include "channels/ChannelStore.h"
#include "plan/PlanFrames.h"
#include "plan/SupportReport.h"
#include "support/PtyPair.h"
#include "support/StoreHelpers.h"

#include <QJsonDocument>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>

using namespace vq;
using vq::sim::RadioSimulator;

namespace {

struct Run {
    int status = -1;
    QString out, err;
    QByteArray raw; // standard output as it came
};

// The tool as a user runs it, while this test's event loop serves the
// simulated radios it talks to; its stderr goes to `errorsTo` when given.
Run cli(const QStringList &arguments,
        const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment(),
        const std::function<void(QProcess &)> &whileRunning = {}, const QString &errorsTo = {})
{
    QProcess process;
    process.setProcessEnvironment(environment);
    if (!errorsTo.isEmpty())
        process.setStandardErrorFile(errorsTo);
    process.start(QStringLiteral(VQ_CLI_PATH), arguments);
    if (!process.waitForStarted())
        return {};
    if (whileRunning)
        whileRunning(process);
    QSignalSpy done(&process, &QProcess::finished);
    if (process.state() != QProcess::NotRunning && !done.wait(60000))
        process.kill();
    const QByteArray out = process.readAllStandardOutput();
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1, QString::fromUtf8(out),
            QString::fromUtf8(process.readAllStandardError()), out};
}

} // namespace

class TestCli : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;
    QString at(const QString &name) const { return dir_.filePath(name); }

private slots:
    // Usage mistakes end with 2 before anything is touched; a verb that
    // only reads a store never creates one.
    void refusalsLeaveNoStoreBehind_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("status");
        QVERIFY(QDir().mkpath(at("void")));
        const QString missing = at("void/missing.db");
        QTest::newRow("no verb") << QStringList{} << 2;
        QTest::newRow("unknown verb") << QStringList{"frob"} << 2;
        QTest::newRow("language without its value") << QStringList{"check", "--lang"} << 2;
        QTest::newRow("option of another verb") << QStringList{"check", "--port", "/dev/null"} << 2;
        QTest::newRow("read without port") << QStringList{"read"} << 2;
        QTest::newRow("export without file") << QStringList{"export", "--db", missing} << 2;
        QTest::newRow("db and csv") << QStringList{"write", "--port", "p", "--db", missing, "--csv", "x"}
                                    << 2;
        QTest::newRow("bad layout") << QStringList{"export", "--layout", "xml", "-"} << 2;
        QTest::newRow("empty port") << QStringList{"write", "--port", "", "--db", missing} << 2;
        QTest::newRow("empty csv") << QStringList{"read", "--port", "p", "--csv="} << 2;
        QTest::newRow("empty file") << QStringList{"export", "--db", missing, ""} << 2;
        QTest::newRow("sort without a key") << QStringList{"sort", "--db", missing} << 2;
        QTest::newRow("sort") << QStringList{"sort", "--by", "tx", "--db", missing} << 1;
        QTest::newRow("check") << QStringList{"check", "--db", missing} << 1;
        QTest::newRow("unknown region") << QStringList{"check", "--region", "mars", "--db", missing} << 2;
        QTest::newRow("licence without region") << QStringList{"check", "--licence", "amateur", "--db", missing} << 2;
        QTest::newRow("export") << QStringList{"export", "--db", missing, "-"} << 1;
        QTest::newRow("write") << QStringList{"write", "--port", "/dev/null", "--db", missing} << 1;
        QTest::newRow("import of no file") << QStringList{"import", "--db", missing, "none.csv"} << 1;
    }
    void refusalsLeaveNoStoreBehind()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        const Run run = cli(arguments);
        QCOMPARE(run.status, status);
        QVERIFY(!run.err.trimmed().isEmpty());
        QCOMPARE(QDir(at("void")).entryList(QDir::Files), QStringList{});
    }

    // export → import carries a plan between stores, and export writes the
    // common layout to standard output. Without --db, import makes the store
    // --help names, with its folder, and check passes it there; a data
    // folder that cannot be made ends with 1. check names a row that cannot
    // go out, in English when asked for on the line or remembered from the
    // window: then no help, refusal or finding keeps a Chinese character,
    // and --lang zh wins over the remembered choice.
    void storeVerbsInEitherLanguage()
    {
        const QString source = at("source.db");
        QVERIFY(test::fillPlan(source));
        QCOMPARE(cli({"export", "--db", source, at("own.csv")}).status, 0);
        cli({"import", "--db", at("target.db"), at("own.csv")});
        QCOMPARE(test::framesOf(at("target.db")), test::framesOf(source));
        // A sort puts the channels in order; sorted again, nothing changes.
        QVERIFY(test::execSql(at("target.db"), {QStringLiteral("UPDATE 信道表 SET 接收频率 = '145.00000' "
                                                                "WHERE 信道号 = '50'")}));
        const QStringList unsorted = test::framesOf(at("target.db"));
        QCOMPARE(cli({"sort", "--by", "rx", "--db", at("target.db")}).status, 0);
        const QStringList sortedFrames = test::framesOf(at("target.db"));
        QVERIFY(sortedFrames != unsorted && sortedFrames.size() == kChannelCount);
        QCOMPARE(cli({"sort", "--by", "rx", "--db", at("target.db")}).status, 0);
        QCOMPARE(test::framesOf(at("target.db")), sortedFrames);
        const Run piped = cli({"export", "--db", source, "--layout", "common", "-"});
        QVERIFY2(piped.status == 0 && piped.raw.startsWith("\xEF\xBB\xBFLocation,Name,"),
                 piped.raw.constData());
        QCOMPARE(piped.out.count(QStringLiteral("\r\n")), kChannelCount + 1);

        QProcessEnvironment user = QProcessEnvironment::systemEnvironment();
        user.insert(QStringLiteral("XDG_DATA_HOME"), at("share"));
        const QString home = at("share/vq4471r/vq3390R.db");
        QVERIFY(cli({"--help"}, user).out.contains(home));
        QCOMPARE(cli({"import", at("own.csv")}, user).status, 0);
        QVERIFY(QFileInfo::exists(home) && cli({"check"}, user).status == 0);
        QVERIFY(test::writeFile(at("blocked"), "a file"));
        user.insert(QStringLiteral("XDG_DATA_HOME"), at("blocked"));
        const Run refused = cli({"import", at("own.csv")}, user);
        QCOMPARE(refused.status, 1);
        QVERIFY(refused.err.startsWith("信道数据库无法打开：" + at("blocked/vq4471r/vq3390R.db：无法创建")));

        QProcessEnvironment remembered = QProcessEnvironment::systemEnvironment();
        remembered.insert(QStringLiteral("XDG_CONFIG_HOME"), at("config"));
        QVERIFY(QDir().mkpath(at("config/vq4471r")));
        QVERIFY(test::writeFile(at("config/vq4471r/vq4471r.conf"), "[interface]\nlanguage=en\n"));
        QVERIFY(test::execSql(source, {QStringLiteral("UPDATE 信道表 SET 接收频率='abc' WHERE 信道号='7'")}));
        const Run check = cli({"--lang", "zh", "check", "--db", source}, remembered);
        QCOMPARE(check.status, 1);
        QVERIFY2(check.out.contains(QStringLiteral("第7信道")), qPrintable(check.out));
        const QRegularExpression chinese(QStringLiteral("[\\x{3000}-\\x{9fff}\\x{ff00}-\\x{ffef}]"));
        const QList<QStringList> runs = {{"--help"},
                                         {"frob"},
                                         {"check", "--db", source},
                                         {"check", "--db", at("none.db")},
                                         {"probe", "--port", at("nodevice")}};
        for (const QStringList &arguments : runs) {
            const Run run = cli(QStringList{"--lang", "en"} + arguments);
            const QString said = run.out + run.err;
            QVERIFY2(!said.trimmed().isEmpty() && !said.contains(chinese), qPrintable(said));
        }
        QVERIFY(cli({"check", "--db", source}, remembered).out.contains(QStringLiteral("Channel 7 ")));
    }

    // check names each channel that transmits where the region and licence
    // given do not allow, with the rule, and fails; the same plan passes
    // with the licence. chart draws it as SVG or PNG without a display.
    void checkAgainstTheRulesOfTheAir()
    {
        const QString store = at("air.db");
        QVERIFY(test::fillPlan(store)); // 430.00000 to 434.90000 MHz, the same both ways
        QCOMPARE(cli({"check", "--db", store, "--region", "cn", "--licence", "amateur"}).status, 0);
        const Run none = cli({"check", "--db", store, "--region", "cn"});
        QCOMPARE(none.status, 1);
        QCOMPARE(none.out.count(QStringLiteral("需要业余执照")), kChannelCount);
        QVERIFY(none.out.contains(QStringLiteral("第50信道：")));
        // The same plan drawn, without any display.
        QProcessEnvironment console = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            console.remove(QString::fromLatin1(name));
        for (const auto &[name, start] : {std::pair{"plan.svg", "<?xml"}, {"plan.png", "\x89PNG"}}) {
            QCOMPARE(cli({"chart", "--db", store, "--region", "cn", at(name)}, console).status, 0);
            QFile drawn(at(name));
            QVERIFY(drawn.open(QIODevice::ReadOnly) && drawn.read(5).startsWith(start));
        }
        QCOMPARE(cli({"chart", "--db", store, at("plan.txt")}).status, 1);
    }

    // The support report has each of its parts, quotes only the newest
    // traces' ends however many and large they are, and names no path
    // outside the program's own folders.
    void reportStaysSmallAndPrivate()
    {
        QProcessEnvironment user = QProcessEnvironment::systemEnvironment();
        user.insert(QStringLiteral("XDG_DATA_HOME"), at("reportdata"));
        const QString logs = at("reportdata/vq4471r/log");
        QVERIFY(QDir().mkpath(logs) && QDir().mkpath(at("secret-place")));
        for (int n = 0; n < 8; ++n) {
            const QString trace = logs + QStringLiteral("/trace-2026010%1-000000.txt").arg(n);
            QVERIFY(test::writeFile(trace, QByteArray(1 << 20, 'x') + "END" + QByteArray::number(n)));
            QFile touched(trace); // each newer than the one before
            QVERIFY(touched.open(QIODevice::Append) &&
                    touched.setFileTime(QDateTime::currentDateTime().addSecs(n), QFileDevice::FileModificationTime));
        }
        const QString store = at("secret-place/plan.db");
        QVERIFY(test::fillPlan(store));
        const Run run = cli({"report", "--db", store, at("report.txt")}, user);
        QCOMPARE(run.status, 0);
        QFile file(at("report.txt"));
        QVERIFY(file.open(QIODevice::ReadOnly) && file.size() < kReportBound);
        const QString report = QString::fromUtf8(file.readAll());
        for (const char *part : {"== 程序 ==", "== 系统 ==", "== 设置 ==", "== 串口设备 ==", "== 线路检查", "== 信道数据库 ==",
                                 "完整性检查：ok", "信道行数：50", "END7", "END5"})
            QVERIFY2(report.contains(QString::fromUtf8(part)), part);
        QVERIFY(!report.contains(QStringLiteral("END4")) && !report.contains(QStringLiteral("secret-place")));
    }

    // Every file goes through the one save guard: never over the open store
    // or its journal, never a device; a script gets exactly the name it gave.
    // A write that reached no radio is in no history.
    void savesAndWritesKeepTheStore()
    {
        const QString store = at("guarded.db");
        QVERIFY(test::fillPlan(store));
        QCOMPARE(cli({"export", "--db", store, at("plan")}).status, 0);
        QCOMPARE(cli({"import", "--db", store, at("plan")}).status, 0); // one snapshot in the history
        const QByteArray before = test::digest(store);
        const QString history = QStringLiteral("SELECT count(*) FROM 历史记录");
        const QStringList kept = test::peek(store, history);
        for (const QString &target : {store, store + "-journal", QStringLiteral("/dev/full")}) {
            const Run run = cli({"export", "--db", store, target});
            QVERIFY2(run.status == 1 && run.err.count(QLatin1Char('\n')) == 1, qPrintable(target + run.err));
        }
        QVERIFY(!QFileInfo::exists(QStringLiteral("/dev/full.csv")) && !QFileInfo::exists(at("plan.csv")));
        QCOMPARE(cli({"write", "--port", at("ttyNOPE"), "--db", store}).status, 1);
        QCOMPARE(test::digest(store), before);
        QCOMPARE(test::peek(store, history), kept);
    }

    // Output that cannot be written is a failure, one line on stderr says
    // so, whether standard output is full or closed; a closed one never
    // lends its place to the store.
    void lostOutputIsAFailure()
    {
        const QString store = at("printed.db");
        QVERIFY(test::fillPlan(store));
        const QByteArray before = test::digest(store);
        const QList<QStringList> verbs = {
            {"check", "--db", store}, {"ports", "--json"}, {"export", "--db", store, "-"}};
        for (const QStringList &arguments : verbs)
            for (const char *redirect : {">/dev/full", ">&-"}) {
                QProcess process;
                process.start(QStringLiteral("/bin/sh"),
                              QStringList{"-c", QStringLiteral("exec \"$0\" \"$@\" %1").arg(redirect),
                                          QStringLiteral(VQ_CLI_PATH)} +
                                  arguments);
                QVERIFY(process.waitForFinished(30000));
                const QString err = QString::fromUtf8(process.readAllStandardError());
                QVERIFY2(process.exitCode() == 1 && err.count(QLatin1Char('\n')) == 1,
                         qPrintable(arguments.join(' ') + redirect + err));
            }
        QCOMPARE(test::digest(store), before);
    }

    // One plan into two radios at once, one of which drops the line half
    // way: the other holds the plan, the tool says which failed and ends
    // with 1, and the store's history keeps what went out. A read of the
    // written radio into a CSV file alone is a plan to write again. Ctrl+C
    // stops a write cleanly: a radio already receiving is written to the
    // end, one still silent is left alone, and each says so; on a terminal
    // the progress of both runs on one line. A hang-up does the same.
    void transfers()
    {
        const QString store = at("fleet.db");
        QVERIFY(test::fillPlan(store));
        RadioSimulator failing({.paced = false, .hangUpAfterFrames = 10}), first({.paced = false});
        QCOMPARE(cli({"probe", "--port", first.devicePath()}).out.trimmed(),
                 first.devicePath() + QStringLiteral("：对讲机已应答"));
        QVERIFY(QJsonDocument::fromJson(cli({"ports", "--json"}).raw).isArray());
        const Run run = cli({"write", "--verify", "--db", store, "--port", failing.devicePath(), "--port",
                             first.devicePath()});
        const QStringList lines = run.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QVERIFY2(run.status == 1 && lines.size() == 2 && lines.at(0).startsWith(failing.devicePath()),
                 qPrintable(run.out));
        QCOMPARE(first.frames(), test::framesOf(store));
        // The radio whose line broke stays unfinished in the history, and
        // every later start says it may hold part of the plan.
        QCOMPARE(test::peek(store, QStringLiteral("SELECT 原因 || ' ' || 设备 FROM 历史记录")),
                 (QStringList{"WriteUnfinished " + failing.devicePath(), "Write " + first.devicePath()}));
        QVERIFY2(!run.err.contains(QStringLiteral("历史记录")), qPrintable(run.err));
        const Run next = cli({"check", "--db", store});
        QVERIFY2(next.status == 0 && next.err.contains(QStringLiteral("没有完成")) &&
                     next.err.contains(failing.devicePath()) && !next.err.contains(first.devicePath()),
                 qPrintable(next.err));

        const QString csv = at("read.csv");
        QCOMPARE(cli({"read", "--port", first.devicePath(), "--csv", csv}).status, 0);
        // diff: the radio just written holds the plan; two channels changed
        // in the store differ and are named; a read that fails is a failure
        // and leaves the store as it was.
        QCOMPARE(cli({"diff", "--port", first.devicePath(), "--db", store}).status, 0);
        QVERIFY(test::execSql(store, {QStringLiteral("UPDATE 信道表 SET 扫描='add' WHERE 信道号 IN ('4','8')")}));
        const Run differs = cli({"diff", "--port", first.devicePath(), "--db", store});
        QVERIFY2(differs.status == 1 && differs.out.count(QLatin1Char('\n')) == 2 &&
                     differs.out.contains(QStringLiteral("第4信道 扫描")) && differs.out.contains(QStringLiteral("第8信道")),
                 qPrintable(differs.out));
        RadioSimulator broken({.paced = false, .stopAfterFrames = 20});
        const QByteArray kept = test::digest(store);
        QCOMPARE(cli({"diff", "--port", broken.devicePath(), "--db", store}).status, 1);
        QCOMPARE(test::digest(store), kept);
        QVERIFY(test::execSql(store, {QStringLiteral("UPDATE 信道表 SET 扫描='del' WHERE 信道号 IN ('4','8')")}));
        // Ctrl+C, a kill and a terminal that hangs up alike.
        for (const int signo : {SIGINT, SIGHUP}) {
            RadioSimulator one({.paced = false}), two({.paced = false, .neverReady = true});
            test::PtyPair terminal;
            const Run stopped = cli(
                {"write", "--csv", csv, "--port", one.devicePath(), "--port", two.devicePath()},
                QProcessEnvironment::systemEnvironment(),
                [&one, signo](QProcess &process) {
                    // Once the first radio is receiving, however slow the start.
                    QTRY_VERIFY_WITH_TIMEOUT(one.received().contains('A'), 30000);
                    ::kill(static_cast<pid_t>(process.processId()), signo);
                },
                terminal.devicePath());
            const QStringList said = stopped.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
            QVERIFY2(stopped.status == 1 && said.size() == 2, qPrintable(stopped.out));
            QCOMPARE(one.frames(), test::framesOf(store));
            QCOMPARE(said.at(0), one.devicePath() + QStringLiteral("：写入完成"));
            QVERIFY2(said.at(1).contains(QStringLiteral("未变")), qPrintable(said.at(1)));
            const QByteArray shown = terminal.readAvailable();
            QVERIFY2(shown.trimmed().endsWith(
                         QStringLiteral("\r%1 100%  %2 0%").arg(one.devicePath(), two.devicePath()).toUtf8()),
                     shown.constData());
        }
    }
};

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
