#include "app/MainForm.h"
#include "app/FormPlaces.h"

#include "app/Appearance.h"
#include "app/Captions.h"
#include "app/ChannelGrid.h"
#include "app/Messenger.h"
#include "channels/ChannelTableModel.h"
#include "channels/PickerRules.h"
#include "channels/ValueDomains.h"
#include "plan/Programmer.h"
#include "plan/RowOrder.h"

#include <QAccessible>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QHeaderView>
#include <QItemSelection>
#include <QLabel>
#include <QLineEdit>
#include <QFileInfo>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>

namespace vq {

using namespace form;

namespace {

constexpr QAbstractItemView::EditTriggers kEditTriggers =
    QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed;

QLabel *makeLabel(QWidget *parent, const char *name, const QString &caption, const QFont &font,
                  const QRect &geometry)
{
    auto *label = new QLabel(caption, parent);
    label->setObjectName(QString::fromUtf8(name));
    label->setFont(font);
    label->setGeometry(geometry);
    return label;
}

} // namespace

MainForm::MainForm(Programmer &programmer, Messenger &messenger, QWidget *window)
    : QWidget(window), programmer_(programmer), messenger_(messenger)
{
    setObjectName(QStringLiteral("client"));
    setFont(songFont(18));
    firstSize_ = QSize(twips(this, kFormWidth), twips(this, kFormHeight));
    setMinimumSize(firstSize_);
    buildLabels();
    buildGrid();
    buildPickers();
    buildFind();
    buildAdapterOffer();
    resize(firstSize_);

    connect(&programmer_, &Programmer::statusChanged, status_, [this](const QString &text) {
        status_->setText(text);
        // Said as it changes, as a status bar's text would be.
        QAccessibleEvent changed(status_, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&changed);
    });
    connect(&programmer_, &Programmer::progressChanged, progress_, &QProgressBar::setValue);
    connect(&programmer_, &Programmer::firstRowCurrent, this, [this] { grid_->makeRowCurrent(0); });
    connect(&programmer_, &Programmer::readingChanged, this, [this](bool reading) {
        grid_->setEditTriggers(reading ? QAbstractItemView::NoEditTriggers : kEditTriggers);
        for (QComboBox *picker : pickers_)
            picker->setEnabled(!reading);
    });
}

void MainForm::buildLabels()
{
    setCaption(this,
               makeLabel(this, "Label1", QString(), kaiFont(26.25), twipsRect(this, 4200, 720, 3735, 855)),
               "text", QT_TR_NOOP("信道设置系统"));
    makeLabel(this, "Label3", QStringLiteral("(VQ_4471R)"), songFont(15.75),
              twipsRect(this, 5040, 1320, 1695, 375));
    status_ =
        makeLabel(this, "Label2", QStringLiteral(" "), kaiFont(15.75), twipsRect(this, 7920, 720, 3855, 375));

    auto *frame = new QGroupBox(this);
    setCaption(this, frame, "title", QT_TR_NOOP("日期"));
    frame->setObjectName(QStringLiteral("Frame2"));
    frame->setFont(kaiFont(15.75));
    frame->setGeometry(twipsRect(this, 600, 600, 2175, 735));
    // The style measures the title narrower than a large CJK caption draws.
    frame->setStyleSheet(
        QStringLiteral("QGroupBox::title { subcontrol-origin: margin; left: 6px; padding: 0 8px 0 2px; }"));
    date_ = makeLabel(frame, "Label8", QStringLiteral("Label8"), kaiFont(12),
                      twipsRect(this, 240, 360, 1695, 255));

    // In the window's own font, as the form has it: one pixel high, a rule
    // rather than a text, so fitting leaves it as it is.
    makeLabel(this, "Label6", QStringLiteral("Label6"), parentWidget()->font(),
              twipsRect(this, 10080, 3600, 495, 15))
        ->setProperty(kNotFitted, true);

    auto *line = new QFrame(this);
    line->setObjectName(QStringLiteral("Line1"));
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Plain);
    line->setGeometry(0, twips(this, 120), twips(this, kFormWidth), 1);
    line_ = line;

    progress_ = new QProgressBar(this);
    progress_->setObjectName(QStringLiteral("ProgressBar1"));
    progress_->setRange(0, 100);
    progress_->setValue(0);
    progress_->setTextVisible(false);
    progress_->setGeometry(twipsRect(this, 8280, 1320, 3015, 255));
    // Under the status line: how many channels the rules of the air flag.
    airSummary_ = makeLabel(this, "频率规则提示", QString(), songFont(9), twipsRect(this, 7920, 1095, 3855, 225));
    connect(&programmer_.airCheck(), &AirCheck::flagsChanged, airSummary_,
            [this] { airSummary_->setText(programmer_.airCheck().summary()); });
    setCaption(this, progress_, "accessibleName", QT_TR_NOOP("进度"));
    // The status line keeps no name of its own: its text is its name.
    setCaption(this, status_, "accessibleDescription", QT_TR_NOOP("状态"));
}

