#include "RadioSimulator.h"
#include "channels/ChannelStore.h"
#include "plan/PlanFrames.h"
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
using vq::sim::RadioSimulatorOptions;

namespace {

struct Run {
    int status = -1;
    QString out;
    QString err;
    QByteArray raw; // standard output as it came
};

// The tool as a user runs it, while this test's event loop serves the
// simulated radios it talks to.
Run cli(const QStringList &arguments, const std::function<void(QProcess &)> &whileRunning = {},
        const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment())
{
    QProcess process;
    process.setProcessEnvironment(environment);
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

RadioSimulatorOptions unpaced()
{
    RadioSimulatorOptions options;
    options.paced = false;
    return options;
}

// A plan of distinct channels over the whole table, so a lost or shifted
// row shows.
void fillPlan(const QString &path)
{
    ChannelStore store;
    QVERIFY(store.open(path));
    std::vector<ChannelStore::Change> changes;
    for (int row = 0; row < kChannelCount; ++row) {
        const std::string rx = std::to_string(430 + row / 10) + ".0" + std::to_string(row % 10) + "000";
        changes.push_back({row, RxFrequency, rx});
        changes.push_back({row, TxFrequency, rx});
        changes.push_back({row, TxTone, row % 3 == 0 ? "88.5" : ""});
        changes.push_back({row, Scan, row % 2 ? "del" : "add"});
        changes.push_back({row, Bcl, row % 4 == 1 ? "2" : "off"});
        changes.push_back({row, Beat, "off"});
    }
    QVERIFY(store.apply(changes));
}

QStringList framesOf(const QString &path)
{
    ChannelStore store;
    if (!store.open(path))
        return {};
    QStringList frames;
    for (const QByteArray &frame : encodePlan(planRows(store)).frames)
        frames << QString::fromLatin1(frame);
    return frames;
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
        const QString missing = QStringLiteral("missing.db");
        QTest::newRow("no verb") << QStringList{} << 2;
        QTest::newRow("unknown verb") << QStringList{"frob"} << 2;
        QTest::newRow("option of another verb") << QStringList{"check", "--port", "/dev/null"} << 2;
        QTest::newRow("read without port") << QStringList{"read"} << 2;
        QTest::newRow("export without file") << QStringList{"export", "--db", missing} << 2;
        QTest::newRow("db and csv") << QStringList{"write", "--port", "p", "--db", missing, "--csv", "x"}
                                    << 2;
        QTest::newRow("bad layout") << QStringList{"export", "--layout", "xml", "-"} << 2;
        QTest::newRow("check") << QStringList{"check", "--db", missing} << 1;
        QTest::newRow("export") << QStringList{"export", "--db", missing, "-"} << 1;
        QTest::newRow("write") << QStringList{"write", "--port", "/dev/null", "--db", missing} << 1;
        QTest::newRow("import of no file") << QStringList{"import", "--db", missing, "none.csv"} << 1;
    }
    void refusalsLeaveNoStoreBehind()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        QTemporaryDir here;
        const QString old = QDir::currentPath();
        QDir::setCurrent(here.path());
        const Run run = cli(arguments);
        QDir::setCurrent(old);
        QCOMPARE(run.status, status);
        QVERIFY(!run.err.trimmed().isEmpty());
        QCOMPARE(QDir(here.path()).entryList(QDir::Files), QStringList{});
    }

