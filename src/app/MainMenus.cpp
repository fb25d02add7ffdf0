#include "app/MainMenus.h"

#include "app/Captions.h"
#include "app/ChannelGrid.h"
#include "app/MainForm.h"
#include "app/MainWindow.h"
#include "app/Messenger.h"
#include "plan/Programmer.h"
#include "plan/LinkTexts.h"

#include <QActionGroup>
#include <QCoreApplication>
#include <QMenuBar>

#include <type_traits>

namespace vq {

MainMenus::MainMenus(MainWindow &window, MainForm &form, Programmer &programmer, Messenger &messenger)
    : QObject(&window), window_(window), form_(form), programmer_(programmer), messenger_(messenger)
{
    buildFileMenu();
    buildEditMenu();
    buildTransfers();
    buildSystemMenu();
    buildHelpMenu();
    connect(&programmer_, &Programmer::transferRunningChanged, this,
            [this](bool running) { setTransferMenusEnabled(!running); });
}

template <typename Object> Object *MainMenus::named(Object *object, const char *name, const char *caption)
{
    object->setObjectName(QString::fromUtf8(name));
    if (caption)
        setCaption(&window_, object, std::is_base_of_v<QMenu, Object> ? "title" : "text", caption);
    return object;
}

void MainMenus::buildFileMenu()
{
    QMenu *file = named(window_.menuBar()->addMenu(QString()), "文件",
                        QT_TRANSLATE_NOOP("vq::MainWindow", "        文件(&F)"));
    named(file->menuAction(), "文件");
    QAction *open =
        named(file->addAction(QString()), "打开", QT_TRANSLATE_NOOP("vq::MainWindow", "打开文件(&O)"));
    QAction *save =
        named(file->addAction(QString()), "保存", QT_TRANSLATE_NOOP("vq::MainWindow", "保存文件(&V)"));
    connect(open, &QAction::triggered, &window_, &MainWindow::openChannelFile);
    connect(save, &QAction::triggered, &window_, &MainWindow::saveChannelFile);
    QAction *exportCsv =
        named(file->addAction(QString()), "导出CSV", QT_TRANSLATE_NOOP("vq::MainWindow", "导出CSV(&E)..."));
    QAction *importCsv =
        named(file->addAction(QString()), "导入CSV", QT_TRANSLATE_NOOP("vq::MainWindow", "导入CSV(&I)..."));
    connect(exportCsv, &QAction::triggered, &window_, &MainWindow::exportCsv);
    connect(importCsv, &QAction::triggered, &window_, &MainWindow::importCsv);
    QAction *print =
        named(file->addAction(QString()), "打印", QT_TRANSLATE_NOOP("vq::MainWindow", "打印(&P)..."));
    print->setShortcut(QKeySequence::Print);
    QAction *exportPdf =
        named(file->addAction(QString()), "导出PDF", QT_TRANSLATE_NOOP("vq::MainWindow", "导出PDF(&D)..."));
    connect(print, &QAction::triggered, &window_, &MainWindow::printCard);
    connect(exportPdf, &QAction::triggered, &window_, &MainWindow::exportPdf);
    QAction *chart =
        named(file->addAction(QString()), "频段图", QT_TRANSLATE_NOOP("vq::MainWindow", "频段图(&B)..."));
    connect(chart, &QAction::triggered, &window_, &MainWindow::showBandChart);
    QAction *history =
        named(file->addAction(QString()), "历史记录", QT_TRANSLATE_NOOP("vq::MainWindow", "历史记录(&H)..."));
    connect(history, &QAction::triggered, &window_, &MainWindow::showHistory);
}

void MainMenus::buildEditMenu()
{
    // Not among the menus a transfer locks: edits during a write are fine.
    QMenu *edit = named(window_.menuBar()->addMenu(QString()), "编辑",
                        QT_TRANSLATE_NOOP("vq::MainWindow", "        编辑(&D)"));
    named(edit->menuAction(), "编辑");
    undoAction_ = named(edit->addAction(QString()), "撤销");
    undoAction_->setShortcut(QKeySequence::Undo);
    redoAction_ = named(edit->addAction(QString()), "重做");
    redoAction_->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    connect(undoAction_, &QAction::triggered, this, [this] {
        form_.grid()->commitOpenEditor();
        messenger_.tell(programmer_.editor().undo());
    });
    connect(redoAction_, &QAction::triggered, this, [this] {
        form_.grid()->commitOpenEditor();
        messenger_.tell(programmer_.editor().redo());
    });
    buildEditActions(edit);
    connect(&programmer_.editor(), &TableEditor::undoStateChanged, this, &MainMenus::showUndoState);
    connect(&programmer_, &Programmer::readingChanged, this, &MainMenus::showUndoState);
    showUndoState();
}

void MainMenus::buildEditActions(QMenu *edit)
{
    const auto add = [this, edit](const char *caption, const char *name, const QKeySequence &keys, auto run) {
        QAction *action = named(edit->addAction(QString()), name, caption);
        action->setShortcut(keys);
        connect(action, &QAction::triggered, this, [this, run] {
            form_.grid()->commitOpenEditor();
            run();
        });
        return action;
    };
    edit->addSeparator();
    add(QT_TRANSLATE_NOOP("vq::MainWindow", "复制(&C)"), "复制", QKeySequence::Copy,
        [this] { window_.copyCells(); });
    add(QT_TRANSLATE_NOOP("vq::MainWindow", "粘贴(&P)"), "粘贴", QKeySequence::Paste,
        [this] { window_.pasteCells(); });
    add(QT_TRANSLATE_NOOP("vq::MainWindow", "清除(&L)"), "清除", QKeySequence::Delete,
        [this] { messenger_.tell(programmer_.editor().clearCells(form_.selectedCells())); });
    add(QT_TRANSLATE_NOOP("vq::MainWindow", "向下填充(&F)"), "向下填充", QKeySequence(Qt::CTRL | Qt::Key_D),
        [this] { messenger_.tell(programmer_.editor().fillDown(form_.selectedCells())); });
    add(QT_TRANSLATE_NOOP("vq::MainWindow", "批量修改(&M)..."), "批量修改", {},
        [this] { window_.showChangeMany(); });
    add(QT_TRANSLATE_NOOP("vq::MainWindow", "插入预设频道(&T)..."), "插入预设频道", {},
        [this] { window_.showPresets(); });
    edit->addSeparator();
    // Row operations; the grid offers them on its context menu too.
    QList<QAction *> rowActions{
        add(QT_TRANSLATE_NOOP("vq::MainWindow", "按接收频率排序(&O)"), "按接收频率排序", {},
            [this] { messenger_.tell(programmer_.editor().sortRows(SortKey::Receive)); }),
        add(QT_TRANSLATE_NOOP("vq::MainWindow", "按发送频率排序(&X)"), "按发送频率排序", {},
            [this] { messenger_.tell(programmer_.editor().sortRows(SortKey::Transmit)); }),
        add(QT_TRANSLATE_NOOP("vq::MainWindow", "上移信道(&J)"), "上移信道", QKeySequence(Qt::ALT | Qt::Key_Up),
            [this] { moveSelectedRows(-1); }),
        add(QT_TRANSLATE_NOOP("vq::MainWindow", "下移信道(&N)"), "下移信道", QKeySequence(Qt::ALT | Qt::Key_Down),
            [this] { moveSelectedRows(1); }),
        add(QT_TRANSLATE_NOOP("vq::MainWindow", "插入信道(&I)"), "插入信道", {},
            [this] {
                const QModelIndex current = form_.grid()->currentIndex();
                messenger_.tell(programmer_.editor().insertRow(
                    current.isValid() ? current.row() : 0, [this](const Notice &q) { return messenger_.ask(q); }));
            }),
        add(QT_TRANSLATE_NOOP("vq::MainWindow", "删除信道(&E)"), "删除信道", QKeySequence(Qt::CTRL | Qt::Key_Delete),
            [this] { messenger_.tell(programmer_.editor().deleteRows(form_.selectedRows())); }),
    };
    form_.grid()->addActions(rowActions);
    form_.grid()->setContextMenuPolicy(Qt::ActionsContextMenu);
    edit->addSeparator();
    add(QT_TRANSLATE_NOOP("vq::MainWindow", "查找(&S)"), "查找", QKeySequence::Find,
        [this] { form_.showFind(); });
    QAction *hideEmpty = add(QT_TRANSLATE_NOOP("vq::MainWindow", "隐藏空信道(&H)"), "隐藏空信道", {}, [] {});
    hideEmpty->setCheckable(true);
    // After the open editor is stored, as every edit command does.
    connect(hideEmpty, &QAction::triggered, &form_, &MainForm::setHidingEmpty);
}

void MainMenus::moveSelectedRows(int delta)
{
    const std::vector<int> rows = form_.selectedRows();
    const Result moved = programmer_.editor().moveRows(rows, delta);
    messenger_.tell(moved);
    if (!moved.ok || rows.empty())
        return;
    // The selection goes with the channels: each to the next row shown.
    const ShownRows shown = programmer_.editor().shownRows();
    const auto next = [&](int row) {
        for (int r = row + delta; r >= 0 && r < kChannelCount; r += delta)
            if (shown.empty() || shown[static_cast<std::size_t>(r)])
                return r;
        return row;
    };
    std::vector<int> after;
    for (int row : rows)
        after.push_back(next(row));
    form_.selectRows(after, next(form_.grid()->currentIndex().row()));
}

void MainMenus::buildTransfers()
{
    // Esc stops a read; a write is never stopped, and says so.
    auto *stop = named(new QAction(&window_), "中止");
    stop->setShortcut(Qt::Key_Escape);
    stop->setShortcutContext(Qt::WindowShortcut);
    window_.addAction(stop);
    connect(stop, &QAction::triggered, this, [this] {
        messenger_.tell(programmer_.transfers().cancelTransfer(
            [this] { return messenger_.ask(errorNotice(texts::kAskCancelRead)); }));
    });

    QMenuBar *bar = window_.menuBar();
    readAction_ = named(bar->addAction(QString()), "读信道",
                        QT_TRANSLATE_NOOP("vq::MainWindow", "        读信道数据(&R)"));
    compareAction_ = named(bar->addAction(QString()), "与对讲机比较",
                           QT_TRANSLATE_NOOP("vq::MainWindow", "        与对讲机比较(&M)"));
    writeAction_ = named(bar->addAction(QString()), "写信道",
                         QT_TRANSLATE_NOOP("vq::MainWindow", "        写信道数据(&W)"));
    connect(compareAction_, &QAction::triggered, this, [this] {
        form_.grid()->commitOpenEditor();
        messenger_.tell(programmer_.transfers().compare());
    });
    connect(readAction_, &QAction::triggered, this, [this] {
        form_.grid()->commitOpenEditor(); // a typed value is kept before the read begins
        messenger_.tell(programmer_.transfers().read());
    });
    connect(writeAction_, &QAction::triggered, this, [this] {
        messenger_.tell(programmer_.transfers().write([this](const Notice &q) { return messenger_.ask(q); }));
    });
}

void MainMenus::buildSystemMenu()
{
    systemMenu_ = named(window_.menuBar()->addMenu(QString()), "系统",
                        QT_TRANSLATE_NOOP("vq::MainWindow", "        系统设置(&S)"));
    named(systemMenu_->menuAction(), "系统");
    QAction *port =
        named(systemMenu_->addAction(QString()), "端口", QT_TRANSLATE_NOOP("vq::MainWindow", "选择端口(&P)"));
    named(systemMenu_->addAction(QString()), "波特率",
          QT_TRANSLATE_NOOP("vq::MainWindow", "波特率(&B)")); // has no action
    connect(port, &QAction::triggered, &window_, &MainWindow::showPortDialog);
    QAction *devices = named(systemMenu_->addAction(QString()), "端口设备",
                             QT_TRANSLATE_NOOP("vq::MainWindow", "端口设备(&D)..."));
    connect(devices, &QAction::triggered, &window_, &MainWindow::showPortDevices);
    QAction *verify = named(systemMenu_->addAction(QString()), "写后校验",
                            QT_TRANSLATE_NOOP("vq::MainWindow", "写后校验(&V)"));
    verify->setCheckable(true);
    verify->setChecked(programmer_.transfers().verifyAfterWrite());
    connect(verify, &QAction::toggled, &programmer_.transfers(), &Transfers::setVerifyAfterWrite);
    QAction *rules = named(systemMenu_->addAction(QString()), "频率规则",
                           QT_TRANSLATE_NOOP("vq::MainWindow", "频率规则(&G)..."));
    connect(rules, &QAction::triggered, &window_, &MainWindow::showAirRules);
    buildLanguageMenu();

    exitAction_ = named(window_.menuBar()->addAction(QString()), "退出",
                        QT_TRANSLATE_NOOP("vq::MainWindow", "       退出系统(&E)"));
    connect(exitAction_, &QAction::triggered, &window_, &QWidget::close);
}

void MainMenus::buildLanguageMenu()
{
    QMenu *menu =
        named(systemMenu_->addMenu(QString()), "语言", QT_TRANSLATE_NOOP("vq::MainWindow", "语言(&L)"));
    named(menu->menuAction(), "语言");
    auto *group = new QActionGroup(menu);
    // Each language by its own name, whatever the interface speaks now.
    const std::array<std::pair<Language, QString>, 2> choices = {
        {{Language::Chinese, QStringLiteral("中文")}, {Language::English, QStringLiteral("English")}}};
    for (const auto &[language, name] : choices) {
        QAction *action = menu->addAction(name);
        action->setObjectName(name);
        action->setCheckable(true);
        action->setChecked(languageInUse() == language);
        group->addAction(action);
        connect(action, &QAction::triggered, this,
                [this, language = language] { emit languageChosen(language); });
        languageActions_[language == Language::English] = action;
    }
}

void MainMenus::buildHelpMenu()
{
    helpMenu_ = named(window_.menuBar()->addMenu(QString()), "帮助",
                      QT_TRANSLATE_NOOP("vq::MainWindow", "       帮助(&H)"));
    named(helpMenu_->menuAction(), "帮助");
    QAction *instructions =
        named(helpMenu_->addAction(QString()), "操作", QT_TRANSLATE_NOOP("vq::MainWindow", "操作说明(&I)"));
    QAction *about =
        named(helpMenu_->addAction(QString()), "关于", QT_TRANSLATE_NOOP("vq::MainWindow", "关于本软件(&A)"));
    connect(instructions, &QAction::triggered, &window_, &MainWindow::showInstructions);
    connect(about, &QAction::triggered, &window_, &MainWindow::showAbout);
    QAction *report = named(helpMenu_->addAction(QString()), "保存诊断报告",
                            QT_TRANSLATE_NOOP("vq::MainWindow", "保存诊断报告(&R)..."));
    connect(report, &QAction::triggered, &window_, &MainWindow::saveReport);
    QAction *trace = named(helpMenu_->addAction(QString()), "保存通信记录",
                           QT_TRANSLATE_NOOP("vq::MainWindow", "保存通信记录(&T)..."));
    connect(trace, &QAction::triggered, &window_, &MainWindow::saveTrace);
}

void MainMenus::restate()
{
    showUndoState();
    languageActions_[languageInUse() == Language::English]->setChecked(true);
}

void MainMenus::showUndoState()
{
    const TableEditor &stack = programmer_.editor();
    const auto caption = [](const QString &verb, const QString &step) {
        return step.isEmpty() ? verb : verb + QLatin1Char(' ') + step;
    };
    undoAction_->setText(
        caption(QCoreApplication::translate("vq::MainWindow", "撤销(&U)"), stack.undoText()));
    redoAction_->setText(
        caption(QCoreApplication::translate("vq::MainWindow", "重做(&R)"), stack.redoText()));
    undoAction_->setEnabled(stack.canUndo());
    redoAction_->setEnabled(stack.canRedo());
}

void MainMenus::setTransferMenusEnabled(bool enabled)
{
    readAction_->setEnabled(enabled);
    compareAction_->setEnabled(enabled);
    writeAction_->setEnabled(enabled);
    systemMenu_->menuAction()->setEnabled(enabled);
    exitAction_->setEnabled(enabled);
    helpMenu_->menuAction()->setEnabled(enabled);
}

} // namespace vq
