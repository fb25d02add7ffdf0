#include "app/ChannelGrid.h"

#include "channels/ChannelTableModel.h"

#include <QAbstractItemDelegate>
#include <QKeyEvent>
#include <QStyledItemDelegate>

namespace vq {

namespace {

// A row the plan has notes on (a channel transmitting where the rules of
// the air do not allow) is tinted, and its number carries a warning sign:
// not colour alone.
class NotedRows : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        if (!index.data(ChannelTableModel::kNotedRole).toBool())
            return;
        option->backgroundBrush = QColor(255, 222, 173);
        if (index.column() == 0) {
            const int side = option->fontMetrics.height() - 2;
            option->features |= QStyleOptionViewItem::HasDecoration;
            option->icon = option->widget->style()->standardIcon(QStyle::SP_MessageBoxWarning);
            option->decorationSize = QSize(side, side);
        }
    }
};

} // namespace

ChannelGrid::ChannelGrid(QWidget *parent) : QTableView(parent)
{
    setItemDelegate(new NotedRows(this));
}

void ChannelGrid::commitOpenEditor()
{
    if (state() != QAbstractItemView::EditingState)
        return;
    if (QWidget *editor = indexWidget(currentIndex())) {
        commitData(editor);
        closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
}

void ChannelGrid::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_F4 && event->modifiers() == Qt::NoModifier && currentIndex().isValid()) {
        emit pickerAsked(currentIndex().column());
        return;
    }
    // Only where editing is allowed now: during a read nothing opens.
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && state() != EditingState &&
        edit(currentIndex(), EditKeyPressed, event))
        return;
    QTableView::keyPressEvent(event);
}

int ChannelGrid::currentRow() const
{
    const QModelIndex index = currentIndex();
    return index.isValid() ? index.row() : -1;
}

void ChannelGrid::makeRowCurrent(int row)
{
    if (!model() || row < 0 || row >= model()->rowCount())
        return;
    const int column = currentIndex().isValid() ? currentIndex().column() : 0;
    setCurrentIndex(model()->index(row, column));
}

} // namespace vq