    // export → import carries a plan between stores in both layouts, to a
    // file and through standard output; check passes it and names a row
    // that cannot go out.
    void plansTravelBetweenStores()
    {
        const QString source = at("source.db");
        fillPlan(source);
        for (const QString layout : {"own", "common"}) {
            const QString target = at(layout + ".db");
            const QString file = at(layout + ".csv");
            QCOMPARE(cli({"export", "--db", source, "--layout", layout, file}).status, 0);
            const Run imported = cli({"import", "--db", target, file});
            QVERIFY2(imported.status == 0, qPrintable(imported.err));
            QCOMPARE(framesOf(target), framesOf(source));
        }
        const Run piped = cli({"export", "--db", source, "-"});
        QCOMPARE(piped.status, 0);
        QVERIFY(piped.raw.startsWith("\xEF\xBB\xBF信道号,接收频率,"));
        QCOMPARE(piped.out.count(QStringLiteral("\r\n")), kChannelCount + 1);

        QCOMPARE(cli({"check", "--db", source}).status, 0);
        QVERIFY(test::execSql(source, {QStringLiteral("UPDATE 信道表 SET 接收频率='abc' WHERE 信道号='7'")}));
        const Run check = cli({"check", "--db", source});
        QCOMPARE(check.status, 1);
        QVERIFY2(check.out.contains(QStringLiteral("第7信道")), qPrintable(check.out));
    }

    // Without --db: the store named by --help, made with its folder by import,
    // found by check; a folder that cannot be made ends with status 1.
    void defaultStoreInTheDataFolder()
    {
        QProcessEnvironment user = QProcessEnvironment::systemEnvironment();
        user.insert(QStringLiteral("XDG_DATA_HOME"), at("share"));
        const QString store = at("share/vq4471r/vq3390R.db");
        QVERIFY(cli({"--help"}, {}, user).out.contains(store));
        fillPlan(at("home.db"));
        QCOMPARE(cli({"export", "--db", at("home.db"), at("home.csv")}).status, 0);
        QCOMPARE(cli({"import", at("home.csv")}, {}, user).status, 0);
        QVERIFY(QFileInfo::exists(store) && cli({"check"}, {}, user).status == 0);
        QVERIFY(test::writeFile(at("blocked"), "a file"));
        user.insert(QStringLiteral("XDG_DATA_HOME"), at("blocked"));
        const Run refused = cli({"import", at("home.csv")}, {}, user);
        QCOMPARE(refused.status, 1);
        QVERIFY(refused.err.startsWith("信道数据库无法打开：" + at("blocked/vq4471r/vq3390R.db：无法创建")));
    }

    // English when asked for on the line or remembered from the window,
    // Chinese otherwise: in English no help, refusal or finding keeps a
    // Chinese character, and --lang zh wins over the remembered choice.
    void speaksTheLanguageChosen()
    {
        QProcessEnvironment remembered = QProcessEnvironment::systemEnvironment();
        remembered.insert(QStringLiteral("XDG_CONFIG_HOME"), at("config"));
        QVERIFY(QDir().mkpath(at("config/vq4471r")));
        QVERIFY(test::writeFile(at("config/vq4471r/vq4471r.conf"), "[interface]\nlanguage=en\n"));
        const QString store = at("words.db");
        fillPlan(store);
        QVERIFY(test::execSql(store, {QStringLiteral("UPDATE 信道表 SET 接收频率='abc' WHERE 信道号='7'")}));
        QVERIFY(test::writeFile(at("words.csv"), "Location,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,"
                                                 "DtcsCode,DtcsPolarity\n77,146.52,,0,,88.5,88.5,023,NN\n"));
        const QRegularExpression chinese(QStringLiteral("[\\x{3000}-\\x{9fff}\\x{ff00}-\\x{ffef}]"));
        const QList<QStringList> runs = {{"--help"},
                                         {"frob"},
                                         {"check", "--db", store},
                                         {"check", "--db", at("none.db")},
                                         {"import", "--db", at("scratch.db"), at("words.csv")},
                                         {"probe", "--port", at("nodevice")}};
        for (const QStringList &arguments : runs) {
            for (const Run &run :
                 {cli(QStringList{"--lang", "en"} + arguments), cli(arguments, {}, remembered)}) {
                const QString said = run.out + run.err;
                QVERIFY2(!said.trimmed().isEmpty() && !said.contains(chinese), qPrintable(said));
            }
        }
        QVERIFY(cli({"check", "--db", store}, {}, remembered).out.contains(QStringLiteral("Channel 7 ")));
        QVERIFY(cli({"--lang", "zh", "check", "--db", store}, {}, remembered)
                    .out.contains(QStringLiteral("第7信道")));
        QCOMPARE(cli({"--lang", "fr", "check", "--db", store}).status, 2);
    }

