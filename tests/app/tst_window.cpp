// The window's wiring: each control reaches its operation, and what comes
// back becomes the right message. The operations themselves are tested
// without a window.
#include "RadioSimulator.h"
#include "app/AboutWindow.h"
#include "app/BandChartWindow.h"
#include "channels/ChannelTableModel.h"
#include "plan/AdapterOffer.h"
#include "app/Appearance.h"
#include "app/Captions.h"
#include "app/ChangeManyDialog.h"
#include "app/ChannelGrid.h"
#include "app/HistoryWindow.h"
#include "app/MainWindow.h"
#include "app/PortDevicesWindow.h"
#include "app/PortDialog.h"
#include "app/PresetDialog.h"
#include "app/Program.h"
#include "app/SystemInfo.h"
#include "plan/EditTexts.h"
#include "plan/HistoryModel.h"
#include "plan/LinkTexts.h"
#include "support/GridTyping.h"
#include "support/PtyPair.h"
#include "support/RecordingMessenger.h"
#include "support/StoreHelpers.h"

#include <QAbstractItemModelTester>
#include <QHeaderView>
#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStyle>
#include <QTableWidget>
#include <QtTest>

#include <unistd.h>

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

    // `cutShort`: the store's last write into COM1 never finished.
    explicit Started(bool freshSettings = true, const QString &language = {}, bool cutShort = false)
    {
        program.programmer().controller().setIntervals(
            {.writeTick = 4, .writeDelay = 10, .readStart = 5, .blockTimeout = 300});
        // Each start begins from no remembered ports, unless it is about them.
        if (freshSettings)
            QSettings().clear();
        ProgramOptions options;
        options.database = dir.filePath(QStringLiteral("w.db"));
        // One channel, or the start-up write would leave the radio alone.
        ChannelStore plan;
        if (!plan.open(options.database) || !plan.apply({{0, RxFrequency, "145.00000"}}) ||
            (cutShort && !ChannelHistory(plan).beginWrite(com1.devicePath(), planRows(plan))))
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
    // The whole write, then the radio's "C"; probes made meanwhile are dropped.
    bool writeGoesOut()
    {
        const QByteArray line = com1.readAtLeast(1 + 50 * 32, 3000);
        com1.write("C");
        const bool ready =
            QTest::qWaitFor([&] { return label("Label2") == QStringLiteral("对讲机就绪..."); }, 5000);
        com1.readAvailable();
        return ready && line.startsWith('A');
    }
};

bool hasChinese(const QString &text)
{
    return text.contains(QRegularExpression(QStringLiteral("[\\x{3400}-\\x{9fff}\\x{ff00}-\\x{ffef}]")));
}

// Every text a user reads in `root` and the windows it owns, as "name: text":
// titles, captions, menus, tool tips and column headers. Grid cells and
// picker entries are the plan's values, not the interface; the status line
// and the byte counts move on their own; each language is offered in its
// own name.
QStringList visibleTexts(QWidget *root)
{
    QStringList out;
    QList<QObject *> objects = root->findChildren<QObject *>();
    objects.prepend(root);
    for (QObject *o : objects) {
        const QString name = o->objectName();
        if (name == QLatin1String("Label2") || name == QLatin1String("linkCounts") ||
            name == QStringLiteral("中文"))
            continue;
        for (const char *property : {"windowTitle", "toolTip", "text", "title", "placeholderText"})
            if (const QString text = o->property(property).toString(); !text.isEmpty())
                out << name + QStringLiteral(": ") + text;
        if (auto *v = qobject_cast<QAbstractItemView *>(o); v && v->model())
            for (int c = 0; c < v->model()->columnCount(); ++c)
                out << name + QStringLiteral(": ") + v->model()->headerData(c, Qt::Horizontal).toString();
    }
    return out;
}

// Every label, button and hint of `root` and the windows open under it that
// its widget cuts, as "window/name: text": drawn beyond the widget's edges,
// or the widget beyond its window's. The status line moves on its own.
QStringList cutTexts(QWidget *root)
{
    QList<QWidget *> windows{root};
    for (QWidget *child : root->findChildren<QWidget *>())
        if (child->isWindow() && child->isVisible())
            windows << child;
    QStringList cut;
    for (QWidget *window : windows)
        for (QWidget *widget : window->findChildren<QWidget *>()) {
            if (widget->window() != window || !widget->isVisibleTo(window) ||
                widget->objectName() == QLatin1String("Label2") || widget->property(kNotFitted).toBool())
                continue;
            const QFontMetrics metrics = widget->fontMetrics();
            QString text;
            QRect drawn;
            QRect room = widget->rect();
            if (auto *label = qobject_cast<QLabel *>(widget); label && !label->text().isEmpty()) {
                text = label->text();
                room = label->contentsRect();
                drawn = metrics.boundingRect(room, int(label->alignment()) | (label->wordWrap() ? Qt::TextWordWrap : 0),
                                             text);
            } else if (auto *button = qobject_cast<QAbstractButton *>(widget); button && !button->text().isEmpty()) {
                text = button->text();
                const int indicator = qobject_cast<QCheckBox *>(button) ? button->style()->pixelMetric(QStyle::PM_IndicatorWidth) : 0;
                drawn = QRect(0, 0, indicator + metrics.horizontalAdvance(text.remove(QLatin1Char('&')).trimmed()) + 4,
                              metrics.height());
            } else if (auto *edit = qobject_cast<QLineEdit *>(widget); edit && !edit->placeholderText().isEmpty()) {
                text = edit->placeholderText();
                drawn = QRect(0, 0, metrics.horizontalAdvance(text) + 8, metrics.height());
            } else {
                continue;
            }
            const QRect inWindow(widget->mapTo(window, QPoint(0, 0)), widget->size());
            if (drawn.width() > room.width() + 1 || drawn.height() > room.height() + 1 ||
                !window->rect().contains(inWindow))
                cut << window->objectName() + QLatin1Char('/') + widget->objectName() + QStringLiteral(": ") + text;
        }
    return cut;
}

