// The form as the window grows: the grid takes the room, the columns share
// the width gained, the pickers follow their columns, and the rows fit the
// grid when every channel can be shown.
#include "app/Appearance.h"
#include "app/ChannelGrid.h"
#include "app/FormPlaces.h"
#include "app/MainForm.h"
#include "plan/GridFit.h"

#include <QComboBox>
#include <QHeaderView>

namespace vq {

using namespace form;

int MainForm::viewportLeft() const
{
    // The header's own offsets add each column's place and the scrolling.
    return grid_->x() + grid_->frameWidth() + grid_->verticalHeader()->maximumWidth();
}

void MainForm::placePickers()
{
    const int viewLeft = viewportLeft();
    const int viewRight = viewLeft + grid_->viewport()->width();
    for (std::size_t n = 0; n < pickers_.size(); ++n) {
        const int column = kPickerColumns[n];
        QComboBox *picker = pickers_[n];
        const int left = viewLeft + grid_->horizontalHeader()->sectionViewportPosition(column);
        picker->setGeometry(left + pickerOffsets_[n][0], picker->y(),
                            std::max(grid_->columnWidth(column) + pickerOffsets_[n][1], 0), picker->height());
        // Never over the row numbers or beyond the grid: a picker whose
        // column is scrolled out of view waits until it is back.
        picker->setVisible(left >= viewLeft && left + grid_->columnWidth(column) <= viewRight &&
                           picker->width() > 0);
    }
}

QSize MainForm::sizeHint() const
{
    return firstSize_;
}

void MainForm::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    line_->resize(width(), line_->height());
    const QRect first = twipsRect(this, kGridPlace[0], kGridPlace[1], kGridPlace[2], kGridPlace[3]);
    grid_->resize(first.width() + width() - firstSize_.width(), first.height() + height() - firstSize_.height());
    // The columns share what the window gained, each as wide as it was.
    columnScale_ = 1.0 + double(width() - firstSize_.width()) / firstColumnsWidth_;
    scalingColumns_ = true;
    for (int column = 0; column < kFieldCount; ++column)
        grid_->setColumnWidth(column, qRound(columnWidths_[static_cast<std::size_t>(column)] * columnScale_));
    scalingColumns_ = false;
    // Every channel in view when the grid is tall enough to show them all
    // at a readable size; otherwise rows as they always were.
    const int view = grid_->height() - 2 * grid_->frameWidth() - grid_->horizontalHeader()->height();
    const RowFit fit = fitRows(view, kChannelCount, ownRowHeight_, kGridPoints,
                               [](double points) { return QFontMetrics(kaiFont(points)).lineSpacing(); });
    if (grid_->font().pointSizeF() != fit.points)
        grid_->setFont(kaiFont(fit.points));
    grid_->verticalHeader()->setDefaultSectionSize(fit.rowHeight);
    placePickers();
}

} // namespace vq
