// The window's wiring: each control reaches its operation, and what comes
// back becomes the right message. The operations themselves are tested
// without a window.
#include "RadioSimulator.h"
#include "app/AboutWindow.h"
#include "app/ChangeManyDialog.h"
#include "app/ChannelGrid.h"
#include "app/HistoryWindow.h"
#include "app/MainWindow.h"
#include "app/PortDevicesWindow.h"
#include "app/PortDialog.h"
#include "app/PresetDialog.h"
#include "app/Program.h"
#include "app/SystemInfo.h"
#include "plan/HistoryModel.h"
#include "support/GridTyping.h"
#include "support/PtyPair.h"
#include "support/RecordingMessenger.h"
#include "support/StoreHelpers.h"

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QAbstractItemModelTester>
#include <QtTest>

#include <unistd.h>

#include <algorithm>
#include <cstdio>

using namespace vq;
using test::PtyPair;
using vq::sim::RadioSimulator;

namespace {

// The program started on a fresh store with a pseudo-terminal as COM1.
struct Started {
    QTemporaryDir dir;
    PtyPair com1, com2;
    test::RecordingMessenger messenger;
    Program program{messenger};
    bool ok = false;

    explicit Started(bool freshSettings = true, const QString &language = {})
    {
        LinkController::Intervals quick;
        quick.writeTick = 4;
        quick.writeDelay = 10;
        quick.readStart = 5;
        quick.blockTimeout = 300;
        program.programmer().controller().setIntervals(quick);
        // Each start begins from no remembered ports, unless it is about them.
        if (freshSettings)
            QSettings().clear();
        ProgramOptions options;
        options.database = dir.filePath(QStringLiteral("w.db"));
        // One channel, or the start-up write would leave the radio alone.
        ChannelStore plan;
        if (!plan.open(options.database) || !plan.apply({{0, RxFrequency, "145.00000"}}))
            return;
        plan.close();
        options.com1 = com1.devicePath();
        options.com2 = com2.devicePath();
        options.language = language;
        ok = program.start(options);
    }
    MainWindow &window() { return *program.window(); }
    ChannelStore &store() { return program.programmer().store(); }
    void trigger(const char *name) { window().findChild<QAction *>(QString::fromUtf8(name))->trigger(); }
    bool enabled(const char *name)
    {
        return window().findChild<QAction *>(QString::fromUtf8(name))->isEnabled();
    }
    QString label(const char *name) { return window().findChild<QLabel *>(QString::fromUtf8(name))->text(); }
};

bool hasChinese(const QString &text)
{
    return std::any_of(text.cbegin(), text.cend(), [](QChar c) {
        return (c.unicode() >= 0x3400 && c.unicode() <= 0x9FFF) ||
               (c.unicode() >= 0xFF00 && c.unicode() <= 0xFFEF);
    });
}

// Every text a user reads in `root` and the windows it owns, as "name: text":
// titles, captions, menus, tool tips and column headers. Grid cells and
// picker entries are the plan's values, not the interface; the status line
// and the byte counts move on their own.
QStringList visibleTexts(QWidget *root)
{
    QStringList out;
    const auto add = [&out](const QObject *o, const QString &text) {
        if (!text.isEmpty() && o->objectName() != QLatin1String("Label2") &&
            o->objectName() != QLatin1String("linkCounts"))
            out << o->objectName() + QStringLiteral(": ") + text;
    };
    QList<QObject *> objects = root->findChildren<QObject *>();
    objects.prepend(root);
    for (QObject *o : objects) {
        if (auto *w = qobject_cast<QWidget *>(o)) {
            if (w->isWindow())
                add(w, w->windowTitle());
            add(w, w->toolTip());
        }
        // Each language is offered in its own name.
        if (auto *a = qobject_cast<QAction *>(o); a && a->objectName() != QStringLiteral("中文"))
            add(a, a->text() + a->toolTip());
        if (auto *m = qobject_cast<QMenu *>(o))
            add(m, m->title());
        if (auto *l = qobject_cast<QLabel *>(o))
            add(l, l->text());
        if (auto *b = qobject_cast<QAbstractButton *>(o))
            add(b, b->text());
        if (auto *g = qobject_cast<QGroupBox *>(o))
            add(g, g->title());
        if (auto *e = qobject_cast<QLineEdit *>(o))
            add(e, e->placeholderText());
        if (auto *v = qobject_cast<QAbstractItemView *>(o); v && v->model())
            for (int c = 0; c < v->model()->columnCount(); ++c)
                add(v, v->model()->headerData(c, Qt::Horizontal).toString());
    }
    return out;
}

const char *const kLockedMenus[] = {"读信道", "写信道", "系统", "退出", "帮助"};

} // namespace