// Every menu title in full on the bar, none behind its overflow arrow.
bool menusInView(QMainWindow &window)
{
    QMenuBar *bar = window.menuBar();
    const QList<QAction *> menus = bar->actions();
    return !bar->findChild<QWidget *>(QStringLiteral("qt_menubar_ext_button"))->isVisible() &&
           std::all_of(menus.begin(), menus.end(), [bar](QAction *menu) {
               return !bar->actionGeometry(menu).isEmpty() && bar->rect().contains(bar->actionGeometry(menu));
           });
}

// Each picker against the grid column under its middle: the column, how far
// its left edge is from the column's, and how much wider than the column.
QList<std::array<int, 3>> pickersOverColumns(MainWindow &window)
{
    ChannelGrid *grid = window.grid();
    QList<std::array<int, 3>> places;
    for (int n = 1; n <= 7; ++n) {
        auto *picker = window.findChild<QComboBox *>(QStringLiteral("Combo%1").arg(n));
        QWidget *form = picker->parentWidget();
        const int column = grid->columnAt(grid->viewport()->mapFrom(form, picker->geometry().center()).x());
        const int left = grid->viewport()->mapTo(form, QPoint(grid->columnViewportPosition(column), 0)).x();
        places.append({column, picker->x() - left, picker->width() - grid->columnWidth(column)});
    }
    return places;
}

// The controls a user works, in `root` and the windows open under it, that
// a screen reader meets without a name or Tab never reaches, as
// "window/object". A list box's name on Linux is the value it shows: its
// label, or else its description, says what it is for.
QStringList unreachable(QWidget *root)
{
    using R = QAccessible::Role;
    static const QList<R> worked = {R::PushButton, R::CheckBox, R::RadioButton, R::ComboBox,   R::EditableText,
                                    R::SpinBox,    R::Table,    R::List,        R::PageTabList, R::ProgressBar};
    QStringList missed;
    std::function<void(QAccessibleInterface *)> walk = [&](QAccessibleInterface *node) {
        if (!node || node->state().invisible)
            return;
        QString name = node->text(QAccessible::Name) + node->text(QAccessible::Description);
        for (const auto &[label, relation] : node->relations(QAccessible::Label))
            name += label->text(QAccessible::Name);
        auto *widget = qobject_cast<QWidget *>(node->object());
        bool tabbed = node->role() == R::ProgressBar || !widget;
        for (QWidget *w = widget ? widget->nextInFocusChain() : nullptr; !tabbed && w != widget;
             w = w->nextInFocusChain())
            tabbed = w->window() == widget->window() && (widget->focusPolicy() & Qt::TabFocus);
        if (worked.contains(node->role()) && (name.trimmed().isEmpty() || !tabbed))
            missed << widget->window()->objectName() + QLatin1Char('/') + widget->objectName();
        for (int i = 0; i < node->childCount(); ++i)
            walk(node->child(i));
    };
    walk(QAccessible::queryAccessibleInterface(root));
    for (QWidget *child : root->findChildren<QWidget *>())
        if (child->isWindow() && child->isVisible())
            walk(QAccessible::queryAccessibleInterface(child));
    return missed;
}

const char *const kLockedMenus[] = {"读信道", "写信道", "系统", "退出", "帮助"};

} // namespace

