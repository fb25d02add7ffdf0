// Figures of one plan written into several radios at once at 9600 baud:
//   wall time from the start to every port finished, for 1 radio, 8 and 32,
//   and the ratios to 1 radio;
//   the largest deviation of any frame's spacing from 100 ms on any port,
//   as each simulator stamps the frames' arrival;
//   the wall time of 8 radios each read back and compared.
// The paced simulators run in child processes of this benchmark, up to 8 to
// a child, so this process is the program alone, as with real radios. The
// limits would allow them here (a pair of descriptors and a pseudo-terminal
// each), but 32 simulators on the program's event loop would put their
// work into the figures.
#include "RadioSimulator.h"
#include "plan/FleetWrite.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QSignalSpy>
#include <QSocketNotifier>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <vector>

#include <unistd.h>

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

constexpr int kSimulatorsPerChild = 8;

// The largest deviation of a frame's spacing from 100 ms, as the simulator
// stamped them; -1 when no complete write arrived.
double worstSpacingMs(const RadioSimulator &sim)
{
    // Probes come before "A"; the frames follow it back to back.
    const qsizetype a = sim.received().indexOf('A');
    const QList<qint64> t = sim.receiveTimesNs();
    if (a < 0 || t.size() < a + 1 + kChannelCount * 32)
        return -1;
    double worst = 0;
    for (int f = 1; f < kChannelCount; ++f) {
        const double gap = (t[a + 1 + f * 32] - t[a + 1 + (f - 1) * 32]) / 1e6;
        worst = std::max(worst, std::abs(gap - 100.0));
    }
    return worst;
}

// The child: `count` simulators, their devices on standard output; when
// standard input closes, each one's worst spacing, and it ends.
int hostSimulators(int count)
{
    std::vector<std::unique_ptr<RadioSimulator>> sims;
    for (int i = 0; i < count; ++i) {
        sims.push_back(std::make_unique<RadioSimulator>());
        if (!sims.back()->isValid()) {
            std::fprintf(stderr, "simulator: %s\n", qPrintable(sims.back()->errorString()));
            return 1;
        }
        std::printf("%s\n", qPrintable(sims.back()->devicePath()));
    }
    std::fflush(stdout);
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, [&] {
        char buffer[64];
        if (::read(STDIN_FILENO, buffer, sizeof buffer) > 0)
            return;
        input.setEnabled(false);
        for (const auto &sim : sims)
            std::printf("%.3f\n", worstSpacingMs(*sim));
        std::fflush(stdout);
        QCoreApplication::quit();
    });
    return QCoreApplication::exec();
}

struct Run {
    double seconds = 0;
    double worstSpacingMs = 0; // largest |gap - 100 ms| over every port
};

[[noreturn]] void fail(const char *what, int radios)
{
    std::fprintf(stderr, "%s (%d radios)\n", what, radios);
    std::exit(1);
}

Run writeInto(int radios, bool verify, const std::vector<QByteArray> &plan)
{
    std::vector<std::unique_ptr<QProcess>> hosts;
    QStringList devices;
    for (int first = 0; first < radios; first += kSimulatorsPerChild) {
        const int count = std::min(kSimulatorsPerChild, radios - first);
        auto &host = hosts.emplace_back(std::make_unique<QProcess>());
        host->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        host->start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("--host"), QString::number(count)});
        for (int i = 0; i < count; ++i) {
            while (!host->canReadLine())
                if (!host->waitForReadyRead(5000))
                    fail("simulators did not start", radios);
            devices << QString::fromLocal8Bit(host->readLine()).trimmed();
        }
    }
    FleetWrite fleet;
    QSignalSpy finished(&fleet, &FleetWrite::finished);
    QElapsedTimer clock;
    clock.start();
    fleet.start(devices, plan, verify);
    if (!finished.wait(30000) || !finished.first().first().toBool()) {
        for (const auto &r : fleet.results())
            std::fprintf(stderr, "%s: %s\n", qPrintable(r.device), qPrintable(r.text));
        fail("write failed", radios);
    }
    Run run;
    run.seconds = clock.nsecsElapsed() / 1e9;
    for (const auto &host : hosts) {
        host->closeWriteChannel();
        if (!host->waitForFinished(5000))
            fail("simulators did not report", radios);
        for (const QByteArray &line : host->readAllStandardOutput().split('\n')) {
            if (line.isEmpty())
                continue;
            const double worst = line.toDouble();
            if (worst < 0)
                fail("a simulator saw no complete write", radios);
            run.worstSpacingMs = std::max(run.worstSpacingMs, worst);
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
    const QStringList args = QCoreApplication::arguments();
    if (args.size() == 3 && args[1] == QLatin1String("--host"))
        return hostSimulators(args[2].toInt());

    const std::vector<QByteArray> plan = benchPlan();
    const int runs = 3;
    std::vector<double> one, eight, many;
    // Each run's largest deviation: 1 and 8 radios, and 32.
    std::vector<double> spacingFew, spacingMany;
    for (int i = 0; i < runs; ++i) {
        for (const int radios : {1, 8, 32}) {
            const Run run = writeInto(radios, false, plan);
            (radios == 1 ? one : radios == 8 ? eight : many).push_back(run.seconds);
            (radios == 32 ? spacingMany : spacingFew).push_back(run.worstSpacingMs);
        }
    }
    std::printf("fleet write: wall time 1 radio %.3f s, 8 radios %.3f s, 32 radios %.3f s (medians of %d)\n",
                median(one), median(eight), median(many), runs);
    std::printf("fleet write: 8 radios / 1 radio wall time: %.3f (target <= 1.10)\n",
                median(eight) / median(one));
    std::printf("fleet write: 32 radios / 1 radio wall time: %.3f (target <= 1.10)\n",
                median(many) / median(one));
    const Run verified = writeInto(8, true, plan);
    spacingFew.push_back(verified.worstSpacingMs);
    std::printf("fleet write: frame spacing, largest deviation from 100 ms on any port, 1 and 8 radios: "
                "%.2f ms (median of %zu runs; worst %.2f ms; target <= 10 ms)\n",
                median(spacingFew), spacingFew.size(),
                *std::max_element(spacingFew.begin(), spacingFew.end()));
    std::printf("fleet write: frame spacing, largest deviation from 100 ms on any of the 32 ports: %.2f ms "
                "(median of %d runs; worst %.2f ms; target <= 10 ms)\n",
                median(spacingMany), runs, *std::max_element(spacingMany.begin(), spacingMany.end()));
    std::printf("fleet write: 8 radios with read-back and compare: %.3f s\n", verified.seconds);
    return 0;
}
