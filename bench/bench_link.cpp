// Figures of the radio link against the simulator at 9600 baud:
//   read time from "B" to the table stored, over the wire time (1.700 s);
//   the longest stall of the event loop during a read;
//   CPU time during a read as a share of its wall time, twice: beside the
//   event-loop probe, and for the program alone;
//   the spacing of the 50 frames of a write.
// The simulator runs as its own process for the read, so its pacing does
// not count against the program. The program-alone reads run without the
// probe and with the link poll held off past the read, so the process's
// CPU time is the program's read and nothing else.
#include "RadioSimulator.h"
#include "plan/Programmer.h"
#include "radio/LinkController.h"
#include "radio/SerialLink.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <sys/resource.h>
#include <vector>

using namespace vq;
using vq::sim::RadioSimulator;

namespace {

double cpuSeconds()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_utime.tv_sec + u.ru_stime.tv_sec + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

bool waitFor(QSignalSpy &spy, int ms)
{
    return !spy.isEmpty() || spy.wait(ms);
}

struct ReadFigures {
    double ratio = 0;
    double stallMs = 0;
    double cpuShare = 0;
};

// With `watchLoop`, a 1 ms timer watches the event loop; without, nothing but
// the program runs in this process from "B" to the table stored.
ReadFigures measureRead(const QString &simulator, const QString &db, bool watchLoop)
{
    QProcess sim;
    // Its progress lines would be read in this process, during the read.
    sim.setStandardErrorFile(QProcess::nullDevice());
    sim.start(simulator, {});
    if (!sim.waitForReadyRead(5000)) {
        std::fprintf(stderr, "simulator did not start\n");
        std::exit(1);
    }
    const QString device = QString::fromLocal8Bit(sim.readLine()).trimmed();

    Programmer programmer;
    programmer.openStore(db);
    SerialLink &link = programmer.link();
    link.setDevicePaths(device, QString());
    link.open();
    LinkController &controller = programmer.controller();
    // The poll follows the read; here its first tick comes long after it.
    LinkController::Intervals intervals;
    intervals.poll = intervals.silence = 60000;
    controller.setIntervals(intervals);
    QSignalSpy stored(&programmer, &Programmer::readStored);

    // A 1 ms probe: the largest gap between its ticks is the longest time
    // the event loop was busy elsewhere.
    QElapsedTimer clock;
    QTimer probe;
    probe.setTimerType(Qt::PreciseTimer);
    probe.setInterval(1);
    qint64 lastTick = 0;
    qint64 worstGap = 0;
    bool measuring = false;
    QObject::connect(&probe, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        if (measuring)
            worstGap = std::max(worstGap, now - lastTick);
        lastTick = now;
    });

    qint64 sentAt = 0;
    double cpuAtB = 0;
    QObject::connect(&controller, &LinkController::stateChanged, [&](LinkController::State s) {
        if (s == LinkController::State::Reading) {
            sentAt = clock.nsecsElapsed();
            cpuAtB = cpuSeconds();
            lastTick = sentAt;
            measuring = true;
        }
    });
    clock.start();
    if (watchLoop)
        probe.start();
    programmer.transfers().read();
    waitFor(stored, 10000);
    const qint64 doneAt = clock.nsecsElapsed();
    const double cpu = cpuSeconds() - cpuAtB;
    measuring = false;
    probe.stop();
    link.close();
    sim.terminate();
    sim.waitForFinished(3000);

    ReadFigures f;
    if (stored.isEmpty()) {
        std::fprintf(stderr, "read did not complete\n");
        std::exit(1);
    }
    const double seconds = (doneAt - sentAt) / 1e9;
    f.ratio = seconds / (1632.0 * 10 / 9600);
    f.stallMs = std::max<double>(0, worstGap / 1e6 - 1.0);
    f.cpuShare = cpu / seconds;
    return f;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QString simulator = QCoreApplication::applicationDirPath() + QStringLiteral("/vq4471r-radiosim");
    QTemporaryDir dir;
    const int runs = 3;
    const int aloneRuns = 5;

    std::vector<ReadFigures> reads;
    for (int i = 0; i < runs; ++i)
        reads.push_back(measureRead(simulator, dir.filePath(QStringLiteral("read%1.db").arg(i)), true));
    std::vector<double> aloneShares;
    for (int i = 0; i < aloneRuns; ++i)
        aloneShares.push_back(
            measureRead(simulator, dir.filePath(QStringLiteral("alone%1.db").arg(i)), false).cpuShare);
    auto median = [](std::vector<double> v) {
        std::sort(v.begin(), v.end());
        return v[v.size() / 2];
    };
    std::vector<double> ratios, stalls, shares;
    for (const auto &r : reads) {
        ratios.push_back(r.ratio);
        stalls.push_back(r.stallMs);
        shares.push_back(r.cpuShare);
    }
    std::printf("read: time from \"B\" to stored / wire time 1.700 s: %.3f (median of %d; target <= 1.05)\n",
                median(ratios), runs);
    std::printf("read: longest event-loop stall: %.2f ms (worst of %d: %.2f ms; target <= 20 ms)\n",
                median(stalls), runs, *std::max_element(stalls.begin(), stalls.end()));
    std::printf("read: CPU time as a share of wall time, 1 ms probe in the process: %.1f %% (median of %d; "
                "target <= 5 %%)\n",
                100 * median(shares), runs);
    std::printf("read: CPU time as a share of wall time, program alone: %.1f %% (median of %d, range %.1f to "
                "%.1f %%; target <= 5 %%)\n",
                100 * median(aloneShares), aloneRuns,
                100 * *std::min_element(aloneShares.begin(), aloneShares.end()),
                100 * *std::max_element(aloneShares.begin(), aloneShares.end()));

    // The write, into an in-process simulator that stamps every byte.
    RadioSimulator sim;
    Programmer programmer;
    programmer.openStore(dir.filePath(QStringLiteral("write.db")));
    programmer.link().setDevicePaths(sim.devicePath(), QString());
    programmer.link().open();
    QSignalSpy written(&sim, &RadioSimulator::writeStored);
    programmer.transfers().write();
    if (!waitFor(written, 10000)) {
        std::fprintf(stderr, "write did not complete\n");
        return 1;
    }
    const QList<qint64> t = sim.receiveTimesNs();
    std::vector<double> gaps;
    for (int f = 1; f < 50; ++f)
        gaps.push_back((t[1 + f * 32] - t[1 + (f - 1) * 32]) / 1e6);
    double worst = 0;
    for (double g : gaps)
        worst = std::max(worst, std::abs(g - 100.0));
    std::printf("write: first frame %.1f ms after \"A\"; frame spacing median %.2f ms, largest deviation "
                "from 100 ms %.2f ms (target <= 10 ms)\n",
                (t[1] - t[0]) / 1e6, median(gaps), worst);
    return 0;
}
