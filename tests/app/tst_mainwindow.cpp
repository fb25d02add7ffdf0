#include "app/ChannelGrid.h"
#include "app/MainWindow.h"
#include "app/Program.h"
#include "channels/ChannelStore.h"
#include "channels/ValueDomains.h"
#include "support/PtyPair.h"
#include "support/RecordingMessenger.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QProcess>
#include <QProgressBar>
#include <QTemporaryDir>
#include <QtTest>

using namespace vq;

class TestMainWindow : public QObject {
    Q_OBJECT
private slots:
    void makeUp();
    void startUpWithPort1Free();
    void startUpFallsBackToPort2_data();
    void startUpFallsBackToPort2();
    void startUpWithoutAnyPort();
    void unusableStoreEndsTheProgram();
    void exitClosesPortAndStore();
    void helpAndVersionNeedNoDisplay();

private:
    QString freshDb() { return dir_.filePath(QStringLiteral("c%1.db").arg(++dbCount_)); }
    QTemporaryDir dir_;
    int dbCount_ = 0;
};

void TestMainWindow::makeUp()
{
    ChannelStore store;
    QVERIFY(store.open(freshDb()));
    test::RecordingMessenger messenger;
    MainWindow w(store, messenger);

    QCOMPARE(w.objectName(), QStringLiteral("启动窗体"));
    QCOMPARE(w.windowTitle(), QStringLiteral("VQ4471R"));
    QCOMPARE(w.windowIcon().availableSizes().value(0), QSize(32, 32));

    // Menus: captions with their leading blanks and access keys, by name.
    const QList<QPair<const char *, QString>> menus = {{"文件", QStringLiteral("        文件(&F)")},
                                                       {"打开", QStringLiteral("打开文件(&O)")},
                                                       {"保存", QStringLiteral("保存文件(&V)")},
                                                       {"读信道", QStringLiteral("        读信道数据(&R)")},
                                                       {"写信道", QStringLiteral("        写信道数据(&W)")},
                                                       {"系统", QStringLiteral("        系统设置(&S)")},
                                                       {"端口", QStringLiteral("选择端口(&P)")},
                                                       {"波特率", QStringLiteral("波特率(&B)")},
                                                       {"退出", QStringLiteral("       退出系统(&E)")},
                                                       {"帮助", QStringLiteral("       帮助(&H)")},
                                                       {"操作", QStringLiteral("操作说明(&I)")},
                                                       {"关于", QStringLiteral("关于本软件(&A)")}};
    for (const auto &[name, caption] : menus) {
        auto *action = w.findChild<QAction *>(QString::fromUtf8(name));
        QVERIFY2(action, name);
        QCOMPARE(action->text(), caption);
        QVERIFY(action->shortcut().isEmpty());
    }
    const QList<QAction *> top = w.menuBar()->actions();
    QCOMPARE(top.size(), 6);
    QStringList order;
    for (QAction *a : top)
        order << a->objectName();
    QCOMPARE(order, (QStringList{"文件", "读信道", "写信道", "系统", "退出", "帮助"}));

    // Labels, frame, bar, timers, link.
    QCOMPARE(w.findChild<QLabel *>("Label1")->text(), QStringLiteral("信道设置系统"));
    QCOMPARE(w.findChild<QLabel *>("Label3")->text(), QStringLiteral("(VQ_4471R)"));
    QCOMPARE(w.findChild<QLabel *>("Label2")->text(), QStringLiteral(" "));
    QVERIFY(w.findChild<QWidget *>("Frame2")->findChild<QLabel *>("Label8"));
    QVERIFY(w.findChild<QLabel *>("Label6"));
    QVERIFY(w.findChild<QWidget *>("Line1"));
    auto *bar = w.findChild<QProgressBar *>("ProgressBar1");
    QCOMPARE(bar->minimum(), 0);
    QCOMPARE(bar->maximum(), 100);
    const int intervals[] = {100, 800, 100, 100};
    for (int n = 1; n <= 4; ++n) {
        auto *timer = w.findChild<QTimer *>(QStringLiteral("Timer%1").arg(n));
        QVERIFY(timer);
        QCOMPARE(timer->interval(), intervals[n - 1]);
        QVERIFY(!timer->isActive());
        QCOMPARE(timer->timerType(), Qt::PreciseTimer);
    }
    QVERIFY(w.findChild<SerialLink *>("MSComm1"));
    const int dpi = w.logicalDpiX();
    QCOMPARE(w.centralWidget()->width(), qRound(11880.0 * dpi / 1440));
    QCOMPARE(w.findChild<QLabel *>("Label1")->geometry(),
             QRect(qRound(4200.0 * dpi / 1440), qRound(720.0 * dpi / 1440), qRound(3735.0 * dpi / 1440),
                   qRound(855.0 * dpi / 1440)));

    // The grid: ten captions with their trailing blanks, widths, only the two
    // frequency columns editable.
    auto *grid = w.findChild<ChannelGrid *>("DataGrid1");
    QVERIFY(grid);
    QAbstractItemModel *model = grid->model();
    QCOMPARE(model->columnCount(), 10);
    QCOMPARE(model->rowCount(), 50);
    QCOMPARE(model->headerData(1, Qt::Horizontal).toString(), QStringLiteral("接收频率 (MHz)    "));
    QCOMPARE(model->headerData(8, Qt::Horizontal).toString(), QStringLiteral("BCL     "));
    for (int c = 0; c < 10; ++c) {
        const bool editable = model->flags(model->index(0, c)) & Qt::ItemIsEditable;
        QCOMPARE(editable, c == 1 || c == 4);
        QCOMPARE(grid->columnWidth(c), qRound(columnWidthsTwips()[std::size_t(c)] * dpi / 1440));
    }
    QVERIFY(grid->horizontalHeader()->height() >=
            3 * QFontMetrics(grid->horizontalHeader()->font()).lineSpacing());

    // Pickers: drop-down only, their lists in order, each showing " ".
    const int sizes[] = {40, 84, 40, 84, 3, 4, 3};
    for (int n = 1; n <= 7; ++n) {
        auto *combo = w.findChild<QComboBox *>(QStringLiteral("Combo%1").arg(n));
        QVERIFY(combo);
        QVERIFY(!combo->isEditable());
        QCOMPARE(combo->count(), sizes[n - 1]);
        QCOMPARE(combo->currentText(), QStringLiteral(" "));
        QCOMPARE(combo->y(), qRound(2520.0 * dpi / 1440));
    }
    auto *combo2 = w.findChild<QComboBox *>("Combo2");
    QCOMPARE(combo2->itemText(1), QStringLiteral("023"));
    QCOMPARE(combo2->itemText(83), QStringLiteral("754"));
    QCOMPARE(w.findChild<QComboBox *>("Combo1")->itemText(39), QStringLiteral("250.3"));
    QCOMPARE(w.findChild<QComboBox *>("Combo6")->itemText(0), QStringLiteral("off"));

    // 波特率 does nothing.
    w.findChild<QAction *>("波特率")->trigger();
    QVERIFY(messenger.notices.isEmpty());

    w.show();
    w.findChild<QAction *>("退出")->trigger();
    QVERIFY(!w.isVisible());
}

