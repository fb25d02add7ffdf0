// Faults a user's machine can throw at the program, each checked for the
// same three things: the program keeps running, it says so once, and no
// row or file changes that should not.
#include "RadioSimulator.h"
#include "app/ChannelGrid.h"
#include "app/MainWindow.h"
#include "channels/ChannelStore.h"
#include "files/ChannelFile.h"
#include "support/GridTyping.h"
#include "support/RecordingMessenger.h"
#include "support/StoreHelpers.h"

#include <QApplication>
#include <QProcess>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>

using namespace vq;
using vq::sim::RadioSimulator;
using vq::sim::RadioSimulatorOptions;

namespace {

// Makes a file or folder unchangeable even for root, where the file system
// allows it; undone in the destructor.
class Immutable {
public:
    explicit Immutable(const QString &path) : path_(path)
    {
        ok_ = QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("+i"), path_}) == 0;
    }
    ~Immutable()
    {
        if (ok_)
            QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("-i"), path_});
    }
    bool ok() const { return ok_; }

private:
    QString path_;
    bool ok_ = false;
};

// A whole plan: every row's receive frequency and tone say which one it is.
std::vector<ChannelStore::Change> plan(int which)
{
    std::vector<ChannelStore::Change> changes;
    for (int row = 0; row < 50; ++row) {
        changes.push_back({row, RxFrequency, std::to_string(140 + which) + ".00000"});
        changes.push_back({row, RxTone, std::to_string(which)});
    }
    return changes;
}

} // namespace

class TestFaultMatrix : public QObject {
    Q_OBJECT
private slots:
    void readOnlyStore();
    void storeDeletedWhileRunning();
    void saveIntoReadOnlyFolder();
    void unreadableChannelFile();
    void killedWhileSaving();
    void killedWhileStoringARead();

private:
    QTemporaryDir dir_;
};

void TestFaultMatrix::readOnlyStore()
{
    const QString db = dir_.filePath(QStringLiteral("ro.db"));
    {
        ChannelStore s;
        QVERIFY(s.open(db));
        QVERIFY(s.apply(plan(5)));
    }
    Immutable lock(db);
    if (!lock.ok())
        QSKIP("this file system cannot make a file read-only for this user");
    ChannelStore store;
    QVERIFY(store.open(db)); // a read-only plan still opens
    const auto before = test::snapshot(store);
    test::RecordingMessenger messenger;
    RadioSimulatorOptions options;
    options.paced = false;
    RadioSimulator sim(options);
    MainWindow w(store, messenger);
    w.link().setDevicePaths(sim.devicePath(), QString());
    w.show();
    QApplication::setActiveWindow(&w);
    QVERIFY(QTest::qWaitForWindowActive(&w));

    // Channel 1 already holds "1", so the write goes out untouched.
    LinkController::Intervals quick;
    quick.writeTick = 4;
    quick.writeDelay = 10;
    w.controller().setIntervals(quick);
    QSignalSpy written(&sim, &RadioSimulator::writeStored);
    w.startUp();
    QVERIFY(written.wait(10000));
    QVERIFY(messenger.notices.isEmpty());

    QVERIFY(test::typeIntoCell(w.grid(), 2, RxFrequency, QStringLiteral("438.5")));
    QCOMPARE(messenger.texts(), QStringList{QStringLiteral("信道数据库写入失败")});

    QTRY_VERIFY(!w.controller().transferRunning());
    QSignalSpy served(&sim, &RadioSimulator::readServed);
    w.controller().startRead();
    QTRY_COMPARE(messenger.notices.size(), 2);
    QCOMPARE(messenger.notices[1].text, QStringLiteral("读数错误！！"));
    QVERIFY(test::snapshot(store) == before);
    QVERIFY(w.findChild<QAction *>(QStringLiteral("读信道"))->isEnabled());
}

void TestFaultMatrix::storeDeletedWhileRunning()
{
    const QString db = dir_.filePath(QStringLiteral("gone.db"));
    ChannelStore store;
    QVERIFY(store.open(db));
    test::RecordingMessenger messenger;
    MainWindow w(store, messenger);
    w.show();
    QApplication::setActiveWindow(&w);
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QVERIFY(QFile::remove(db));
    QVERIFY(test::typeIntoCell(w.grid(), 0, RxFrequency, QStringLiteral("145")));
    w.pick(1, QStringLiteral("67.0"));
    QCOMPARE(messenger.texts(),
             (QStringList{QStringLiteral("信道数据库写入失败"), QStringLiteral("信道数据库写入失败")}));
    QVERIFY(!store.field(0, RxFrequency).has_value());
    QVERIFY(w.grid()->model()->index(0, RxFrequency).data().toString().isEmpty());
}