void MainForm::buildGrid()
{
    // What is typed into the grid goes straight to the editing unit; only
    // its messages come back here.
    model_ = programmer_.editor().model();
    connect(&programmer_.editor(), &TableEditor::edited, this,
            [this](const Result &result) { messenger_.tell(result); });
    connect(&programmer_.editor(), &TableEditor::warnNow, this,
            [this](const Notice &notice) { messenger_.show(notice); });
    grid_ = new ChannelGrid(this);
    grid_->setObjectName(QStringLiteral("DataGrid1"));
    grid_->setModel(model_);
    grid_->setFont(kaiFont(kGridPoints));
    setCaption(this, grid_, "accessibleName", QT_TR_NOOP("信道表"));
    setCaption(this, grid_, "accessibleDescription",
               QT_TR_NOOP("每行一个信道。F2 或回车编辑，F4 打开本列的选项，Alt+上/下 移动所选信道。"));
    grid_->setGeometry(twipsRect(this, kGridPlace[0], kGridPlace[1], kGridPlace[2], kGridPlace[3]));
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
    for (int column = 0; column < kFieldCount; ++column)
        columnWidths_[static_cast<std::size_t>(column)] = grid_->columnWidth(column);
    firstColumnsWidth_ = header->length();
    grid_->verticalHeader()->setFixedWidth(twips(this, 270));
    ownRowHeight_ = QFontMetrics(kaiFont(kGridPoints)).lineSpacing() + 6;
    grid_->verticalHeader()->setMinimumSectionSize(1);
    grid_->verticalHeader()->setDefaultSectionSize(ownRowHeight_);
    // A column the user widens keeps its share as the window changes size.
    connect(header, &QHeaderView::sectionResized, this, [this](int column, int, int size) {
        if (!scalingColumns_)
            columnWidths_[static_cast<std::size_t>(column)] = size / columnScale_;
        placePickers();
    });
    // Rows are dragged by their headers.
    grid_->verticalHeader()->setSectionsMovable(true);
    connect(grid_->verticalHeader(), &QHeaderView::sectionMoved, this, &MainForm::dropDraggedRows);
    connect(grid_->horizontalScrollBar(), &QScrollBar::valueChanged, this, &MainForm::placePickers);
}

void MainForm::buildPickers()
{
    QPalette red;
    red.setColor(QPalette::Text, Qt::red);
    red.setColor(QPalette::ButtonText, Qt::red);
    for (int n = 1; n <= kPickerCount; ++n) {
        auto *combo = new QComboBox(this);
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
        // Where it sits against its column's left edge and width, kept as
        // columns and the window change size.
        const int column = kPickerColumns[static_cast<std::size_t>(n - 1)];
        pickerOffsets_[static_cast<std::size_t>(n - 1)] = {
            combo->x() - viewportLeft() - grid_->horizontalHeader()->sectionViewportPosition(column),
            combo->width() - grid_->columnWidth(column)};
        connect(combo, &QComboBox::activated, this, [this, n, combo](int index) {
            pick(n, combo->itemText(index));
            // Opened from the grid with F4: back to the grid, as a cell editor would.
            if (pickerFromGrid_ == combo)
                grid_->setFocus();
            pickerFromGrid_ = nullptr;
        });
        pickers_[static_cast<std::size_t>(n - 1)] = combo;
    }
    namePickers();
    connect(model_, &QAbstractItemModel::headerDataChanged, this, &MainForm::namePickers);
    connect(grid_, &ChannelGrid::pickerAsked, this, &MainForm::openPicker);
    // Tab order as the pickers' tab indices give it: 1, 2, 5, 6, 7 over
    // the receive side and flags, then 3 and 4 over the transmit tones.
    QWidget::setTabOrder(grid_, pickers_[0]);
    QWidget::setTabOrder(pickers_[0], pickers_[1]);
    QWidget::setTabOrder(pickers_[1], pickers_[4]);
    QWidget::setTabOrder(pickers_[4], pickers_[5]);
    QWidget::setTabOrder(pickers_[5], pickers_[6]);
    QWidget::setTabOrder(pickers_[6], pickers_[2]);
    QWidget::setTabOrder(pickers_[2], pickers_[3]);
}

void MainForm::buildFind()
{
    find_ = new QLineEdit(this);
    find_->setObjectName(QStringLiteral("查找框"));
    setCaption(this, find_, "placeholderText", QT_TR_NOOP("查找：输入任一字段中的文字"));
    find_->setClearButtonEnabled(true);
    find_->setFont(songFont(10.5));
    find_->setGeometry(twipsRect(this, 720, 1740, 3960, 360));
    setCaption(this, find_, "accessibleName", QT_TR_NOOP("查找"));
    QWidget::setTabOrder(find_, grid_); // it stands above the grid
    find_->hide();
    connect(find_, &QLineEdit::textChanged, this, &MainForm::showMatchingRows);
    // A changed value may match the find text, or empty a channel.
    connect(&programmer_.editor(), &TableEditor::tableChanged, this, &MainForm::showMatchingRows);
}