class TestWindow : public QObject {
    Q_OBJECT
private slots:
    // As the program names itself: without it QSettings reads nothing back.
    void initTestCase() { nameApplication(); }
    void menusReachTheirOperations()
    {
        Started s;
        QVERIFY(s.ok);
        MainWindow &w = s.window();
        // Start-up: the date, the write under way with its text, menus locked.
        const QDate today = QDate::currentDate();
        QCOMPARE(s.label("Label8"),
                 QStringLiteral("%1年%2月%3日").arg(today.year()).arg(today.month()).arg(today.day()));
        QCOMPARE(s.label("Label2"), QStringLiteral("系统初始化，请稍等..."));
        for (const char *name : kLockedMenus)
            QVERIFY2(!s.enabled(name), name);
        QVERIFY(s.enabled("编辑")); // edits during a write are fine
        QCOMPARE(w.menuBar()->actions().at(1)->objectName(), QStringLiteral("编辑"));
        // The close box does not cut the write off.
        w.show();
        QVERIFY(!w.close());
        QVERIFY(w.isVisible() && s.messenger.texts().value(0).startsWith(QStringLiteral("正在写入对讲机")));
        s.messenger.notices.clear();
        // The whole write, then the radio's "C"; probes made meanwhile are dropped.
        auto writeGoesOut = [&] {
            const QByteArray line = s.com1.readAtLeast(1 + 50 * 32, 3000);
            s.com1.write("C");
            const bool ready =
                QTest::qWaitFor([&] { return s.label("Label2") == QStringLiteral("对讲机就绪..."); }, 5000);
            s.com1.readAvailable();
            return ready && line.startsWith('A');
        };
        QVERIFY(writeGoesOut());
        for (const char *name : kLockedMenus)
            QVERIFY2(s.enabled(name), name);
        QCOMPARE(w.findChild<QProgressBar *>(QStringLiteral("ProgressBar1"))->value(), 0);

        // 写信道 and 读信道 reach the line; a read's failure comes back as a message.
        s.trigger("写信道");
        QVERIFY(writeGoesOut());
        s.trigger("读信道");
        QCOMPARE(s.com1.readAtLeast(1, 2000).right(1), QByteArray("B"));
        QTRY_COMPARE(s.messenger.texts(), QStringList{QStringLiteral("读数错误！！")});
        // Esc asks, and a yes ends the read without a word.
        s.trigger("读信道");
        s.trigger("中止");
        QCOMPARE(s.messenger.questions.value(0).text, QStringLiteral("确定要中止读取吗？"));
        QVERIFY(!s.program.programmer().controller().transferRunning());
        QTest::qWait(400);
        QCOMPARE(s.messenger.notices.size(), 1);

        // 保存 and 打开 ask for a file with the channel-file filter.
        QVERIFY(s.store().apply({{2, RxFrequency, "438.50000"}}));
        const QString file = s.dir.filePath(QStringLiteral("plan.doc"));
        s.messenger.paths << file;
        s.trigger("保存");
        QVERIFY(QFile::exists(file));
        QVERIFY(s.store().apply({{2, RxFrequency, std::nullopt}}));
        w.grid()->makeRowCurrent(9);
        s.messenger.paths << file;
        s.trigger("打开");
        QCOMPARE(s.store().field(2, RxFrequency), FieldValue("438.50000"));
        QCOMPARE(w.grid()->currentRow(), 0);
        QCOMPARE(s.messenger.filters, QStringList(2, QStringLiteral("text(*.doc)")));
        // 撤销 and 重做 say what they take back and do it through the store.
        QCOMPARE(w.findChild<QAction *>(QStringLiteral("撤销"))->text(), QStringLiteral("撤销(&U) 打开文件"));
        s.trigger("撤销");
        QCOMPARE(s.store().field(2, RxFrequency), FieldValue());
        QVERIFY(!s.enabled("撤销") && s.enabled("重做"));
        s.trigger("重做");
        QCOMPARE(s.store().field(2, RxFrequency), FieldValue("438.50000"));
        // 导出CSV saves in the layout whose filter the user picked; 导入CSV
        // reads either.
        const QString csv = s.dir.filePath(QStringLiteral("plan.csv"));
        s.messenger.paths << csv << csv;
        s.messenger.chosenFilters << QStringLiteral("通用格式 (*.csv)");
        s.trigger("导出CSV");
        QFile exported(csv);
        QVERIFY(exported.open(QIODevice::ReadOnly) && exported.readAll().contains("\r\n3,,438.500000,"));
        QVERIFY(s.store().apply({{2, RxFrequency, std::nullopt}}));
        s.trigger("导入CSV");
        QCOMPARE(s.store().field(2, RxFrequency), FieldValue("438.50000"));
        QCOMPARE(s.messenger.filters.mid(2),
                 QStringList(2, QStringLiteral("CSV 文件 (*.csv);;通用格式 (*.csv)")));
        // 帮助 → 保存通信记录 saves what went over the line, "B" among it.
        const QString trace = s.dir.filePath(QStringLiteral("trace.txt"));
        s.messenger.paths << trace;
        s.trigger("保存通信记录");
        QCOMPARE(QFileInfo(s.messenger.starts.last()).absolutePath(), Programmer::logFolder());
        QFile saved(trace);
        QVERIFY(saved.open(QIODevice::ReadOnly) && saved.readAll().contains("  >  42   "));

        // 端口, 操作 and 关于 each open one window, again after it was closed;
        // 波特率 opens nothing and says nothing.
        for (const char *name : {"波特率", "端口", "操作", "关于", "历史记录"}) {
            const int before = w.findChildren<QWidget *>().size();
            s.trigger(name);
            s.trigger(name);
            const int opened = w.findChildren<QWidget *>().size() - before;
            QVERIFY2(qstrcmp(name, "波特率") == 0 ? opened == 0 : opened > 0, name);
        }
        // The table before the file was the plan written at start-up: kept
        // once; the import's snapshot came after it.
        HistoryModel *history = w.findChild<HistoryWindow *>(QStringLiteral("History"))->model();
        // The list keeps Qt's model rules (a flat list: no row has children).
        const QAbstractItemModelTester rules(history, QAbstractItemModelTester::FailureReportingMode::QtTest);
        QCOMPARE(history->rowCount(), 2);
        QCOMPARE(history->index(0, HistoryModel::Reason).data().toString(), QStringLiteral("导入前"));
        QCOMPARE(history->index(1, HistoryModel::Reason).data().toString(),
                 QStringLiteral("启动时写入对讲机"));
        const char *windows[] = {"Dialog", "frmAbout1", "frmAbout", "History"};
        for (const char *name : windows) {
            QCOMPARE(w.findChildren<QWidget *>(QString::fromLatin1(name)).size(), 1);
            QPointer<QWidget> shown = w.findChild<QWidget *>(QString::fromLatin1(name));
            QVERIFY2(shown->isVisible() && shown->isWindow(), name);
            shown->close();
            QTRY_VERIFY2(shown.isNull(), name);
        }
        QCOMPARE(s.messenger.notices.size(), 1);

        // 退出 closes the window and lets the port go.
        w.show();
        s.trigger("退出");
        QVERIFY(!w.isVisible());
        test::DeviceHolder other(s.com1.devicePath());
        QVERIFY(other.isHolding());
    }
    void typingAndPicking()
    {
        Started s;
        QVERIFY(s.ok);
        MainWindow &w = s.window();
        ChannelGrid *grid = w.grid();
        w.show();
        QApplication::setActiveWindow(&w);
        QVERIFY(QTest::qWaitForWindowActive(&w));
        auto shown = [&](int row, int column) { return grid->model()->index(row, column).data().toString(); };

        QVERIFY(test::typeIntoCell(grid, 3, RxFrequency, QStringLiteral("438.5031")));
        QCOMPARE(s.store().field(3, TxFrequency), FieldValue("438.50000"));
        // An out-of-range text stands in the grid while the warning is up.
        QString seen;
        s.messenger.onShow = [&](const Notice &) { seen = shown(3, RxFrequency); };
        QVERIFY(test::typeIntoCell(grid, 3, RxFrequency, QStringLiteral("500.00001")));
        QCOMPARE(s.messenger.texts(), QStringList{QStringLiteral("数据超出范围 ！！")});
        QCOMPARE(seen, QStringLiteral("500.00001"));
        QCOMPARE(shown(3, RxFrequency), QString());
        QVERIFY(!(grid->model()->flags(grid->model()->index(3, RxTone)) & Qt::ItemIsEditable));

        // A picker writes the current row; by keyboard as a user steps through it.
        grid->setCurrentIndex(grid->model()->index(5, 0));
        auto *combo1 = w.findChild<QComboBox *>(QStringLiteral("Combo1"));
        combo1->setFocus();
        QTest::keyClick(combo1, Qt::Key_Down); // " " → the first tone
        QCOMPARE(s.store().field(5, RxTone), FieldValue(combo1->itemText(1).toStdString()));
        QCOMPARE(s.store().field(5, TxTone), s.store().field(5, RxTone));

        // A value still in an open editor is stored (and checked) before a pick.
        QVERIFY(test::typeIntoCell(grid, 7, RxFrequency, QStringLiteral("438.5"), false));
        w.pick(5, QStringLiteral("del"));
        QCOMPARE(s.store().field(7, RxFrequency), FieldValue("438.50000"));
        QCOMPARE(s.store().field(7, Scan), FieldValue("del"));
        QVERIFY(!grid->indexWidget(grid->currentIndex()));
    }
    void spreadsheetEditing()
    {
        Started s;
        QVERIFY(s.ok);
        MainWindow &w = s.window();
        ChannelGrid *grid = w.grid();
        auto *edit = w.findChild<QMenu *>(QStringLiteral("编辑"));
        for (const auto &[name, keys] : {std::pair{"复制", QKeySequence(QKeySequence::Copy)},
                                         {"粘贴", QKeySequence(QKeySequence::Paste)},
                                         {"清除", QKeySequence(QKeySequence::Delete)},
                                         {"向下填充", QKeySequence(Qt::CTRL | Qt::Key_D)},
                                         {"批量修改", QKeySequence()},
                                         {"插入预设频道", QKeySequence()},
                                         {"查找", QKeySequence(QKeySequence::Find)},
                                         {"隐藏空信道", QKeySequence()}}) {
            auto *action = w.findChild<QAction *>(QString::fromUtf8(name));
            QVERIFY2(action && edit->actions().contains(action), name);
            QCOMPARE(action->shortcut(), keys);
        }
        const auto select = [&](int top, int left, int bottom, int right) {
            grid->setCurrentIndex(grid->model()->index(top, left));
            grid->selectionModel()->select(
                QItemSelection(grid->model()->index(top, left), grid->model()->index(bottom, right)),
                QItemSelectionModel::ClearAndSelect);
        };
        // Edits go on during the start-up write: it sends what it took.
        select(0, 1, 0, 4);
        s.trigger("复制");
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("145.00000\t\t\t\n"));
        select(10, 1, 10, 1);
        s.trigger("粘贴");
        select(10, 1, 12, 1);
        s.trigger("向下填充");
        QCOMPARE(s.store().field(12, TxFrequency), FieldValue("145.00000"));
        select(12, 1, 12, 1);
        s.trigger("清除");
        QCOMPARE(s.store().field(12, TxFrequency), FieldValue(""));
        QCOMPARE(w.findChild<QAction *>(QStringLiteral("撤销"))->text(), QStringLiteral("撤销(&U) 清除"));