void TestMainWindow::startUpWithPort1Free()
{
    test::PtyPair com1;
    test::PtyPair com2;
    ChannelStore store;
    QVERIFY(store.open(freshDb()));
    QVERIFY(store.setField(0, ChannelNumber, std::string("9")));
    test::RecordingMessenger messenger;
    MainWindow w(store, messenger);
    w.link().setDevicePaths(com1.devicePath(), com2.devicePath());
    w.show();
    w.startUp();

    QVERIFY(messenger.notices.isEmpty());
    QCOMPARE(w.link().commPort(), 1);
    QVERIFY(w.link().isOpen());
    QCOMPARE(com1.readAtLeast(1, 2000), QByteArray("A"));
    QCOMPARE(store.field(0, ChannelNumber), FieldValue(std::string("1")));
    QCOMPARE(w.controller().state(), LinkController::State::WritePending);
    QVERIFY(w.findChild<QTimer *>("Timer2")->isActive());
    QCOMPARE(w.findChild<QLabel *>("Label2")->text(), QStringLiteral("系统初始化，请稍等..."));
    const QDate today = QDate::currentDate();
    QCOMPARE(w.findChild<QLabel *>("Label8")->text(),
             QStringLiteral("%1年%2月%3日").arg(today.year()).arg(today.month()).arg(today.day()));
    QVERIFY(com2.readAvailable().isEmpty());
}

void TestMainWindow::startUpFallsBackToPort2_data()
{
    QTest::addColumn<bool>("held");
    QTest::newRow("port 1 missing") << false;
    QTest::newRow("port 1 held by another program") << true;
}

