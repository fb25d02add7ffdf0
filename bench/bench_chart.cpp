// Rules of the air and band chart figures: the rule check of a full table
// of 50 transmitting channels, and a chart laid out and drawn again (a
// window of 960 × 360), median and worst of 200.
#include "plan/AirRules.h"
#include "plan/BandChart.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int kRuns = 200;

void report(const char *what, std::vector<double> ms)
{
    std::sort(ms.begin(), ms.end());
    std::printf("%-40s median %.3f ms, worst %.3f ms\n", what, ms[ms.size() / 2], ms.back());
}

template <typename Work> std::vector<double> timed(Work work)
{
    std::vector<double> ms;
    for (int run = 0; run < kRuns; ++run) {
        QElapsedTimer clock;
        clock.start();
        work();
        ms.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
    }
    return ms;
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    // Channels over three regions' bands, some split, some off the grid.
    vq::PlanRows plan(vq::kChannelCount);
    for (int row = 0; row < vq::kChannelCount; ++row) {
        const double rx = row % 3 == 0 ? 409.75 + 0.0125 * row : row % 3 == 1 ? 145.0 + 0.025 * row : 446.00625 + 0.00625 * row;
        plan[std::size_t(row)][vq::RxFrequency] = QString::number(rx, 'f', 5).toStdString();
        plan[std::size_t(row)][vq::TxFrequency] = QString::number(rx + (row % 5 == 0 ? 0.6 : 0), 'f', 5).toStdString();
    }
    const vq::AirRules &rules = vq::shippedAirRules();
    const vq::AirChoice choice{QStringLiteral("cn"), true};
    std::vector<vq::AirFlag> flags;
    report("rule check of 50 channels:", timed([&] { flags = vq::checkAir(rules, plan, choice); }));
    QImage image(960, 360, QImage::Format_RGB32);
    report("chart laid out and drawn (960 x 360):", timed([&] {
               const vq::BandChart chart = vq::layOutChart(plan, flags, QSizeF(960, 360));
               QPainter painter(&image);
               vq::drawChart(painter, chart);
           }));
    std::printf("flagged channels: %zu\n", flags.size());
    return 0;
}