        select(20, 0, 21, 0);
        s.trigger("批量修改");
        auto *many = w.findChild<ChangeManyDialog *>();
        QVERIFY(many && many->isVisible());
        many->tick(Scan)->setChecked(true);
        static_cast<QComboBox *>(many->editor(Scan))->setCurrentText(QStringLiteral("del"));
        many->accept();
        QCOMPARE(s.store().field(21, Scan), FieldValue("del"));

        // The preset dialog shows every cell it would change before storing.
        select(30, 1, 30, 1);
        s.trigger("插入预设频道");
        auto *presets = w.findChild<PresetDialog *>();
        QVERIFY(presets && presets->isVisible());
        QCOMPARE(presets->findChild<QTableWidget *>(QStringLiteral("将修改"))->rowCount(), 40);
        QCOMPARE(s.store().field(30, RxFrequency), FieldValue());
        presets->accept();
        QCOMPARE(s.store().field(49, TxFrequency), FieldValue("409.98750"));

        // Finding hides rows; the table and its order stay as they are.
        const auto before = test::snapshot(s.store());
        s.trigger("隐藏空信道");
        QVERIFY(!grid->isRowHidden(0) && grid->isRowHidden(1) && !grid->isRowHidden(30));
        s.trigger("查找");
        auto *find = w.findChild<QLineEdit *>(QStringLiteral("查找框"));
        QVERIFY(find->isVisible());
        find->setText(QStringLiteral("409.98"));
        QVERIFY(grid->isRowHidden(0) && !grid->isRowHidden(49));
        find->clear();
        s.trigger("隐藏空信道");
        QVERIFY(!grid->isRowHidden(1));
        QVERIFY(test::snapshot(s.store()) == before);
        QVERIFY(s.messenger.notices.isEmpty());
    }
    void portDialog()
    {
        Started s;
        QVERIFY(s.ok);
        MainWindow &w = s.window();
        s.com1.write("C");
        auto open = [&] {
            w.showPortDialog();
            return w.findChild<PortDialog *>(QStringLiteral("Dialog"));
        };
        auto choose = [](PortDialog *d, const char *option) {
            d->findChild<QRadioButton *>(QString::fromLatin1(option))->click();
            QTest::mouseClick(d->findChild<QPushButton *>(QStringLiteral("OKButton")), Qt::LeftButton);
        };
        // During the start-up write the switch is refused and the dialog stays.
        PortDialog *dialog = open();
        QVERIFY(dialog->findChild<QRadioButton *>(QStringLiteral("Option1"))->isChecked());
        choose(dialog, "Option2");
        QCOMPARE(s.messenger.texts(), QStringList{QStringLiteral("数据传送中，请稍后再选择端口")});
        QVERIFY(dialog->isVisible());
        QTRY_VERIFY(!s.program.programmer().controller().transferRunning());
        choose(dialog, "Option2");
        QCOMPARE(s.program.programmer().link().commPort(), 2);
        QTRY_VERIFY(!w.findChild<PortDialog *>(QStringLiteral("Dialog")));
    }
    void verifyAfterWriteIsRemembered()
    {
        {
            Started s;
            QVERIFY(s.ok);
            auto *item = s.window().findChild<QAction *>(QStringLiteral("写后校验"));
            QVERIFY(item && item->isCheckable() && !item->isChecked());
            item->trigger();
        }
        Started again(false);
        QVERIFY(again.ok);
        QVERIFY(again.window().findChild<QAction *>(QStringLiteral("写后校验"))->isChecked());
    }
    void portDevices()
    {
        Started s;
        QVERIFY(s.ok);
        MainWindow &w = s.window();
        SerialLink &link = s.program.programmer().link();
        s.com1.write("C");
        QTRY_VERIFY(!s.program.programmer().controller().transferRunning());
        s.trigger("端口设备");
        s.trigger("端口设备");
        QCOMPARE(w.findChildren<PortDevicesWindow *>().size(), 1);
        auto *devices = w.findChild<PortDevicesWindow *>(QStringLiteral("PortDevices"));
        QCOMPARE(devices->windowTitle(), QStringLiteral("串口设备"));
        // The link's bytes so far: the start-up write and its poll.
        QTRY_VERIFY(devices->findChild<QLabel *>(QStringLiteral("linkCounts"))
                        ->text()
                        .contains(QStringLiteral("已发送 %1 字节").arg(link.bytesSent())));

        // A device typed by hand goes behind port 2; the search finds the
        // radio there and, asked, makes it the port in use.
        RadioSimulator radio;
        QVERIFY(radio.isValid());
        devices->findChild<QLineEdit *>(QStringLiteral("otherDevice"))->setText(radio.devicePath());
        devices->findChild<QPushButton *>(QStringLiteral("otherPort2"))->click();
        QCOMPARE(link.devicePath(2), radio.devicePath());
        QCOMPARE(link.devicePath(1), s.com1.devicePath());
        devices->findChild<QPushButton *>(QStringLiteral("findRadio"))->click();
        QTRY_COMPARE(s.messenger.questions.size(), 1);
        QVERIFY(s.messenger.questions.first().text.contains(radio.devicePath()));
        QCOMPARE(link.devicePath(1), radio.devicePath());
        QVERIFY(link.isOpen());
        QTRY_COMPARE(s.label("Label2"), QStringLiteral("对讲机就绪..."));
        QVERIFY(s.messenger.notices.isEmpty());
    }
    void helpWindows()
    {
        Started s;
        QVERIFY(s.ok);
        MainWindow &w = s.window();
        // Enter and Esc close the help windows.
        for (const char *name : {"frmAbout1", "frmAbout"}) {
            for (Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
                if (qstrcmp(name, "frmAbout") == 0)
                    w.showAbout();
                else
                    w.showInstructions();
                QPointer<QWidget> window = w.findChild<QWidget *>(QString::fromLatin1(name));
                QVERIFY(window && window->isVisible());
                QTest::keyClick(window->focusWidget() ? window->focusWidget() : window.data(), key);
                QTRY_VERIFY2(window.isNull(), name);
            }
        }
        // 系统信息 walks the whole list of programs; none found is said.
        QTemporaryDir tools;
        const QString mark = tools.filePath(QStringLiteral("started"));
        QFile script(tools.filePath(systemInfoPrograms().last()));
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\necho started > '" + QFile::encodeName(mark) + "'\n");
        script.close();
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        const QByteArray path = qgetenv("PATH");
        AboutWindow about(s.messenger, s.store().path());
        QCOMPARE(about.findChild<QLabel *>(QStringLiteral("lblStore"))->toolTip(),
                 "信道数据库：" + s.store().path());
        qputenv("PATH", QFile::encodeName(tools.path()));
        about.startSysInfo();
        QTRY_VERIFY(QFile::exists(mark));
        QVERIFY(s.messenger.notices.isEmpty());
        qputenv("PATH", "");
        about.startSysInfo();
        qputenv("PATH", path);
        QCOMPARE(s.messenger.texts(), QStringList{QStringLiteral("此时系统信息不可用")});
        QCOMPARE(s.messenger.notices.first().icon, Notice::Icon::None);
    }
    void languageSwitch()
    {
        {
            Started s;
            QVERIFY(s.ok);
            MainWindow &w = s.window();
            w.showPortDialog();
            w.showPortDevices();
            w.showHistory();
            w.showInstructions();
            w.showAbout();
            const QStringList chinese = visibleTexts(&w);
            QVERIFY(chinese.contains(QStringLiteral("文件:         文件(&F)")));

            s.trigger("English");
            QCoreApplication::processEvents(); // windows hear of the change through posted events
            QCOMPARE(languageInUse(), Language::English);
            s.trigger("批量修改"); // modal: opened in the language in use
            QStringList left;
            for (const QString &shown : visibleTexts(&w))
                if (hasChinese(shown.section(QStringLiteral(": "), 1, -1))) // object names stay Chinese
                    left << shown;
            QVERIFY2(left.isEmpty(), qPrintable(left.join(QLatin1Char('\n'))));
            QVERIFY(!hasChinese(s.label("Label2")) && !hasChinese(s.label("Label8")));
            // Messages are looked up when shown, not at start-up.
            QCOMPARE(QString(texts::kOutOfRange), QStringLiteral("Data out of range !!"));
            s.messenger.notices.clear();
            QVERIFY(!w.close()); // the start-up write is still going
            s.messenger.paths << s.dir.filePath(QStringLiteral("missing.doc"));
            s.trigger("打开");
            QCOMPARE(s.messenger.notices.size(), 2);
            for (const Notice &n : s.messenger.notices)
                QVERIFY2(!hasChinese(n.title + n.text + n.informative), qPrintable(n.text + n.informative));

            delete w.findChild<ChangeManyDialog *>();
            s.trigger("中文");
            QCoreApplication::processEvents();
            QCOMPARE(languageInUse(), Language::Chinese);
            QCOMPARE(visibleTexts(&w), chinese);
            QCOMPARE(QString(texts::kOutOfRange), QStringLiteral("数据超出范围 ！！"));
            s.trigger("English");
        }
        // Remembered for the next start; --lang is for one run only.
        {
            Started again(false);
            QCOMPARE(again.window().findChild<QMenu *>(QStringLiteral("文件"))->title(),
                     QStringLiteral("        &File"));
        }
        {
            Started once(false, QStringLiteral("zh"));
            QCOMPARE(languageInUse(), Language::Chinese);
        }
        {
            Started again(false);
            QCOMPARE(languageInUse(), Language::English);
        }
        // A missing, unreadable or empty translation: Chinese, and one line
        // on stderr.
        QTemporaryDir dir;
        QVERIFY(test::writeFile(dir.filePath(QStringLiteral("bad.qm")), "not a translation"));
        QVERIFY(test::writeFile(dir.filePath(QStringLiteral("empty.qm")),
                                QByteArray::fromHex("3cb86418caef9c95cd211cbf60a1bddd")));
        for (const QString &file :
             {dir.filePath(QStringLiteral("none.qm")), dir.filePath(QStringLiteral("bad.qm")),
              dir.filePath(QStringLiteral("empty.qm"))}) {
            QTemporaryFile err;
            QVERIFY(err.open());
            std::fflush(stderr);
            const int saved = ::dup(2);
            ::dup2(err.handle(), 2);
            const bool used = useLanguage(Language::English, file);
            std::fflush(stderr);
            ::dup2(saved, 2);
            ::close(saved);
            QVERIFY(!used);
            QCOMPARE(languageInUse(), Language::Chinese);
            QFile said(err.fileName());
            QVERIFY(said.open(QIODevice::ReadOnly));
            QCOMPARE(said.readAll().count('\n'), 1);
        }
        QSettings().clear();
    }
    void commandLine()
    {
        const QString program = QCoreApplication::applicationDirPath() + QStringLiteral("/../vq4471r");
        QVERIFY2(QFileInfo::exists(program), "the program is built beside the tests");
        // Help and version print on a console without any display.
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
                QVERIFY(out.contains("--com1") && out.contains("--db") && out.contains("--trace") &&
                        out.contains(Programmer::defaultStorePath().toUtf8()));
        }
        QProcess badLanguage;
        badLanguage.setProcessEnvironment(console);
        badLanguage.start(program, {QStringLiteral("--lang"), QStringLiteral("fr")});
        QVERIFY(badLanguage.waitForFinished(10000));
        QCOMPARE(badLanguage.exitCode(), 2);
        QVERIFY(badLanguage.readAllStandardError().startsWith("未知语言：--lang fr\n"));
        // A store that is not a channel database ends the program, untouched.
        QTemporaryDir dir;
        const QString notes = dir.filePath(QStringLiteral("notes.db"));
        QVERIFY(test::writeFile(notes, "my notes, not a database"));
        const QByteArray before = test::digest(notes);
        test::RecordingMessenger messenger;
        Program inProcess(messenger);
        ProgramOptions options;
        options.database = notes;
        QVERIFY(!inProcess.start(options));
        QVERIFY(!inProcess.window());
        QCOMPARE(messenger.texts(), QStringList{QStringLiteral("信道数据库无法打开：") + notes});
        QCOMPARE(messenger.notices.value(0).informative, QStringLiteral("该文件不是数据库"));
        QCOMPARE(test::digest(notes), before);
    }
};

QTEST_MAIN(TestWindow)
#include "tst_window.moc"
