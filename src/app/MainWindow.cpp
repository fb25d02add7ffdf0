#include "app/MainWindow.h"

#include "app/AboutWindow.h"
#include "app/Appearance.h"
#include "app/ChangeManyDialog.h"
#include "app/ChannelGrid.h"
#include "app/HistoryWindow.h"
#include "app/InstructionsWindow.h"
#include "app/Captions.h"
#include "app/Messenger.h"
#include "app/PortDevicesWindow.h"
#include "app/PortDialog.h"
#include "app/PresetDialog.h"
#include "channels/ChannelTableModel.h"
#include "channels/PickerRules.h"
#include "channels/ValueDomains.h"
#include "plan/Programmer.h"

#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QDate>
#include <QFrame>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QProgressBar>

namespace vq {

namespace {

const QString kTraceFilter = QStringLiteral("text(*.txt)");
constexpr QAbstractItemView::EditTriggers kEditTriggers =
    QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed;

// Left and width (twips) of the pickers, over grid columns 2, 3, 5, 6, 7, 8, 9.
constexpr std::array<std::array<int, 2>, 7> kPickerPlaces = {
    {{3240, 855}, {4200, 855}, {6480, 855}, {7560, 855}, {8520, 735}, {9240, 615}, {9960, 615}}};

QLabel *makeLabel(QWidget *parent, const char *name, const QString &caption, const QFont &font,
                  const QRect &geometry)
{
    auto *label = new QLabel(caption, parent);
    label->setObjectName(QString::fromUtf8(name));
    label->setFont(font);
    label->setGeometry(geometry);
    return label;
}

// One instance of a satellite window: shown again (and raised) while it is
// open; a closed one deletes itself and the pointer reads null, so the next
// use builds it afresh with what is true then.
template <typename Make> void showOnce(QPointer<QWidget> &window, Make make)
{
    if (!window) {
        window = make();
        window->setAttribute(Qt::WA_DeleteOnClose);
    }
    window->show();
    window->raise();
    window->activateWindow();
}

} // namespace

MainWindow::MainWindow(Programmer &programmer, Messenger &messenger, QWidget *parent)
    : QMainWindow(parent), programmer_(programmer), messenger_(messenger), cardPrinter_(programmer.store())
{
    setObjectName(QStringLiteral("启动窗体"));
    setWindowTitle(QStringLiteral("VQ4471R"));
    setWindowIcon(appIcon());
    buildControls();
    buildMenus();

    connect(&programmer_, &Programmer::statusChanged, status_, &QLabel::setText);
    connect(&programmer_, &Programmer::progressChanged, progress_, &QProgressBar::setValue);
    connect(&programmer_, &Programmer::transferRunningChanged, this,
            [this](bool running) { setTransferMenusEnabled(!running); });
    connect(&programmer_, &Programmer::firstRowCurrent, this, [this] { grid_->makeRowCurrent(0); });
    connect(&programmer_, &Programmer::readingChanged, this, [this](bool reading) {
        grid_->setEditTriggers(reading ? QAbstractItemView::NoEditTriggers : kEditTriggers);
        for (QComboBox *picker : pickers_)
            picker->setEnabled(!reading);
    });
    connect(&programmer_, &Programmer::notice, this,
            [this](const Notice &notice) { messenger_.show(notice); });
}

MainWindow::~MainWindow()
{
    // The programmer outlives the window: nothing of it may call back here.
    programmer_.disconnect(this);
    model_->setEditHandler({});
    programmer_.shutDown();
}

void MainWindow::tell(const Result &result)
{
    for (const Notice &notice : result.notices)
        messenger_.show(notice);
}

void MainWindow::changeEvent(QEvent *event)
{
    // Back from another window, perhaps another copy of this program: show
    // the table as it is in the file now.
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        programmer_.store().refreshIfChangedElsewhere();
    if (event->type() == QEvent::LanguageChange) {
        // Satellite windows are children: their fixed captions change here too.
        recaption(this);
        showUndoState();
        showDate();
        programmer_.restateStatus();
        emit model_->headerDataChanged(Qt::Horizontal, 0, kFieldCount - 1);
        languageActions_[languageInUse() == Language::English]->setChecked(true);
    }
    QMainWindow::changeEvent(event);
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    // Never half-way through a write; a read is ended and the table kept.
    const Result allowed = programmer_.requestClose();
    tell(allowed);
    if (!allowed.ok) {
        event->ignore();
        return;
    }
    // A value still in an open cell editor is stored (and checked) first;
    // then the port is let go, as the program ends with this window.
    grid_->commitOpenEditor();
    programmer_.shutDown();
    QMainWindow::closeEvent(event);
}

void MainWindow::buildControls()
{
    auto *client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    client->setFont(songFont(18));
    setCentralWidget(client);
    client->setFixedSize(twips(this, 11880), twips(this, 8100));

    setCaption(this,
               makeLabel(client, "Label1", QString(), kaiFont(26.25), twipsRect(this, 4200, 720, 3735, 855)),
               "text", QT_TR_NOOP("信道设置系统"));
    makeLabel(client, "Label3", QStringLiteral("(VQ_4471R)"), songFont(15.75),
              twipsRect(this, 5040, 1320, 1695, 375));
    status_ = makeLabel(client, "Label2", QStringLiteral(" "), kaiFont(15.75),
                        twipsRect(this, 7920, 720, 3855, 375));

    auto *frame = new QGroupBox(client);
    setCaption(this, frame, "title", QT_TR_NOOP("日期"));
    frame->setObjectName(QStringLiteral("Frame2"));
    frame->setFont(kaiFont(15.75));
    frame->setGeometry(twipsRect(this, 600, 600, 2175, 735));
    // The style measures the title narrower than a large CJK caption draws.
    frame->setStyleSheet(
        QStringLiteral("QGroupBox::title { subcontrol-origin: margin; left: 6px; padding: 0 8px 0 2px; }"));
    date_ = makeLabel(frame, "Label8", QStringLiteral("Label8"), kaiFont(12),
                      twipsRect(this, 240, 360, 1695, 255));

    makeLabel(client, "Label6", QStringLiteral("Label6"), font(), twipsRect(this, 10080, 3600, 495, 15));

    auto *line = new QFrame(client);
    line->setObjectName(QStringLiteral("Line1"));
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Plain);
    line->setGeometry(0, twips(this, 120), twips(this, 11880), 1);

