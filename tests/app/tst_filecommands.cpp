#include "app/ChannelGrid.h"
#include "app/MainWindow.h"
#include "channels/ChannelStore.h"
#include "files/ChannelFile.h"
#include "support/RecordingMessenger.h"
#include "support/StoreHelpers.h"

#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>

using namespace vq;

namespace {

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

} // namespace

class TestFileCommands : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void saveAndOpenAgain();
    void originalFileOpens();
    void refusedFilesChangeNothing_data();
    void refusedFilesChangeNothing();
    void failedSaveKeepsTheOldFile();
    void tooFewRows();

private:
    QString path(const QString &name) const { return dir_.filePath(name); }
    QTemporaryDir dir_;
    int count_ = 0;
    std::unique_ptr<ChannelStore> store_;
    std::unique_ptr<test::RecordingMessenger> messenger_;
    std::unique_ptr<MainWindow> window_;
};

void TestFileCommands::init()
{
    store_ = std::make_unique<ChannelStore>();
    QVERIFY(store_->open(path(QStringLiteral("f%1.db").arg(++count_))));
    messenger_ = std::make_unique<test::RecordingMessenger>();
    window_ = std::make_unique<MainWindow>(*store_, *messenger_);
}

void TestFileCommands::cleanup()
{
    window_.reset();
    messenger_.reset();
    store_.reset();
}

void TestFileCommands::saveAndOpenAgain()
{
    QVERIFY(store_->apply({{0, RxFrequency, std::string("438.50000")},
                           {0, RxTone, std::string("67.0")},
                           {0, TxFrequency, std::string("438.50000")},
                           {0, TxTone, std::string("100.0")},
                           {0, Scan, std::string("add")},
                           {0, Bcl, std::string("off")},
                           {0, Beat, std::string(" ")},
                           {15, RxFrequency, std::string("145.00625")},
                           {15, RxDcs, std::string("023")},
                           {15, TxFrequency, std::string("145.60000")},
                           {15, TxDcs, std::string("754")},
                           {15, TxTone, std::string("69.3")},
                           {15, Scan, std::string("del")},
                           {15, Bcl, std::string("2")},
                           {15, Beat, std::string("on")},
                           {16, RxFrequency, std::string("462.56250")}}));
    window_->grid()->makeRowCurrent(7);
    const QString file = path(QStringLiteral("plan.doc"));
    messenger_->paths << file;
    window_->saveChannelFile();
    QCOMPARE(messenger_->filters, QStringList{QStringLiteral("text(*.doc)")});
    QVERIFY(messenger_->notices.isEmpty());
    QCOMPARE(window_->grid()->currentRow(), 7);

    const QByteArray bytes = readAll(file);
    QCOMPARE(bytes.count(','), 144);
    QVERIFY(!bytes.contains('\n') && !bytes.contains('\r'));
    QVERIFY(bytes.endsWith(','));
    QVERIFY(bytes.startsWith("438.50000,67.0,,438.50000,100.0,,add,off, ,"));
    QVERIFY(!bytes.contains("462.5625")); // row 17 is not saved

    // Wipe the rows, open the file again: the plan comes back, the tones in
    // their shortest form, the blank cell as empty text.
    std::vector<ChannelStore::Change> wipe;
    for (int row = 0; row < 16; ++row)
        for (int f = 1; f < kFieldCount; ++f)
            wipe.push_back({row, f, std::string("x")});
    QVERIFY(store_->apply(wipe));
    messenger_->paths << file;
    window_->openChannelFile();
    QVERIFY(messenger_->notices.isEmpty());
    QCOMPARE(window_->grid()->currentRow(), 0);
    const ChannelRecord first = store_->record(0);
    QCOMPARE(first[RxFrequency], FieldValue(std::string("438.50000")));
    QCOMPARE(first[RxTone], FieldValue(std::string("67")));
    QCOMPARE(first[TxTone], FieldValue(std::string("100")));
    QCOMPARE(first[RxDcs], FieldValue(std::string()));
    QCOMPARE(first[Beat], FieldValue(std::string()));
    const ChannelRecord sixteenth = store_->record(15);
    QCOMPARE(sixteenth[RxDcs], FieldValue(std::string("023")));
    QCOMPARE(sixteenth[TxDcs], FieldValue(std::string("754")));
    QCOMPARE(sixteenth[TxTone], FieldValue(std::string("69.3")));
    QCOMPARE(sixteenth[Bcl], FieldValue(std::string("2")));
    QCOMPARE(sixteenth[Beat], FieldValue(std::string("on")));
    QCOMPARE(sixteenth[ChannelNumber], FieldValue(std::string("16")));
    QCOMPARE(store_->field(2, RxFrequency), FieldValue(std::string()));
    QCOMPARE(store_->field(16, RxFrequency), FieldValue(std::string("462.56250")));
}

