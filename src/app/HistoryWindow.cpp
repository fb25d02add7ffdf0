#include "app/HistoryWindow.h"

#include "app/Captions.h"
#include "app/Messenger.h"
#include "channels/ValueDomains.h"
#include "plan/HistoryModel.h"
#include "plan/Programmer.h"
#include "plan/StoreTexts.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSplitter>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

namespace vq {

namespace {

QString text(const FieldValue &value)
{
    return value ? QString::fromStdString(*value) : QString();
}

} // namespace

HistoryWindow::HistoryWindow(Programmer &programmer, Messenger &messenger, QWidget *parent)
    : QWidget(parent, Qt::Window), programmer_(programmer), messenger_(messenger)
{
    setObjectName(QStringLiteral("History"));
    resize(960, 600);

    state_ = new QLabel(this);
    state_->setObjectName(QStringLiteral("historyState"));
    state_->setWordWrap(true);

    model_ = programmer_.newHistoryModel(this);
    list_ = new QTableView(this);
    list_->setObjectName(QStringLiteral("snapshotList"));
    setCaption(this, list_, "accessibleName", QT_TR_NOOP("快照列表"));
    list_->setModel(model_);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->verticalHeader()->hide();
    list_->horizontalHeader()->setStretchLastSection(true);
    list_->setColumnWidth(HistoryModel::Time, 170);
    list_->setColumnWidth(HistoryModel::Reason, 130);
    list_->setColumnWidth(HistoryModel::Device, 300);

    differences_ = new QStandardItemModel(0, kFieldCount, this);
    auto *differences = new QTableView(this);
    differences->setObjectName(QStringLiteral("differences"));
    setCaption(this, differences, "accessibleName", QT_TR_NOOP("与当前信道的差别"));
    differences->setModel(differences_);
    differences->setEditTriggers(QAbstractItemView::NoEditTriggers);

    restore_ = new QPushButton(this);
    setCaption(this, restore_, "text", QT_TR_NOOP("恢复"));
    restore_->setObjectName(QStringLiteral("restore"));
    export_ = new QPushButton(this);
    setCaption(this, export_, "text", QT_TR_NOOP("导出"));
    export_->setObjectName(QStringLiteral("export"));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(restore_);
    buttons->addWidget(export_);

    auto *splitter = new QSplitter(Qt::Vertical, this);
    splitter->addWidget(list_);
    splitter->addWidget(differences);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(state_);
    layout->addWidget(splitter, 1);
    layout->addLayout(buttons);

    connect(restore_, &QPushButton::clicked, this, &HistoryWindow::restoreSelected);
    connect(export_, &QPushButton::clicked, this, &HistoryWindow::exportSelected);
    connect(list_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &HistoryWindow::showDifferences);
    connect(model_, &QAbstractItemModel::modelReset, this, &HistoryWindow::showState);
    // What differs changes with every edit of the table.
    connect(model_, &QAbstractItemModel::dataChanged, this, &HistoryWindow::showDifferences);
    showCaptions();
    showState();
}

void HistoryWindow::showCaptions()
{
    setWindowTitle(texts::kHistoryTitle);
    QStringList columns;
    for (auto name : fieldNames())
        columns << texts::fieldName(name);
    differences_->setHorizontalHeaderLabels(columns);
}

void HistoryWindow::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange) {
        showCaptions();
        emit model_->headerDataChanged(Qt::Horizontal, 0, model_->columnCount() - 1);
        list_->viewport()->update(); // the reasons are looked up as they are drawn
        showState();
    }
    QWidget::changeEvent(event);
}

void HistoryWindow::showState()
{
    const bool available = model_->isAvailable();
    state_->setText(available ? QString()
                              : texts::kHistoryUnavailable + QCoreApplication::translate("vq::texts", "：") +
                                    programmer_.history().problem());
    state_->setVisible(!available);
    showDifferences();
}

qint64 HistoryWindow::selectedId() const
{
    const QModelIndexList rows = list_->selectionModel()->selectedRows();
    return rows.isEmpty() ? 0 : model_->idAt(rows.first().row());
}

bool HistoryWindow::selectRow(int row)
{
    if (row < 0 || row >= model_->rowCount())
        return false;
    list_->selectRow(row);
    return true;
}

void HistoryWindow::showDifferences()
{
    differences_->removeRows(0, differences_->rowCount());
    const QModelIndexList selected = list_->selectionModel()->selectedRows();
    restore_->setEnabled(!selected.isEmpty());
    export_->setEnabled(!selected.isEmpty());
    if (selected.isEmpty())
        return;
    const std::optional<PlanRows> then = programmer_.history().rows(model_->idAt(selected.first().row()));
    if (!then)
        return;
    const PlanRows now = programmer_.editor().plan();
    QStringList labels;
    for (int row : ChannelHistory::differingRows(*then, now)) {
        const ChannelRecord before = row < static_cast<int>(then->size()) ? (*then)[row] : ChannelRecord{};
        const ChannelRecord after = row < static_cast<int>(now.size()) ? now[row] : ChannelRecord{};
        QList<QStandardItem *> thenItems;
        QList<QStandardItem *> nowItems;
        for (int f = 0; f < kFieldCount; ++f) {
            auto *a = new QStandardItem(text(before[f]));
            auto *b = new QStandardItem(text(after[f]));
            if (before[f] != after[f]) {
                a->setForeground(Qt::red);
                b->setForeground(Qt::red);
            }
            thenItems << a;
            nowItems << b;
        }
        differences_->appendRow(thenItems);
        differences_->appendRow(nowItems);
        labels << tr("第%1信道 当时").arg(row + 1) << tr("第%1信道 现在").arg(row + 1);
    }
    differences_->setVerticalHeaderLabels(labels);
}

void HistoryWindow::restoreSelected()
{
    if (const qint64 id = selectedId())
        messenger_.tell(programmer_.editor().restoreSnapshot(id));
}

void HistoryWindow::exportSelected()
{
    const qint64 id = selectedId();
    if (!id)
        return;
    // The channel file first, then the CSV layouts.
    int chosen = 0;
    const QString path =
        messenger_.askSavePath(kChannelFileFilter + QStringLiteral(";;") + csvFilters(), &chosen);
    if (path.isEmpty())
        return;
    std::optional<CsvLayout> csv;
    if (chosen > 0)
        csv = csvLayoutAt(chosen - 1);
    messenger_.tell(programmer_.files().exportSnapshot(
        id, [&path] { return path; }, csv));
}

} // namespace vq