    progress_ = new QProgressBar(client);
    progress_->setObjectName(QStringLiteral("ProgressBar1"));
    progress_->setRange(0, 100);
    progress_->setValue(0);
    progress_->setTextVisible(false);
    progress_->setGeometry(twipsRect(this, 8280, 1320, 3015, 255));

    model_ = new ChannelTableModel(programmer_.store(), this);
    model_->setEditHandler([this](int row, int column, const QString &text) {
        tell(programmer_.applyTypedValue(row, column, text,
                                         [this](const Notice &notice) { messenger_.show(notice); }));
    });
    grid_ = new ChannelGrid(client);
    grid_->setObjectName(QStringLiteral("DataGrid1"));
    grid_->setModel(model_);
    grid_->setFont(kaiFont(12));
    grid_->setGeometry(twipsRect(this, 720, 2160, 10335, 5295));
    // Cells and rows are selected as in a spreadsheet; the pickers still act
    // on the current row.
    grid_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    grid_->setEditTriggers(kEditTriggers);
    QHeaderView *header = grid_->horizontalHeader();
    header->setFont(kaiFont(12));
    header->setHighlightSections(false);
    header->setDefaultAlignment(Qt::Alignment(Qt::AlignLeft | Qt::AlignTop) |
                                Qt::Alignment(Qt::TextWordWrap));
    // Three lines of caption: the pickers sit in the lower two.
    header->setFixedHeight(QFontMetrics(kaiFont(12)).lineSpacing() * 3 + 6);
    header->setSectionResizeMode(QHeaderView::Interactive);
    for (int column = 0; column < kFieldCount; ++column)
        grid_->setColumnWidth(column, twips(this, columnWidthsTwips()[static_cast<std::size_t>(column)]));
    grid_->verticalHeader()->setFixedWidth(twips(this, 270));
    grid_->verticalHeader()->setDefaultSectionSize(QFontMetrics(kaiFont(12)).lineSpacing() + 6);