class TestWindow : public QObject {
    Q_OBJECT
private slots:
    // As the program names itself: without it QSettings reads nothing back.
    void initTestCase() { nameApplication(); }
    // The form opens at the size it was drawn for and grows with the window:
    // the grid takes the room, each picker stays over its column, every
    // channel is in view on a full-height screen, every menu title is in
    // view even with a desktop's large text, and the window comes back as
    // it was left, on a screen that is there.
    void windowGrows()
    {
        const QFont desktopFont = QApplication::font();
        QApplication::setFont(songFont(14));
        {
            Started s;
            QVERIFY(s.ok);
            MainWindow &w = s.window();
            QWidget *form = w.centralWidget();
            ChannelGrid *grid = w.grid();
            QCOMPARE(form->size(), QSize(twips(form, 11880), twips(form, 8100)));
            QCOMPARE(w.width(), form->width());
            QCOMPARE(grid->geometry(), twipsRect(form, 720, 2160, 10335, 5295));
            QCOMPARE(w.findChild<QComboBox *>(QStringLiteral("Combo1"))->geometry(),
                     twipsRect(form, 3240, 2520, 855, 330));
            const int ownRow = grid->rowHeight(0);
            const int spare = grid->viewport()->width() - grid->horizontalHeader()->length();
            const QList<std::array<int, 3>> places = pickersOverColumns(w);
            for (const char *language : {"English", "中文"}) {
                s.trigger(language);
                QCoreApplication::processEvents();
                QVERIFY2(menusInView(w), language);
            }
            // At twice the scale the icon is drawn from an image twice its size.
            for (int size : {16, 24, 32, 48, 128})
                QCOMPARE(w.windowIcon().pixmap(QSize(size, size), 2.0).size(), QSize(2 * size, 2 * size));

            w.resize(1920, 1040);
            QCOMPARE(pickersOverColumns(w), places);
            // The columns share the width gained.
            QVERIFY(qAbs(grid->viewport()->width() - grid->horizontalHeader()->length() - spare) <= kFieldCount);
            QVERIFY(grid->rowViewportPosition(kChannelCount - 1) + grid->rowHeight(kChannelCount - 1) <=
                    grid->viewport()->height());
            grid->setColumnWidth(places[2][0], grid->columnWidth(places[2][0]) + 40);
            QCOMPARE(pickersOverColumns(w), places);
            // Back at a height where the channels do not all fit: rows as they were.
            w.resize(900, 600);
            QCOMPARE(grid->rowHeight(0), ownRow);
            grid->horizontalScrollBar()->setValue(grid->horizontalScrollBar()->maximum());
            for (QComboBox *picker : form->findChildren<QComboBox *>())
                QVERIFY(!picker->isVisible() || grid->geometry().contains(picker->geometry()));

            w.showMaximized();
            QTRY_VERIFY(w.isMaximized());
            QVERIFY(s.writeGoesOut());
            QVERIFY(w.close());
        }
        QApplication::setFont(desktopFont);
        {
            Started again(false);
            QVERIFY(again.window().isMaximized());
            again.window().showNormal();
            again.window().setGeometry(5000, 5000, 800, 600);
            QVERIFY(again.writeGoesOut());
            QVERIFY(again.window().close());
        }
        Started back(false);
        QVERIFY(back.window().screen()->availableGeometry().intersects(back.window().frameGeometry()));
        QCOMPARE(back.window().size(), QSize(800, 600));
    }
    // A write cut short last time is told at start, before anything else.
    void toldOfAWriteCutShort()
    {
        Started s(true, {}, true);
        QVERIFY(s.ok);
        QVERIFY2(s.messenger.texts().value(0).contains(s.com1.devicePath()), qPrintable(s.messenger.texts().join('\n')));
    }
    // Everything from the keyboard, and every control named for a screen
    // reader in both languages, in the main window and each dialog.
    void keyboardAndScreenReader()
    {
        Started s;
        QVERIFY(s.ok);
        MainWindow &w = s.window();
        for (const char *language : {"English", "中文"}) {
            s.trigger(language);
            QCoreApplication::processEvents();
            for (const char *name : {"端口", "端口设备", "历史记录", "操作", "关于", "批量修改", "插入预设频道"})
                s.trigger(name);
            const QStringList missed = unreachable(&w);
            QVERIFY2(missed.isEmpty(), qPrintable(missed.join(QLatin1Char(' '))));
            for (QWidget *open : QApplication::topLevelWidgets())
                if (open != &w)
                    open->close();
        }
        QVERIFY(s.writeGoesOut());

        // F2 and Enter open a cell; F4 opens the column's picker, whose
        // pick goes to the current row, and then the grid has the keys again.
        ChannelGrid *grid = w.grid();
        w.windowHandle()->requestActivate();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        grid->setFocus();
        const QModelIndex first = grid->model()->index(0, RxFrequency);
        for (Qt::Key key : {Qt::Key_F2, Qt::Key_Return}) {
            grid->setCurrentIndex(first);
            QTest::keyClick(grid, key);
            QVERIFY(grid->indexWidget(first));
            grid->commitOpenEditor();
        }
        grid->setCurrentIndex(grid->model()->index(0, RxTone));
        QTest::keyClick(grid, Qt::Key_F4);
        auto *picker = w.findChild<QComboBox *>(QStringLiteral("Combo1"));
        QTRY_VERIFY(picker->view()->isVisible());
        QTest::keyClick(picker->view(), Qt::Key_Down);
        QTest::keyClick(picker->view(), Qt::Key_Return);
        QCOMPARE(s.store().field(0, RxTone), FieldValue(picker->currentText().toStdString()));
        QTRY_COMPARE(QApplication::focusWidget(), grid);

        // Alt+Down moves the channel and the selection with it; a row header
        // dragged moves the rows selected; each is one step to undo.
        const ChannelRecord channel = test::snapshot(s.store())[0];
        const auto holds = [&](int row) {
            ChannelRecord there = test::snapshot(s.store())[static_cast<std::size_t>(row)];
            there[ChannelNumber] = channel[ChannelNumber];
            return there == channel;
        };
        grid->selectRow(0);
        QTest::keyClick(grid, Qt::Key_Down, Qt::AltModifier);
        QVERIFY(holds(1));
        QCOMPARE(grid->currentRow(), 1);
        grid->verticalHeader()->moveSection(1, 4);
        QVERIFY(holds(4));
        QCOMPARE(grid->verticalHeader()->logicalIndex(4), 4); // the grid keeps the table's order
        QVERIFY(grid->selectionModel()->isRowSelected(4, {}));
        s.trigger("撤销");
        QVERIFY(holds(1));

        // During a read nothing moves or opens. The status line's text is
        // its name for a screen reader, which hears it change (the test
        // platform has no screen reader to send the change to).
        s.messenger.notices.clear();
        s.trigger("读信道");
        QCOMPARE(QAccessible::queryAccessibleInterface(w.findChild<QLabel *>(QStringLiteral("Label2")))
                     ->text(QAccessible::Name),
                 QString(texts::kStatusReading));
        grid->setFocus();
        QTest::keyClick(grid, Qt::Key_Down, Qt::AltModifier);
        QTest::keyClick(grid, Qt::Key_F2);
        QVERIFY(holds(1) && !grid->indexWidget(grid->currentIndex()));
        QCOMPARE(s.messenger.texts(), QStringList{QString(texts::kTransferBusyRetry)});
        s.trigger("中止");

        // A channel transmitting where the chosen rules do not allow is
        // marked with its reason, counted under the status line, and a write
        // from the menu asks first; "no" sends nothing.
        s.program.programmer().airCheck().choose({QStringLiteral("cn"), false});
        QVERIFY(test::typeIntoCell(grid, 40, RxFrequency, QStringLiteral("145.5"))); // the transmit side follows
        const QModelIndex marked = grid->model()->index(40, 0);
        QVERIFY(marked.data(ChannelTableModel::kNotedRole).toBool());
        QVERIFY(marked.data(Qt::ToolTipRole).toString().contains(QStringLiteral("业余执照")));
        QCOMPARE(s.label("频率规则提示"), QStringLiteral("1个信道不符合所选频率规则"));
        s.messenger.yes = false;
        s.trigger("写信道");
        QVERIFY(s.messenger.questions.last().informative.startsWith(QStringLiteral("第41信道：")));
        QVERIFY(!s.com1.readAtLeast(1, 300).contains('A')); // probes only, no write
        s.messenger.yes = true;
    }
    // A new user's USB cable: while the radio does not answer, a free USB
    // adapter is offered, also one plugged in later; one click puts it
    // behind port 1, remembers it and polls there. Nothing reaches it before.
    void freeAdapterOffered()
    {
        Started s;
        QVERIFY(s.ok);
        QTemporaryDir tree;
        const SystemFolders folders{.byIdFolder = tree.filePath(QStringLiteral("by-id"))};
        QVERIFY(QDir().mkpath(folders.byIdFolder));
        PtyPair cable, held;
        test::DeviceHolder holder(held.devicePath());
        QVERIFY(holder.isHolding());
        QVERIFY(QFile::link(held.devicePath(), folders.byIdFolder + QStringLiteral("/usb-Held-if00-port0")));
        AdapterOffer &offer = s.program.programmer().adapterOffer();
        offer.setSystemFolders(folders);
        s.program.programmer().controller().setIntervals(
            {.writeTick = 4, .writeDelay = 10, .readStart = 5, .blockTimeout = 300, .silence = 100});
        QVERIFY(s.com1.readAtLeast(1 + 50 * 32, 3000).startsWith('A')); // the start-up write, never answered
        QTRY_COMPARE(s.label("Label2"), QString(texts::kStatusSilent));
        auto *button = s.window().findChild<QPushButton *>(QStringLiteral("改用USB串口"));
        QVERIFY(offer.offered().isEmpty() && !button->isVisible()); // the only adapter is held

        const QString plugged = folders.byIdFolder + QStringLiteral("/usb-Radio_Cable-if00-port0");
        QVERIFY(QFile::link(cable.devicePath(), plugged));
        QTRY_COMPARE(offer.offered(), plugged);
        QVERIFY(button->isVisible() && button->text().contains(QFileInfo(cable.devicePath()).fileName()));
        QVERIFY(cable.readAvailable().isEmpty() && held.readAvailable().isEmpty());
        button->click();
        QCOMPARE(s.program.programmer().ports().deviceInUse(), plugged);
        QCOMPARE(QSettings().value(QStringLiteral("ports/com1")).toString(), plugged);
        QVERIFY(!cable.readAtLeast(1, 2000).isEmpty() && !button->isVisible()); // the poll, there
        QVERIFY(held.readAvailable().isEmpty());
    }
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
        QCOMPARE(w.menuBar()->actions().at(1)->objectName(), QStringLiteral("编辑"));
        QVERIFY(s.enabled("编辑")); // edits during a write are fine
        // The close box does not cut the write off.
        w.show();
        QVERIFY(!w.close());
        QVERIFY(w.isVisible() && s.messenger.texts().value(0).startsWith(QStringLiteral("正在写入对讲机")));
        s.messenger.notices.clear();
        QVERIFY(s.writeGoesOut());
        for (const char *name : kLockedMenus)
            QVERIFY2(s.enabled(name), name);
        QCOMPARE(w.findChild<QProgressBar *>(QStringLiteral("ProgressBar1"))->value(), 0);
        // 读信道 and Esc reach the line.
        s.trigger("读信道");
        QCOMPARE(s.com1.readAtLeast(1, 2000).right(1), QByteArray("B"));
        s.trigger("中止");
        QCOMPARE(s.messenger.questions.value(0).text, QStringLiteral("确定要中止读取吗？"));
        QVERIFY(!s.program.programmer().controller().transferRunning());