void TestMainWindow::startUpFallsBackToPort2()
{
    QFETCH(bool, held);
    test::PtyPair com1;
    test::PtyPair com2;
    std::unique_ptr<test::DeviceHolder> holder;
    if (held) {
        holder = std::make_unique<test::DeviceHolder>(com1.devicePath());
        QVERIFY(holder->isHolding());
    }
    ChannelStore store;
    QVERIFY(store.open(freshDb()));
    test::RecordingMessenger messenger;
    MainWindow w(store, messenger);
    w.link().setDevicePaths(held ? com1.devicePath() : dir_.filePath(QStringLiteral("ttyNone")),
                            com2.devicePath());
    w.startUp();

    QCOMPARE(messenger.notices.size(), 1);
    QCOMPARE(messenger.notices[0].text, QStringLiteral("串行端口 1已被其它设备使用，已选择 COM2 "));
    QCOMPARE(messenger.notices[0].title, QStringLiteral("系统信息"));
    QCOMPARE(messenger.notices[0].icon, Notice::Icon::Exclamation);
    QVERIFY(messenger.notices[0].informative.isEmpty()); // not a matter of access rights
    QCOMPARE(w.link().commPort(), 2);
    QCOMPARE(com2.readAtLeast(1, 2000), QByteArray("A"));
    QVERIFY(com1.readAvailable().isEmpty());
}

void TestMainWindow::startUpWithoutAnyPort()
{
    ChannelStore store;
    QVERIFY(store.open(freshDb()));
    test::RecordingMessenger messenger;
    MainWindow w(store, messenger);
    w.link().setDevicePaths(dir_.filePath(QStringLiteral("none1")), dir_.filePath(QStringLiteral("none2")));
    w.startUp();
    // One message for port 1, nothing for port 2; nothing runs against the
    // closed port, and the menus stay usable.
    QCOMPARE(messenger.notices.size(), 1);
    QVERIFY(!w.link().isOpen());
    QCOMPARE(w.controller().state(), LinkController::State::Idle);
    QVERIFY(w.findChild<QAction *>("写信道")->isEnabled());
    w.findChild<QAction *>("写信道")->trigger();
    w.findChild<QAction *>("读信道")->trigger();
    QCOMPARE(messenger.texts(),
             (QStringList{QStringLiteral("串行端口 1已被其它设备使用，已选择 COM2 "),
                          QStringLiteral("串行端口未打开"), QStringLiteral("串行端口未打开")}));
}

void TestMainWindow::unusableStoreEndsTheProgram()
{
    const QString path = dir_.filePath(QStringLiteral("notes.db"));
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("my notes, not a database");
    f.close();
    test::RecordingMessenger messenger;
    Program program(messenger);
    ProgramOptions options;
    options.database = path;
    QVERIFY(!program.start(options));
    QVERIFY(!program.window());
    QCOMPARE(messenger.notices.size(), 1);
    QCOMPARE(messenger.notices[0].text, QStringLiteral("信道数据库无法打开：") + path);
    QCOMPARE(messenger.notices[0].title, QStringLiteral("系统信息"));
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), QByteArray("my notes, not a database"));
}

void TestMainWindow::exitClosesPortAndStore()
{
    test::PtyPair com1;
    test::RecordingMessenger messenger;
    {
        Program program(messenger);
        ProgramOptions options;
        options.database = freshDb();
        options.com1 = com1.devicePath();
        options.com2 = dir_.filePath(QStringLiteral("none"));
        QVERIFY(program.start(options));
        QVERIFY(program.window()->link().isOpen());
        QVERIFY(program.window()->isVisible());
        // During the start-up write 退出 is locked; the close box is not.
        QVERIFY(!program.window()->findChild<QAction *>("退出")->isEnabled());
        QVERIFY(program.window()->close());
        QVERIFY(!program.window()->isVisible());
    }
    // The port is free again for another program.
    test::DeviceHolder other(com1.devicePath());
    QVERIFY(other.isHolding());
}

void TestMainWindow::helpAndVersionNeedNoDisplay()
{
    const QString program = QCoreApplication::applicationDirPath() + QStringLiteral("/../vq4471r");
    if (!QFileInfo::exists(program))
        QSKIP("the program is not built beside the tests");
    QProcessEnvironment console = QProcessEnvironment::systemEnvironment();
    console.remove(QStringLiteral("DISPLAY"));
    console.remove(QStringLiteral("WAYLAND_DISPLAY"));
    console.remove(QStringLiteral("QT_QPA_PLATFORM"));
    for (const char *option : {"--version", "--help"}) {
        QProcess p;
        p.setProcessEnvironment(console);
        p.start(program, {QString::fromLatin1(option)});
        QVERIFY(p.waitForFinished(10000));
        QCOMPARE(p.exitCode(), 0);
        const QByteArray out = p.readAllStandardOutput();
        QVERIFY2(out.contains("vq4471r"), out.constData());
        if (QByteArray(option) == "--help")
            QVERIFY(out.contains("--com1") && out.contains("--db"));
    }
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