    QPalette red;
    red.setColor(QPalette::Text, Qt::red);
    red.setColor(QPalette::ButtonText, Qt::red);
    for (int n = 1; n <= kPickerCount; ++n) {
        auto *combo = new QComboBox(client);
        combo->setObjectName(QStringLiteral("Combo%1").arg(n));
        combo->setEditable(false);
        combo->setFont(songFont(10.5));
        combo->setPalette(red);
        for (std::string_view entry : pickerEntries(n))
            combo->addItem(QString::fromUtf8(entry.data(), static_cast<qsizetype>(entry.size())));
        combo->setCurrentIndex(combo->findText(QStringLiteral(" ")));
        const auto &place = kPickerPlaces[static_cast<std::size_t>(n - 1)];
        combo->setGeometry(twipsRect(this, place[0], 2520, place[1], 330));
        combo->raise();
        connect(combo, &QComboBox::activated, this,
                [this, n, combo](int index) { pick(n, combo->itemText(index)); });
        pickers_[static_cast<std::size_t>(n - 1)] = combo;
    }
    // Tab order as the pickers' tab indices give it: 1, 2, 5, 6, 7 over
    // the receive side and flags, then 3 and 4 over the transmit tones.
    QWidget::setTabOrder(pickers_[0], pickers_[1]);
    QWidget::setTabOrder(pickers_[1], pickers_[4]);
    QWidget::setTabOrder(pickers_[4], pickers_[5]);
    QWidget::setTabOrder(pickers_[5], pickers_[6]);
    QWidget::setTabOrder(pickers_[6], pickers_[2]);
    QWidget::setTabOrder(pickers_[2], pickers_[3]);