        // Each file command asks with its filter; 打开 puts the first row current.
        const QString file = s.dir.filePath(QStringLiteral("plan.doc"));
        s.messenger.paths << file << file;
        w.grid()->makeRowCurrent(9);
        for (const char *name : {"保存", "打开", "导出CSV", "导入CSV", "导出PDF", "保存通信记录", "保存诊断报告"})
            s.trigger(name);
        QCOMPARE(w.grid()->currentRow(), 0);
        const QString csv = QStringLiteral("CSV 文件 (*.csv);;通用格式 (*.csv)");
        QCOMPARE(s.messenger.filters,
                 (QStringList{"text(*.doc)", "text(*.doc)", csv, csv, "PDF 文件 (*.pdf)", "text(*.txt)", "text(*.txt)"}));
        QCOMPARE(QFileInfo(s.messenger.starts.value(s.messenger.starts.size() - 2)).absolutePath(), DataFolders::logFolder());
        // 撤销 and 重做 say what they take back and do it through the store.
        QCOMPARE(w.findChild<QAction *>(QStringLiteral("撤销"))->text(), QStringLiteral("撤销(&U) 打开文件"));
        const FieldValue scan = s.store().field(0, Scan);
        w.pick(5, QStringLiteral("del"));
        s.trigger("撤销");
        QCOMPARE(s.store().field(0, Scan), scan);
        s.trigger("重做");
        QCOMPARE(s.store().field(0, Scan), FieldValue("del"));

