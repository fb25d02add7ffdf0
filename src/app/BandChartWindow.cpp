#include "app/BandChartWindow.h"

#include "app/Messenger.h"
#include "plan/Programmer.h"

#include <QAction>
#include <QMouseEvent>
#include <QPainter>

namespace vq {

BandChartWindow::BandChartWindow(Programmer &programmer, Messenger &messenger, QWidget *parent)
    : QWidget(parent, Qt::Window), programmer_(programmer), messenger_(messenger)
{
    setObjectName(QStringLiteral("BandChart"));
    setWindowTitle(tr("频段图"));
    setAccessibleName(tr("频段图"));
    setAccessibleDescription(tr("每个信道在其接收频率处有一个标记，发射频率不同时以三角形标出；不符合频率规则的信道为红色菱形。"));
    setMinimumSize(480, 240);
    resize(960, 360);
    // The export is on the window's own menu, and by keys.
    auto *save = new QAction(tr("导出(&E)..."), this);
    save->setShortcut(QKeySequence::Save);
    addAction(save);
    setContextMenuPolicy(Qt::ActionsContextMenu);
    connect(save, &QAction::triggered, this, &BandChartWindow::exportChart);
    connect(&programmer_.editor(), &TableEditor::tableChanged, this, &BandChartWindow::layOut);
    connect(&programmer_.airCheck(), &AirCheck::flagsChanged, this, &BandChartWindow::layOut);
    layOut();
}

void BandChartWindow::layOut()
{
    chart_ = layOutChart(programmer_.editor().plan(), programmer_.airCheck().flags(), size());
    update();
}

void BandChartWindow::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    drawChart(painter, chart_);
}

void BandChartWindow::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layOut();
}

void BandChartWindow::mousePressEvent(QMouseEvent *event)
{
    if (const int channel = chart_.channelAt(event->position()))
        emit channelChosen(channel);
    QWidget::mousePressEvent(event);
}

void BandChartWindow::exportChart()
{
    const QString path = messenger_.askSavePath(tr("PNG 图像 (*.png);;SVG 图形 (*.svg)"));
    if (path.isEmpty())
        return;
    const PlanRows plan = programmer_.editor().plan();
    messenger_.tell(saveChart(path, layOutChart(plan, programmer_.airCheck().flags(), kChartFileSize)));
}

} // namespace vq
