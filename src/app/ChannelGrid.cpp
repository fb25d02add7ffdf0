#include "app/ChannelGrid.h"

#include <QAbstractItemDelegate>
#include <QKeyEvent>

namespace vq {

ChannelGrid::ChannelGrid(QWidget *parent) : QTableView(parent) {}

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
