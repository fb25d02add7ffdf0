#pragma once

#include "plan/BandChart.h"

#include <QWidget>

namespace vq {

class Messenger;
class Programmer;

// 频段图: the plan drawn on its frequency axis, following every change of
// the table and of the rules chosen. A click on a mark makes its channel
// current in the grid; the picture exports to PNG or SVG.
class BandChartWindow : public QWidget {
    Q_OBJECT
public:
    BandChartWindow(Programmer &programmer, Messenger &messenger, QWidget *parent = nullptr);

    const BandChart &chart() const { return chart_; }
    void exportChart();

signals:
    void channelChosen(int channel);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    void layOut();

    Programmer &programmer_;
    Messenger &messenger_;
    BandChart chart_;
};

} // namespace vq