    // One plan into three radios at once, one of which drops the line half
    // way: the other two hold the plan, the tool says which failed and
    // ends with 1; then a read of a written radio into a CSV file alone.
    void writeToManyRadiosAndReadOneBack()
    {
        const QString store = at("fleet.db");
        fillPlan(store);
        RadioSimulatorOptions broken = unpaced();
        broken.hangUpAfterFrames = 10;
        RadioSimulator first(unpaced()), failing(broken), third(unpaced());
        QCOMPARE(cli({"probe", "--port", first.devicePath()}).out.trimmed(),
                 first.devicePath() + QStringLiteral("：对讲机已应答"));
        QVERIFY(QJsonDocument::fromJson(cli({"ports", "--json"}).raw).isArray());
        const Run run = cli({"write", "--verify", "--db", store, "--port", first.devicePath(), "--port",
                             failing.devicePath(), "--port", third.devicePath()});
        QCOMPARE(run.status, 1);
        const QStringList lines = run.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 3);
        QVERIFY2(lines.at(1).startsWith(failing.devicePath()), qPrintable(run.out));
        QCOMPARE(first.frames(), framesOf(store));
        QCOMPARE(third.frames(), framesOf(store));
        QVERIFY(failing.frames() != framesOf(store));
        // What went out is in the store's history, as after the window's write.
        QCOMPARE(test::peek(store, QStringLiteral("SELECT 原因 FROM 历史记录")), QStringList{"Write"});
        QVERIFY2(!run.err.contains(QStringLiteral("历史记录")), qPrintable(run.err));

        const QString csv = at("read.csv");
        const Run read = cli({"read", "--port", first.devicePath(), "--csv", csv});
        QVERIFY2(read.status == 0, qPrintable(read.err));
        const QString copy = at("copy.db");
        QCOMPARE(cli({"import", "--db", copy, csv}).status, 0);
        QCOMPARE(framesOf(copy), framesOf(store));

        // That file alone is a plan to write; on a terminal the radio's
        // progress runs on one line up to 100 %.
        RadioSimulator fourth(unpaced());
        test::PtyPair terminal;
        QProcess process;
        process.setStandardErrorFile(terminal.devicePath());
        process.start(QStringLiteral(VQ_CLI_PATH), {"write", "--csv", csv, "--port", fourth.devicePath()});
        QSignalSpy done(&process, &QProcess::finished);
        QVERIFY(done.wait(30000));
        QCOMPARE(process.exitCode(), 0);
        QCOMPARE(fourth.frames(), framesOf(store));
        const QByteArray shown = terminal.readAvailable();
        QVERIFY2(shown.trimmed().endsWith(QStringLiteral("\r%1 100%").arg(fourth.devicePath()).toUtf8()),
                 shown.constData());
    }

    // Ctrl+C during a write stops it cleanly: a radio already receiving is
    // written to the end, one still silent is left alone, and each says so.
    void interruptedWriteSaysWhatItLeft()
    {
        const QString store = at("stop.db");
        fillPlan(store);
        RadioSimulatorOptions silent = unpaced();
        silent.neverReady = true;
        RadioSimulator one(unpaced()), two(silent);
        const Run run = cli({"write", "--db", store, "--port", one.devicePath(), "--port", two.devicePath()},
                            [&one](QProcess &process) {
                                // Once the first radio is receiving, however slow the start.
                                QTRY_VERIFY_WITH_TIMEOUT(one.received().contains('A'), 30000);
                                ::kill(static_cast<pid_t>(process.processId()), SIGINT);
                            });
        QCOMPARE(run.status, 1);
        const QStringList lines = run.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 2);
        QCOMPARE(one.frames(), framesOf(store));
        QCOMPARE(lines.at(0), one.devicePath() + QStringLiteral("：写入完成"));
        QVERIFY2(lines.at(1).contains(QStringLiteral("未变")), qPrintable(lines.at(1)));
    }
};

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