void TestFileCommands::originalFileOpens()
{
    // Written by hand the way old files look: numbers without their zeros.
    QByteArray text = "438.5,88.5,,438.5,,23,add,1,off,";
    for (int row = 1; row < 16; ++row)
        text += ",,,,,,del,off,off,";
    text += "extra,items,after,the,end,";
    const QString file = path(QStringLiteral("old.doc"));
    writeFile(file, text);
    messenger_->paths << file;
    window_->openChannelFile();
    QVERIFY(messenger_->notices.isEmpty());
    QCOMPARE(store_->field(0, RxFrequency), FieldValue(std::string("438.50000")));
    QCOMPARE(store_->field(0, TxDcs), FieldValue(std::string("023")));
    QCOMPARE(store_->field(0, Bcl), FieldValue(std::string("1")));
    QCOMPARE(store_->field(15, Scan), FieldValue(std::string("del")));
}

void TestFileCommands::refusedFilesChangeNothing_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("exists");
    QByteArray good;
    for (int row = 0; row < 16; ++row)
        good += "145,,,145,,,add,off,off,";
    QTest::newRow("truncated") << good.left(good.size() / 2) << true;
    QTest::newRow("last comma missing") << good.chopped(1) << true;
    QTest::newRow("word as frequency") << QByteArray("abc") + good.mid(3) << true;
    QTest::newRow("binary") << QByteArray("145,\0\x01\xff\xfe,", 10) + good << true;
    QByteArray huge(8 * 1024 * 1024, 'x');
    QTest::newRow("huge") << huge << true;
    QTest::newRow("missing") << QByteArray() << false;
}

void TestFileCommands::refusedFilesChangeNothing()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, exists);
    QVERIFY(store_->apply({{0, RxFrequency, std::string("430.12500")}, {3, Bcl, std::string("2")}}));
    const auto before = test::snapshot(*store_);
    const QString file = path(QStringLiteral("bad.doc"));
    QFile::remove(file);
    if (exists)
        writeFile(file, content);
    messenger_->paths << file;
    window_->openChannelFile();
    QCOMPARE(messenger_->texts(), QStringList{QStringLiteral("文件格式错误")});
    QCOMPARE(messenger_->notices[0].title, QStringLiteral("错误警告 "));
    QVERIFY(test::snapshot(*store_) == before);

    // Cancelling the dialog is no error and changes nothing either.
    window_->openChannelFile();
    window_->saveChannelFile();
    QCOMPARE(messenger_->notices.size(), 1);
    QVERIFY(test::snapshot(*store_) == before);
}

void TestFileCommands::failedSaveKeepsTheOldFile()
{
    const QString file = path(QStringLiteral("keep.doc"));
    writeFile(file, "the old plan");
    // Into a folder that does not exist.
    messenger_->paths << path(QStringLiteral("no/such/folder/plan.doc"));
    window_->saveChannelFile();
    QCOMPARE(messenger_->texts(), QStringList{QStringLiteral("文件保存失败")});

    // A write that runs out of room half-way (a file size limit stands in
    // for a full disk): the old file stays whole.
    QVERIFY(store_->setField(0, RxFrequency, std::string("145.00000")));
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit small = old;
    small.rlim_cur = 64;
    QVERIFY(setrlimit(RLIMIT_FSIZE, &small) == 0);
    messenger_->paths << file;
    window_->saveChannelFile();
    setrlimit(RLIMIT_FSIZE, &old);
    QCOMPARE(messenger_->notices.size(), 2);
    QCOMPARE(messenger_->notices[1].text, QStringLiteral("文件保存失败"));
    QCOMPARE(readAll(file), QByteArray("the old plan"));
    QCOMPARE(QDir(dir_.path()).entryList({QStringLiteral("keep.doc*")}, QDir::Files | QDir::Hidden),
             QStringList{QStringLiteral("keep.doc")});

    // A plan whose cells would make a file too large to open again.
    QVERIFY(store_->setField(3, RxTone, std::string(kMaxChannelFileBytes, 'x')));
    messenger_->paths << file;
    window_->saveChannelFile();
    QCOMPARE(messenger_->notices.size(), 3);
    QCOMPARE(readAll(file), QByteArray("the old plan"));
}

void TestFileCommands::tooFewRows()
{
    const QString db = path(QStringLiteral("short.db"));
    QStringList sql{QStringLiteral("CREATE TABLE \"信道表\" (a,b,c,d,e,f,g,h,i,j)")};
    for (int i = 0; i < 15; ++i)
        sql << QStringLiteral("INSERT INTO \"信道表\" (a) VALUES ('%1')").arg(i + 1);
    QVERIFY(test::execSql(db, sql));
    ChannelStore store;
    QVERIFY(store.open(db));
    MainWindow w(store, *messenger_);
    const QString file = path(QStringLiteral("fifteen.doc"));
    messenger_->paths << file << file;
    w.saveChannelFile();
    w.openChannelFile();
    QCOMPARE(messenger_->texts(),
             (QStringList{QStringLiteral("信道表记录不足16条"), QStringLiteral("信道表记录不足16条")}));
    QVERIFY(!QFile::exists(file));
}

QTEST_MAIN(TestFileCommands)
#include "tst_filecommands.moc"