void TestFaultMatrix::saveIntoReadOnlyFolder()
{
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("plan.doc"));
    QFile old(file);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("old plan");
    old.close();
    Immutable lock(folder.path());
    if (!lock.ok())
        QSKIP("this file system cannot make a folder read-only for this user");
    ChannelStore store;
    QVERIFY(store.open(dir_.filePath(QStringLiteral("s.db"))));
    test::RecordingMessenger messenger;
    MainWindow w(store, messenger);
    messenger.paths << file;
    w.saveChannelFile();
    QCOMPARE(messenger.texts(), QStringList{QStringLiteral("文件保存失败")});
    QVERIFY(old.open(QIODevice::ReadOnly));
    QCOMPARE(old.readAll(), QByteArray("old plan"));
}

void TestFaultMatrix::unreadableChannelFile()
{
    ChannelStore store;
    QVERIFY(store.open(dir_.filePath(QStringLiteral("u.db"))));
    const auto before = test::snapshot(store);
    test::RecordingMessenger messenger;
    MainWindow w(store, messenger);
    messenger.paths << dir_.path(); // a folder: it cannot be read as a file
    w.openChannelFile();
    QCOMPARE(messenger.texts(), QStringList{QStringLiteral("文件格式错误")});
    QVERIFY(test::snapshot(store) == before);
}

void TestFaultMatrix::killedWhileSaving()
{
    // A child saves two different plans over one file as fast as it can;
    // killed at any moment, the file is one whole plan or the other.
    const QString file = dir_.filePath(QStringLiteral("race.doc"));
    QSet<QByteArray> plans;
    for (int which : {1, 2}) {
        ChannelFileRows rows;
        for (int row = 0; row < 16; ++row) {
            rows[std::size_t(row)][RxFrequency] = std::to_string(140 + which) + ".00000";
            rows[std::size_t(row)][RxTone] = std::to_string(which);
        }
        plans.insert(QByteArray::fromStdString(writeChannelFile(rows)));
    }
    for (int round = 0; round < 8; ++round) {
        QProcess child;
        child.start(
            QCoreApplication::applicationFilePath(),
            {QStringLiteral("--child-save"), dir_.filePath(QStringLiteral("k%1.db").arg(round)), file});
        QVERIFY(child.waitForReadyRead(10000)); // saving has begun
        QTest::qWait(5 + QRandomGenerator::global()->bounded(60));
        ::kill(pid_t(child.processId()), SIGKILL);
        QVERIFY(child.waitForFinished(5000));
        QFile f(file);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QVERIFY2(plans.contains(f.readAll()), "a killed save left a damaged file");
    }
}

void TestFaultMatrix::killedWhileStoringARead()
{
    // A child stores whole 50-channel batches, as a finished read does; a
    // kill leaves the store on one whole batch, never a mix.
    const QString db = dir_.filePath(QStringLiteral("batch.db"));
    for (int round = 0; round < 8; ++round) {
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--child-store"), db});
        QVERIFY(child.waitForReadyRead(10000));
        QTest::qWait(5 + QRandomGenerator::global()->bounded(60));
        ::kill(pid_t(child.processId()), SIGKILL);
        QVERIFY(child.waitForFinished(5000));
        ChannelStore store;
        QVERIFY(store.open(db));
        QCOMPARE(store.rowCount(), 50);
        const FieldValue first = store.field(0, RxTone);
        for (int row = 0; row < 50; ++row)
            QCOMPARE(store.field(row, RxTone), first);
    }
}

// Children for the kill tests: they report once, then loop until killed.
static int childSave(const QString &db, const QString &file)
{
    ChannelStore store;
    if (!store.open(db))
        return 1;
    test::RecordingMessenger messenger;
    MainWindow w(store, messenger);
    for (int n = 0;; ++n) {
        store.apply(plan(1 + n % 2));
        messenger.paths << file;
        w.saveChannelFile();
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

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 4 && args[1] == QStringLiteral("--child-save"))
        return childSave(args[2], args[3]);
    if (args.size() == 3 && args[1] == QStringLiteral("--child-store"))
        return childStore(args[2]);
    TestFaultMatrix test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_faultmatrix.moc"