        // Each satellite opens one window, again after it was closed; 波特率 opens nothing and says nothing.
        for (const char *name : {"波特率", "端口", "操作", "关于", "历史记录", "频段图"}) {
            const int before = w.findChildren<QWidget *>().size();
            s.trigger(name);
            s.trigger(name);
            const int opened = w.findChildren<QWidget *>().size() - before;
            QVERIFY2(qstrcmp(name, "波特率") == 0 ? opened == 0 : opened > 0, name);
        }
        // The plan written at start-up was kept once: the file replaced the same table.
        HistoryModel *history = w.findChild<HistoryWindow *>(QStringLiteral("History"))->model();
        // The list keeps Qt's model rules (a flat list: no row has children).
        const QAbstractItemModelTester rules(history, QAbstractItemModelTester::FailureReportingMode::QtTest);
        QCOMPARE(history->rowCount(), 1);
        QVERIFY(history->idAt(0) > 0 && history->idAt(-1) == 0 && history->idAt(1) == 0);
        QVERIFY(!history->headerData(HistoryModel::Reason, Qt::Horizontal, Qt::DisplayRole).toString().isEmpty());
        QCOMPARE(history->index(0, HistoryModel::Reason).data().toString(),
                 QStringLiteral("启动时写入对讲机"));
        QCOMPARE(history->index(0, HistoryModel::Differing).data().toInt(), 1); // channel 1's scan, picked since
        // The band chart follows the table, and a click on a mark makes its channel current.
        auto *chart = w.findChild<BandChartWindow *>(QStringLiteral("BandChart"));
        const std::size_t marks = chart->chart().marks.size();
        QVERIFY(test::typeIntoCell(w.grid(), 20, RxFrequency, QStringLiteral("438.5")));
        QCOMPARE(chart->chart().marks.size(), marks + 1);
        const BandChart::Mark &added = chart->chart().marks.back();
        QTest::mouseClick(chart, Qt::LeftButton, {}, QPointF(added.rxX, added.y).toPoint());
        QCOMPARE(w.grid()->currentRow(), added.channel - 1);
        // 系统信息 walks the whole list of programs; none found is said.
        auto *about = w.findChild<AboutWindow *>(QStringLiteral("frmAbout"));
        QCOMPARE(about->findChild<QLabel *>(QStringLiteral("lblStore"))->toolTip(),
                 "信道数据库：" + s.store().path());
        const QString mark = s.dir.filePath(QStringLiteral("started"));
        QVERIFY(test::writeFile(s.dir.filePath(systemInfoPrograms().last()),
                                "#!/bin/sh\necho started > '" + QFile::encodeName(mark) + "'\n"));
        QFile(s.dir.filePath(systemInfoPrograms().last())).setPermissions(QFile::ReadOwner | QFile::ExeOwner);
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(s.dir.path()));
        about->startSysInfo();
        QTRY_VERIFY(QFile::exists(mark));
        qputenv("PATH", "");
        about->startSysInfo();
        qputenv("PATH", path);
        QCOMPARE(s.messenger.texts(), QStringList{QStringLiteral("此时系统信息不可用")});
        QCOMPARE(s.messenger.notices.first().icon, Notice::Icon::None);
        // Enter and Esc close the help windows too.
        for (const auto &[name, key] : {std::pair{"Dialog", Qt::Key_unknown},
                                        {"History", Qt::Key_unknown},
                                        {"frmAbout1", Qt::Key_Return},
                                        {"frmAbout", Qt::Key_Escape}}) {
            QCOMPARE(w.findChildren<QWidget *>(QString::fromLatin1(name)).size(), 1);
            QPointer<QWidget> shown = w.findChild<QWidget *>(QString::fromLatin1(name));
            QVERIFY2(shown->isVisible() && shown->isWindow(), name);
            if (key == Qt::Key_unknown)
                shown->close();
            else
                QTest::keyClick(shown->focusWidget() ? shown->focusWidget() : shown.data(), key);
            QTRY_VERIFY2(shown.isNull(), name);
        }
        // 退出 closes the window and lets the port go.
        s.trigger("退出");
        QVERIFY(!w.isVisible());
        test::DeviceHolder other(s.com1.devicePath());
        QVERIFY(other.isHolding());
    }
    // Each export writes the layout of the filter the user picked, known by
    // its place in the list, and offers the filters in the language in use.
    void exportsWriteTheLayoutPicked()
    {
        Started s(true, QStringLiteral("en"));
        QVERIFY(s.ok);
        const auto header = [&](const char *name) {
            QFile file(s.dir.filePath(QString::fromLatin1(name)));
            return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readLine()).remove(QChar(0xFEFF))
                                                  : QString();
        };
        s.messenger.paths << s.dir.filePath(QStringLiteral("own.csv"))
                          << s.dir.filePath(QStringLiteral("common.csv"));
        s.messenger.chosenFilters << 0 << 1;
        s.trigger("导出CSV");
        s.trigger("导出CSV");
        s.window().showHistory();
        auto *history = s.window().findChild<HistoryWindow *>(QStringLiteral("History"));
        QTRY_VERIFY(history->selectRow(0)); // the start-up write's snapshot
        s.messenger.paths << s.dir.filePath(QStringLiteral("then.csv"))
                          << s.dir.filePath(QStringLiteral("then.doc"));
        s.messenger.chosenFilters << 2 << 0;
        history->exportSelected();
        history->exportSelected();
        QVERIFY(s.messenger.notices.isEmpty());
        QCOMPARE(s.messenger.filters.value(0), QStringLiteral("CSV files (*.csv);;Common layout (*.csv)"));
        QCOMPARE(s.messenger.filters.value(2),
                 QStringLiteral("text(*.doc);;CSV files (*.csv);;Common layout (*.csv)"));
        QVERIFY(!header("own.csv").startsWith(QStringLiteral("Location")));
        QVERIFY(header("common.csv").startsWith(QStringLiteral("Location")));
        QVERIFY(header("then.csv").startsWith(QStringLiteral("Location")));
        QVERIFY(QFileInfo(s.dir.filePath(QStringLiteral("then.doc"))).size() > 0);
        // The database itself, picked in the dialog, is never written over.
        const QString store = s.dir.filePath(QStringLiteral("w.db"));
        const QByteArray before = test::digest(store);
        s.messenger.paths << store;
        s.trigger("导出CSV");
        QCOMPARE(s.messenger.notices.size(), 1);
        QCOMPARE(test::digest(store), before);
    }
    void editing()
    {
        Started s;
        QVERIFY(s.ok);
        MainWindow &w = s.window();
        ChannelGrid *grid = w.grid();
        w.show();
        QApplication::setActiveWindow(&w);
        QVERIFY(QTest::qWaitForWindowActive(&w));

        // Typed values and their warnings go through the plan.
        QVERIFY(test::typeIntoCell(grid, 3, RxFrequency, QStringLiteral("438.5031")));
        QCOMPARE(s.store().field(3, TxFrequency), FieldValue("438.50000"));
        QVERIFY(test::typeIntoCell(grid, 3, RxFrequency, QStringLiteral("500.00001")));
        QCOMPARE(s.messenger.texts(), QStringList{QStringLiteral("数据超出范围 ！！")});
        QVERIFY(!(grid->model()->flags(grid->model()->index(3, RxTone)) & Qt::ItemIsEditable));

        // A value still in an open editor is stored (and checked) before a pick.
        QVERIFY(test::typeIntoCell(grid, 7, RxFrequency, QStringLiteral("438.5"), false));
        w.pick(5, QStringLiteral("del"));
        QCOMPARE(s.store().field(7, RxFrequency), FieldValue("438.50000"));
        QCOMPARE(s.store().field(7, Scan), FieldValue("del"));
        QVERIFY(!grid->indexWidget(grid->currentIndex()));
        s.messenger.notices.clear();

        // The 编辑 menu on the selection.
        const auto select = [&](int top, int left, int bottom, int right) {
            grid->setCurrentIndex(grid->model()->index(top, left));
            grid->selectionModel()->select(
                QItemSelection(grid->model()->index(top, left), grid->model()->index(bottom, right)),
                QItemSelectionModel::ClearAndSelect);
        };
        select(0, 1, 0, 1);
        s.trigger("复制");
        select(10, 1, 10, 1);
        s.trigger("粘贴");
        select(10, 1, 12, 1);
        s.trigger("向下填充");
        QCOMPARE(s.store().field(12, RxFrequency), FieldValue("145.00000"));
        select(11, 1, 11, 1);
        s.trigger("清除");
        QCOMPARE(s.store().field(11, RxFrequency), FieldValue(""));

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

        // Finding hides rows, as the find box and 隐藏空信道 ask.
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
        QVERIFY(s.messenger.notices.isEmpty());
    }
    void portWindows()
    {
        Started s;
        QVERIFY(s.ok);
        MainWindow &w = s.window();
        SerialLink &link = s.program.programmer().link();
        s.com1.write("C");
        // During the start-up write a switch is refused and the dialog stays.
        w.showPortDialog();
        auto *dialog = w.findChild<PortDialog *>(QStringLiteral("Dialog"));
        QVERIFY(dialog->findChild<QRadioButton *>(QStringLiteral("Option1"))->isChecked());
        const auto choose2 = [&] {
            dialog->findChild<QRadioButton *>(QStringLiteral("Option2"))->click();
            QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("OKButton")), Qt::LeftButton);
        };
        choose2();
        QCOMPARE(s.messenger.texts(), QStringList{QStringLiteral("数据传送中，请稍后再选择端口")});
        QVERIFY(dialog->isVisible());
        QTRY_VERIFY(!s.program.programmer().controller().transferRunning());
        choose2();
        QCOMPARE(link.commPort(), 2);
        QTRY_VERIFY(!w.findChild<PortDialog *>(QStringLiteral("Dialog")));
        s.messenger.notices.clear();

        s.trigger("端口设备");
        s.trigger("端口设备");
        QCOMPARE(w.findChildren<PortDevicesWindow *>().size(), 1);
        auto *devices = w.findChild<PortDevicesWindow *>(QStringLiteral("PortDevices"));
        QCOMPARE(devices->windowTitle(), QStringLiteral("串口设备"));
        QTRY_VERIFY(devices->findChild<QLabel *>(QStringLiteral("linkCounts"))
                        ->text()
                        .contains(QStringLiteral("已发送 %1 字节").arg(link.bytesSent())));
        // A device typed by hand goes behind port 1; the search finds the
        // radio there and, asked, puts it behind the port in use.
        RadioSimulator radio;
        QVERIFY(radio.isValid());
        devices->findChild<QLineEdit *>(QStringLiteral("otherDevice"))->setText(radio.devicePath());
        devices->findChild<QPushButton *>(QStringLiteral("otherPort1"))->click();
        QCOMPARE(link.devicePath(1), radio.devicePath());
        devices->findChild<QPushButton *>(QStringLiteral("findRadio"))->click();
        QTRY_COMPARE(s.messenger.questions.size(), 1);
        QVERIFY(s.messenger.questions.first().text.contains(radio.devicePath()));
        QCOMPARE(link.devicePath(2), radio.devicePath());
        QTRY_COMPARE(s.label("Label2"), QStringLiteral("对讲机就绪..."));
        QVERIFY(s.messenger.notices.isEmpty());
    }
    void languageSwitch()
    {
        {
            Started s;
            QVERIFY(s.ok);
            MainWindow &w = s.window();
            for (const char *name : {"端口", "端口设备", "历史记录", "操作", "关于"})
                s.trigger(name);
            const QStringList chinese = visibleTexts(&w);
            QStringList cut = cutTexts(&w);
            QVERIFY2(cut.isEmpty(), qPrintable(cut.join(QLatin1Char('\n'))));
            QVERIFY(chinese.contains(QStringLiteral("文件:         文件(&F)")));
            auto *verify = w.findChild<QAction *>(QStringLiteral("写后校验"));
            QVERIFY(verify->isCheckable() && !verify->isChecked());
            verify->trigger(); // remembered, as the language is

            s.trigger("English");
            QCoreApplication::processEvents(); // windows hear of the change through posted events
            s.trigger("批量修改");             // modal: opened in the language in use
            QStringList left;
            for (const QString &shown : visibleTexts(&w))
                if (hasChinese(shown.section(QStringLiteral(": "), 1, -1))) // object names stay Chinese
                    left << shown;
            QVERIFY2(left.isEmpty(), qPrintable(left.join(QLatin1Char('\n'))));
            // Every text fits in English too: labels grow or wrap, windows grow.
            cut = cutTexts(&w);
            QVERIFY2(cut.isEmpty(), qPrintable(cut.join(QLatin1Char('\n'))));
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
            QCOMPARE(visibleTexts(&w), chinese);
            s.trigger("English");
        }
        // Remembered for the next start; --lang is for one run only.
        {
            Started again(false);
            QCOMPARE(again.window().findChild<QMenu *>(QStringLiteral("文件"))->title(),
                     QStringLiteral("        &File"));
            QVERIFY(again.window().findChild<QAction *>(QStringLiteral("写后校验"))->isChecked());
        }
        {
            Started once(false, QStringLiteral("zh"));
            QCOMPARE(languageInUse(), Language::Chinese);
        }
        {
            Started again(false);
            QCOMPARE(languageInUse(), Language::English);
        }
        // A missing, unreadable or empty translation: Chinese, and one line on stderr.
        QTemporaryDir dir;
        QVERIFY(test::writeFile(dir.filePath(QStringLiteral("bad.qm")), "not a translation"));
        QVERIFY(test::writeFile(dir.filePath(QStringLiteral("empty.qm")),
                                QByteArray::fromHex("3cb86418caef9c95cd211cbf60a1bddd")));
        for (const char *name : {"none.qm", "bad.qm", "empty.qm"}) {
            QTemporaryFile err;
            QVERIFY(err.open());
            std::fflush(stderr);
            const int saved = ::dup(2);
            ::dup2(err.handle(), 2);
            const bool used = useLanguage(Language::English, dir.filePath(QString::fromLatin1(name)));
            std::fflush(stderr);
            ::dup2(saved, 2);
            ::close(saved);
            QVERIFY2(!used && languageInUse() == Language::Chinese, name);
            QFile said(err.fileName());
            QVERIFY(said.open(QIODevice::ReadOnly));
            QCOMPARE(said.readAll().count('\n'), 1);
        }
        QVERIFY(useLanguage(Language::Chinese)); // Chinese needs no file, so it is always usable
        QSettings().clear();
    }
    // Help and version print on a console without any display; a mistaken
    // line names its mistake just above the usage and starts nothing.
    void commandLine()
    {
        const QString program = QCoreApplication::applicationDirPath() + QStringLiteral("/../vq4471r");
        QVERIFY2(QFileInfo::exists(program), "the program is built beside the tests");
        QProcessEnvironment console = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            console.remove(QString::fromLatin1(name));
        // clang-format off
        const QList<std::pair<QStringList, QString>> runs = {
            {{"--version"}, {}}, {{"--help"}, {}}, {{"--lang", "fr"}, "未知语言：--lang fr"},
            {{"myplan.db"}, "myplan.db"}, {{"--bd", "x.db"}, "--bd"}, {{"-x"}, "-x"},
            {{"--db=a.db", "--db=b.db"}, "--db"}, {{"--db", ""}, "选项的值为空：--db"}, {{"--com1", " "}, "--com1"},
            {{"--db=:memory:"}, ":memory:"}};
        // clang-format on
        for (const auto &[arguments, mistake] : runs) {
            QProcess p;
            p.setProcessEnvironment(console);
            p.start(program, arguments);
            QVERIFY(p.waitForFinished(10000));
            const QString out = QString::fromUtf8(p.readAllStandardOutput());
            const QString err = QString::fromUtf8(p.readAllStandardError());
            QCOMPARE(p.exitCode(), mistake.isEmpty() ? 0 : 2);
            const QString above = err.section(QStringLiteral("Usage:"), 0, 0).trimmed().section('\n', -1);
            QVERIFY2(mistake.isEmpty() ? out.contains("vq4471r")
                                       : above.contains(mistake) && err.contains("--com1"),
                     qPrintable(out + err));
            if (arguments.first() == QLatin1String("--help"))
                QVERIFY(out.contains("--com1") && out.contains("--db") && out.contains("--trace") &&
                        out.contains(DataFolders::defaultStorePath()));
        }
    }
};

QTEST_MAIN(TestWindow)
#include "tst_window.moc"