void MainForm::namePickers()
{
    // Each picker is named as the column it fills; where a list box's name
    // is the value it shows, the description says what it is for.
    for (std::size_t n = 0; n < pickers_.size(); ++n) {
        const QString column =
            model_->headerData(kPickerColumns[n], Qt::Horizontal, Qt::DisplayRole).toString().simplified();
        pickers_[n]->setAccessibleName(column);
        pickers_[n]->setAccessibleDescription(column);
    }
}

void MainForm::openPicker(int column)
{
    const auto *at = std::find(kPickerColumns.begin(), kPickerColumns.end(), column);
    if (at == kPickerColumns.end())
        return;
    QComboBox *picker = pickers_[static_cast<std::size_t>(at - kPickerColumns.begin())];
    if (!picker->isEnabled() || !picker->isVisible())
        return;
    pickerFromGrid_ = picker;
    picker->setFocus();
    picker->showPopup();
}

void MainForm::buildAdapterOffer()
{
    // Under the status line, where it says the radio does not answer.
    adapterButton_ = new QPushButton(this);
    adapterButton_->setObjectName(QStringLiteral("改用USB串口"));
    adapterButton_->setFont(songFont(10.5));
    adapterButton_->setGeometry(twipsRect(this, 7920, 1740, 3135, 360));
    adapterButton_->hide();
    connect(adapterButton_, &QPushButton::clicked, this,
            [this] { messenger_.tell(programmer_.adapterOffer().take()); });
    connect(&programmer_.adapterOffer(), &AdapterOffer::offerChanged, this, &MainForm::showAdapterOffer);
}

void MainForm::showAdapterOffer()
{
    const QString device = programmer_.adapterOffer().offered();
    adapterButton_->setVisible(!device.isEmpty());
    if (device.isEmpty())
        return;
    // By the device's own short name (ttyUSB0), not its long stable one.
    const QString target = QFileInfo(device).canonicalFilePath();
    adapterButton_->setText(tr("改用USB串口 %1").arg(QFileInfo(target.isEmpty() ? device : target).fileName()));
    adapterButton_->setToolTip(tr("设为端口1的设备，并在此等待对讲机：%1").arg(device));
}

void MainForm::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        showAdapterOffer();
    QWidget::changeEvent(event);
}

void MainForm::pick(int picker, const QString &text)
{
    grid_->commitOpenEditor();
    messenger_.tell(programmer_.editor().applyPick(picker, grid_->currentRow(), text));
}

std::vector<Cell> MainForm::selectedCells() const
{
    std::vector<Cell> cells;
    // Hidden rows are never among them: an edit touches only what is shown.
    for (const QModelIndex &index : grid_->selectionModel()->selectedIndexes())
        cells.push_back({index.row(), index.column()});
    if (cells.empty() && grid_->currentIndex().isValid())
        cells.push_back({grid_->currentIndex().row(), grid_->currentIndex().column()});
    return cells;
}

std::vector<int> MainForm::selectedRows() const
{
    std::vector<int> rows;
    for (const Cell &cell : selectedCells())
        if (std::find(rows.begin(), rows.end(), cell.row) == rows.end())
            rows.push_back(cell.row);
    return rows;
}

void MainForm::selectRows(const std::vector<int> &rows, int current)
{
    QItemSelection chosen;
    for (int row : rows)
        chosen.select(model_->index(row, 0), model_->index(row, kFieldCount - 1));
    grid_->setCurrentIndex(model_->index(current, std::max(grid_->currentIndex().column(), 0)));
    grid_->selectionModel()->select(chosen, QItemSelectionModel::ClearAndSelect);
}

void MainForm::dropDraggedRows(int row, int from, int to)
{
    // The header only tells where the rows were dropped; the plan moves
    // them, so the grid's rows stay in the table's order.
    QHeaderView *header = grid_->verticalHeader();
    {
        const QSignalBlocker quiet(header);
        header->moveSection(to, from);
    }
    std::vector<int> rows = selectedRows();
    if (std::find(rows.begin(), rows.end(), row) == rows.end())
        rows = {row};
    const int before = to > from ? to + 1 : to;
    grid_->commitOpenEditor();
    const std::vector<int> after = rowsAfterDrop(kChannelCount, rows, before, programmer_.editor().shownRows());
    const Result dropped = programmer_.editor().dropRows(rows, before);
    messenger_.tell(dropped);
    if (dropped.ok && !after.empty())
        selectRows(after, after.front());
}

void MainForm::showFind()
{
    find_->show();
    find_->setFocus();
    find_->selectAll();
}

void MainForm::setHidingEmpty(bool hide)
{
    hidingEmpty_ = hide;
    showMatchingRows();
}

void MainForm::showMatchingRows()
{
    programmer_.editor().setFilter(find_->text(), hidingEmpty_);
    const ShownRows shown = programmer_.editor().shownRows();
    for (int row = 0; row < grid_->model()->rowCount(); ++row)
        grid_->setRowHidden(row, !shown.empty() && !shown[static_cast<std::size_t>(row)]);
}

} // namespace vq
