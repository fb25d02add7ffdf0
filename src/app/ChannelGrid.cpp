#include "app/ChannelGrid.h"

#include <QAbstractItemDelegate>

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
