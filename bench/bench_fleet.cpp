// Figures of one plan written into several radios at once, against paced
// simulators in this process at 9600 baud:
//   wall time from the start to every port finished, for 1 radio and for 8,
//   and the ratio of the two;
//   the largest deviation of any frame's spacing from 100 ms on any port,
//   as each simulator stamps the frames' arrival;
//   the wall time of 8 radios each read back and compared.
// The simulators share the event loop with the write, as a real second
// program would not: a figure here is an upper bound.
#include "RadioSimulator.h"
#include "plan/FleetWrite.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSignalSpy>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <vector>

using namespace vq;
using vq::sim::RadioSimulator;

namespace {

std::vector<QByteArray> benchPlan()
{
    PlanRows rows(kChannelCount);
    for (int row = 0; row < kChannelCount; ++row) {
        rows[row][ChannelNumber] = std::to_string(row + 1);
        rows[row][RxFrequency] = rows[row][TxFrequency] =
            QString::number(430.0 + row * 0.125, 'f', 5).toStdString();
    }
    return encodePlan(rows).frames;
}

struct Run {
    double seconds = 0;
    double worstSpacingMs = 0; // largest |gap - 100 ms| over every port
};

Run writeInto(int radios, bool verify, const std::vector<QByteArray> &plan)
{
    std::vector<std::unique_ptr<RadioSimulator>> sims;
    QStringList devices;
    for (int i = 0; i < radios; ++i) {
        sims.push_back(std::make_unique<RadioSimulator>());
        if (!sims.back()->isValid()) {
            std::fprintf(stderr, "simulator: %s\n", qPrintable(sims.back()->errorString()));
            std::exit(1);
        }
        devices << sims.back()->devicePath();
    }
    FleetWrite fleet;
    QSignalSpy finished(&fleet, &FleetWrite::finished);
    QElapsedTimer clock;
    clock.start();
    fleet.start(devices, plan, verify);
    if (!finished.wait(30000) || !finished.first().first().toBool()) {
        for (const auto &r : fleet.results())
            std::fprintf(stderr, "%s: %s\n", qPrintable(r.device), qPrintable(r.text));
        std::fprintf(stderr, "write into %d radios failed\n", radios);
        std::exit(1);
    }
    Run run;
    run.seconds = clock.nsecsElapsed() / 1e9;
    for (const auto &sim : sims) {
        // Probes come before "A"; the frames follow it back to back.
        const qsizetype a = sim->received().indexOf('A');
        const QList<qint64> t = sim->receiveTimesNs();
        for (int f = 1; f < kChannelCount; ++f) {
            const double gap = (t[a + 1 + f * 32] - t[a + 1 + (f - 1) * 32]) / 1e6;
            run.worstSpacingMs = std::max(run.worstSpacingMs, std::abs(gap - 100.0));
        }
    }
    return run;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const std::vector<QByteArray> plan = benchPlan();
    const int runs = 3;
    std::vector<double> one, eight;
    double worst = 0;
    for (int i = 0; i < runs; ++i) {
        for (auto [radios, times] : {std::pair{1, &one}, std::pair{8, &eight}}) {
            const Run run = writeInto(radios, false, plan);
            times->push_back(run.seconds);
            worst = std::max(worst, run.worstSpacingMs);
        }
    }
    std::printf("fleet write: 1 radio %.3f s, 8 radios %.3f s (medians of %d)\n", median(one), median(eight),
                runs);
    std::printf("fleet write: 8 radios / 1 radio wall time: %.3f (target <= 1.10)\n",
                median(eight) / median(one));
    const Run verified = writeInto(8, true, plan);
    worst = std::max(worst, verified.worstSpacingMs);
    std::printf("fleet write: frame spacing, largest deviation from 100 ms on any port: %.2f ms "
                "(target <= 10 ms)\n",
                worst);
    std::printf("fleet write: 8 radios with read-back and compare: %.3f s\n", verified.seconds);
    return 0;
}