    find_ = new QLineEdit(client);
    find_->setObjectName(QStringLiteral("查找框"));
    setCaption(this, find_, "placeholderText", QT_TR_NOOP("查找：输入任一字段中的文字"));
    find_->setClearButtonEnabled(true);
    find_->setFont(songFont(10.5));
    find_->setGeometry(twipsRect(this, 720, 1740, 3960, 360));
    find_->hide();
    connect(find_, &QLineEdit::textChanged, this, &MainWindow::showMatchingRows);
    // A changed value may match the find text, or empty a channel.
    connect(&programmer_.store(), &ChannelStore::rowsChanged, this, &MainWindow::showMatchingRows);
    connect(&programmer_.store(), &ChannelStore::rowCountChanged, this, &MainWindow::showMatchingRows);

    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

void MainWindow::buildMenus()
{
    QMenuBar *bar = menuBar();
    auto named = [this](auto *object, const char *name, const char *caption = nullptr) {
        object->setObjectName(QString::fromUtf8(name));
        if (caption)
            setCaption(this, object,
                       std::is_base_of_v<QMenu, std::remove_pointer_t<decltype(object)>> ? "title" : "text",
                       caption);
        return object;
    };

    QMenu *file = named(bar->addMenu(QString()), "文件", QT_TR_NOOP("        文件(&F)"));
    named(file->menuAction(), "文件");
    QAction *open = named(file->addAction(QString()), "打开", QT_TR_NOOP("打开文件(&O)"));
    QAction *save = named(file->addAction(QString()), "保存", QT_TR_NOOP("保存文件(&V)"));
    connect(open, &QAction::triggered, this, &MainWindow::openChannelFile);
    connect(save, &QAction::triggered, this, &MainWindow::saveChannelFile);
    QAction *exportCsv = named(file->addAction(QString()), "导出CSV", QT_TR_NOOP("导出CSV(&E)..."));
    QAction *importCsv = named(file->addAction(QString()), "导入CSV", QT_TR_NOOP("导入CSV(&I)..."));
    connect(exportCsv, &QAction::triggered, this, &MainWindow::exportCsv);
    connect(importCsv, &QAction::triggered, this, &MainWindow::importCsv);
    QAction *print = named(file->addAction(QString()), "打印", QT_TR_NOOP("打印(&P)..."));
    print->setShortcut(QKeySequence::Print);
    QAction *exportPdf = named(file->addAction(QString()), "导出PDF", QT_TR_NOOP("导出PDF(&D)..."));
    connect(print, &QAction::triggered, this, &MainWindow::printCard);
    connect(exportPdf, &QAction::triggered, this, &MainWindow::exportPdf);
    QAction *history = named(file->addAction(QString()), "历史记录", QT_TR_NOOP("历史记录(&H)..."));
    connect(history, &QAction::triggered, this, &MainWindow::showHistory);

    // Not among the menus a transfer locks: edits during a write are fine.
    QMenu *edit = named(bar->addMenu(QString()), "编辑", QT_TR_NOOP("        编辑(&D)"));
    named(edit->menuAction(), "编辑");
    undoAction_ = named(edit->addAction(QString()), "撤销");
    undoAction_->setShortcut(QKeySequence::Undo);
    redoAction_ = named(edit->addAction(QString()), "重做");
    redoAction_->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    connect(undoAction_, &QAction::triggered, this, [this] {
        grid_->commitOpenEditor();
        tell(programmer_.undo());
    });
    connect(redoAction_, &QAction::triggered, this, [this] {
        grid_->commitOpenEditor();
        tell(programmer_.redo());
    });
    buildEditActions(edit);
    QUndoStack &stack = programmer_.undoStack();
    connect(&stack, &QUndoStack::indexChanged, this, &MainWindow::showUndoState);
    connect(&programmer_, &Programmer::readingChanged, this, &MainWindow::showUndoState);
    showUndoState();

    // Esc stops a read; a write is never stopped, and says so.
    auto *stop = named(new QAction(this), "中止");
    stop->setShortcut(Qt::Key_Escape);
    stop->setShortcutContext(Qt::WindowShortcut);
    addAction(stop);
    connect(stop, &QAction::triggered, this, [this] {
        tell(programmer_.cancelTransfer(
            [this] { return messenger_.ask(errorNotice(texts::kAskCancelRead)); }));
    });

    readAction_ = named(bar->addAction(QString()), "读信道", QT_TR_NOOP("        读信道数据(&R)"));
    writeAction_ = named(bar->addAction(QString()), "写信道", QT_TR_NOOP("        写信道数据(&W)"));
    connect(readAction_, &QAction::triggered, this, [this] {
        grid_->commitOpenEditor(); // a typed value is kept before the read begins
        tell(programmer_.read());
    });
    connect(writeAction_, &QAction::triggered, this, [this] { tell(programmer_.write()); });

    systemMenu_ = named(bar->addMenu(QString()), "系统", QT_TR_NOOP("        系统设置(&S)"));
    named(systemMenu_->menuAction(), "系统");
    QAction *port = named(systemMenu_->addAction(QString()), "端口", QT_TR_NOOP("选择端口(&P)"));
    named(systemMenu_->addAction(QString()), "波特率", QT_TR_NOOP("波特率(&B)")); // has no action
    connect(port, &QAction::triggered, this, &MainWindow::showPortDialog);
    QAction *devices = named(systemMenu_->addAction(QString()), "端口设备", QT_TR_NOOP("端口设备(&D)..."));
    connect(devices, &QAction::triggered, this, &MainWindow::showPortDevices);
    QAction *verify = named(systemMenu_->addAction(QString()), "写后校验", QT_TR_NOOP("写后校验(&V)"));
    verify->setCheckable(true);
    verify->setChecked(programmer_.verifyAfterWrite());
    connect(verify, &QAction::toggled, &programmer_, &Programmer::setVerifyAfterWrite);
    buildLanguageMenu();

    exitAction_ = named(bar->addAction(QString()), "退出", QT_TR_NOOP("       退出系统(&E)"));
    connect(exitAction_, &QAction::triggered, this, &QWidget::close);

    helpMenu_ = named(bar->addMenu(QString()), "帮助", QT_TR_NOOP("       帮助(&H)"));
    named(helpMenu_->menuAction(), "帮助");
    QAction *instructions = named(helpMenu_->addAction(QString()), "操作", QT_TR_NOOP("操作说明(&I)"));
    QAction *about = named(helpMenu_->addAction(QString()), "关于", QT_TR_NOOP("关于本软件(&A)"));
    connect(instructions, &QAction::triggered, this, &MainWindow::showInstructions);
    connect(about, &QAction::triggered, this, &MainWindow::showAbout);
    QAction *trace =
        named(helpMenu_->addAction(QString()), "保存通信记录", QT_TR_NOOP("保存通信记录(&T)..."));
    connect(trace, &QAction::triggered, this, &MainWindow::saveTrace);
}

void MainWindow::buildLanguageMenu()
{
    QMenu *menu = systemMenu_->addMenu(QString());
    menu->setObjectName(QStringLiteral("语言"));
    menu->menuAction()->setObjectName(QStringLiteral("语言"));
    setCaption(this, menu, "title", QT_TR_NOOP("语言(&L)"));
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

void MainWindow::buildEditActions(QMenu *edit)
{
    const auto add = [this, edit](const char *caption, const char *name, const QKeySequence &keys, auto run) {
        QAction *action = edit->addAction(QString());
        setCaption(this, action, "text", caption);
        action->setObjectName(QString::fromUtf8(name));
        action->setShortcut(keys);
        connect(action, &QAction::triggered, this, [this, run] {
            grid_->commitOpenEditor();
            run();
        });
        return action;
    };
    edit->addSeparator();
    add(QT_TR_NOOP("复制(&C)"), "复制", QKeySequence::Copy, [this] { copyCells(); });
    add(QT_TR_NOOP("粘贴(&P)"), "粘贴", QKeySequence::Paste, [this] { pasteCells(); });
    add(QT_TR_NOOP("清除(&L)"), "清除", QKeySequence::Delete,
        [this] { tell(programmer_.clearCells(selectedCells())); });
    add(QT_TR_NOOP("向下填充(&F)"), "向下填充", QKeySequence(Qt::CTRL | Qt::Key_D),
        [this] { tell(programmer_.fillDown(selectedCells())); });
    add(QT_TR_NOOP("批量修改(&M)..."), "批量修改", {}, [this] { showChangeMany(); });
    add(QT_TR_NOOP("插入预设频道(&T)..."), "插入预设频道", {}, [this] { showPresets(); });
    edit->addSeparator();
    add(QT_TR_NOOP("查找(&S)"), "查找", QKeySequence::Find, [this] {
        find_->show();
        find_->setFocus();
        find_->selectAll();
    });
    hideEmpty_ = add(QT_TR_NOOP("隐藏空信道(&H)"), "隐藏空信道", {}, [this] { showMatchingRows(); });
    hideEmpty_->setCheckable(true);
}

std::vector<Cell> MainWindow::selectedCells() const
{
    std::vector<Cell> cells;
    // Hidden rows are never among them: an edit touches only what is shown.
    for (const QModelIndex &index : grid_->selectionModel()->selectedIndexes())
        cells.push_back({index.row(), index.column()});
    if (cells.empty() && grid_->currentIndex().isValid())
        cells.push_back({grid_->currentIndex().row(), grid_->currentIndex().column()});
    return cells;
}

std::vector<int> MainWindow::selectedRows() const
{
    std::vector<int> rows;
    for (const Cell &cell : selectedCells())
        if (std::find(rows.begin(), rows.end(), cell.row) == rows.end())
            rows.push_back(cell.row);
    return rows;
}

void MainWindow::copyCells()
{
    QApplication::clipboard()->setText(programmer_.copyCells(selectedCells()));
}

void MainWindow::pasteCells()
{
    const QModelIndex current = grid_->currentIndex();
    std::vector<Cell> selection;
    for (const QModelIndex &index : grid_->selectionModel()->selectedIndexes())
        selection.push_back({index.row(), index.column()});
    tell(
        programmer_.paste(QApplication::clipboard()->text(), selection,
                          {current.isValid() ? current.row() : 0, current.isValid() ? current.column() : 1}));
}

void MainWindow::showChangeMany()
{
    const std::vector<int> rows = selectedRows();
    auto *dialog = new ChangeManyDialog(rows, this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QDialog::accepted, this,
            [this, dialog, rows] { tell(programmer_.changeMany(rows, dialog->change())); });
    dialog->open();
}

void MainWindow::showPresets()
{
    QString problem;
    std::vector<ChannelPreset> presets = shippedChannelPresets(&problem);
    if (presets.empty()) {
        Notice notice = errorNotice(texts::kPresetsUnavailable);
        notice.informative = problem;
        messenger_.show(notice);
        return;
    }
    auto *dialog = new PresetDialog(programmer_, selectedRows(), std::move(presets), this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QDialog::accepted, this,
            [this, dialog] { tell(programmer_.insertPreset(dialog->rows(), dialog->chosen())); });
    dialog->open();
}

void MainWindow::showMatchingRows()
{
    if (!find_ || !hideEmpty_)
        return;
    const QByteArray find = find_->text().toUtf8();
    const std::vector<bool> visible = visibleRows(
        planRows(programmer_.store()),
        std::string_view(find.constData(), static_cast<std::size_t>(find.size())), hideEmpty_->isChecked());
    for (std::size_t row = 0; row < visible.size(); ++row)
        grid_->setRowHidden(static_cast<int>(row), !visible[row]);
}

void MainWindow::showUndoState()
{
    // A read's batch must land on the table it started from.
    const bool reading = programmer_.isReading();
    const QUndoStack &stack = programmer_.undoStack();
    const auto caption = [](const QString &verb, const QString &step) {
        return step.isEmpty() ? verb : verb + QLatin1Char(' ') + step;
    };
    undoAction_->setText(caption(tr("撤销(&U)"), stack.undoText()));
    redoAction_->setText(caption(tr("重做(&R)"), stack.redoText()));
    undoAction_->setEnabled(stack.canUndo() && !reading);
    redoAction_->setEnabled(stack.canRedo() && !reading);
}

void MainWindow::setTransferMenusEnabled(bool enabled)
{
    readAction_->setEnabled(enabled);
    writeAction_->setEnabled(enabled);
    systemMenu_->menuAction()->setEnabled(enabled);
    exitAction_->setEnabled(enabled);
    helpMenu_->menuAction()->setEnabled(enabled);
}

void MainWindow::startUp()
{
    today_ = QDate::currentDate();
    showDate();
    tell(programmer_.openPort());
    grid_->makeRowCurrent(0);
    tell(programmer_.startUpWrite());
}

void MainWindow::showDate()
{
    if (today_.isValid())
        date_->setText(tr("%1年%2月%3日").arg(today_.year()).arg(today_.month()).arg(today_.day()));
}

void MainWindow::pick(int picker, const QString &text)
{
    grid_->commitOpenEditor();
    tell(programmer_.applyPick(picker, grid_->currentRow(), text));
}

void MainWindow::saveChannelFile()
{
    tell(programmer_.saveChannelFile([this] { return messenger_.askSavePath(kChannelFileFilter); }));
}

void MainWindow::saveTrace()
{
    tell(programmer_.saveTrace(
        [this] { return messenger_.askSavePath(kTraceFilter, nullptr, Programmer::newTracePath()); }));
}

void MainWindow::openChannelFile()
{
    tell(programmer_.openChannelFile([this] { return messenger_.askOpenPath(kChannelFileFilter); }));
}

void MainWindow::exportCsv()
{
    QString chosen;
    const QString path = messenger_.askSavePath(kCsvFilters, &chosen);
    if (!path.isEmpty())
        tell(programmer_.exportCsv(csvLayoutOf(chosen), [&path] { return path; }));
}

void MainWindow::importCsv()
{
    grid_->commitOpenEditor();
    tell(programmer_.importCsv([this] { return messenger_.askOpenPath(kCsvFilters); }));
}

void MainWindow::printCard()
{
    grid_->commitOpenEditor(); // the card shows what the grid shows
    cardPrinter_.preview(this);
}

void MainWindow::exportPdf()
{
    grid_->commitOpenEditor();
    const QString path = messenger_.askSavePath(texts::kPdfFilter);
    if (path.isEmpty())
        return;
    const bool only =
        ChannelCard::hasEmptyChannels(planRows(programmer_.store())) &&
        messenger_.ask(Notice{Notice::Icon::None, texts::kCardTitle, texts::kAskPdfOnlyWithRx, {}});
    tell(cardPrinter_.exportPdf(path, only));
}

void MainWindow::showPortDialog()
{
    // Built afresh after a close, its options show the port then in use.
    showOnce(portDialog_, [this] { return new PortDialog(programmer_, messenger_, this); });
}

void MainWindow::showPortDevices()
{
    showOnce(portDevices_, [this] { return new PortDevicesWindow(programmer_, messenger_, this); });
}

void MainWindow::showHistory()
{
    showOnce(history_, [this] { return new HistoryWindow(programmer_, messenger_, this); });
}

void MainWindow::showInstructions()
{
    showOnce(instructions_, [this] { return new InstructionsWindow(this); });
}

void MainWindow::showAbout()
{
    showOnce(about_, [this] { return new AboutWindow(messenger_, programmer_.store().path(), this); });
}

} // namespace vq
