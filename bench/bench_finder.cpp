// Figures of the radio finder, every device probed at once:
//   8 simulated radios beside 8 silent lines: the search ends at the probe
//   limit (500 ms), so its wall time is the limit plus what the probes cost;
//   8 radios alone: the search ends as soon as the last one has answered.
// The simulators answer at the line rate on the same event loop as the finder.
#include "PseudoTerminal.h"
#include "RadioSimulator.h"
#include "radio/RadioFinder.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSignalSpy>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

using namespace vq;

namespace {

constexpr int kRuns = 5;
constexpr int kRadios = 8;

struct Run {
    double ms = 0;
    int found = 0;
};

Run search(const QStringList &paths)
{
    RadioFinder finder;
    QSignalSpy done(&finder, &RadioFinder::finished);
    QElapsedTimer clock;
    clock.start();
    finder.start(paths);
    if (!done.wait(5000)) {
        std::fprintf(stderr, "the search did not end\n");
        std::exit(1);
    }
    Run run{clock.nsecsElapsed() / 1e6, 0};
    for (const ProbeOutcome &outcome : finder.outcomes())
        run.found += outcome.kind == ProbeOutcome::Kind::Answered;
    return run;
}

void report(const char *what, const QStringList &paths)
{
    std::vector<Run> runs;
    for (int i = 0; i < kRuns; ++i)
        runs.push_back(search(paths));
    std::sort(runs.begin(), runs.end(), [](const Run &a, const Run &b) { return a.ms < b.ms; });
    const auto fewest = std::min_element(runs.begin(), runs.end(),
                                         [](const Run &a, const Run &b) { return a.found < b.found; });
    std::printf("%-28s median %7.1f ms   worst %7.1f ms   found %d of %d (fewest over %d runs)\n", what,
                runs[kRuns / 2].ms, runs.back().ms, fewest->found, kRadios, kRuns);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    std::vector<std::unique_ptr<sim::RadioSimulator>> radios;
    std::vector<std::unique_ptr<sim::PseudoTerminal>> silent;
    QStringList radioPaths, silentPaths;
    for (int i = 0; i < kRadios; ++i) {
        radios.push_back(std::make_unique<sim::RadioSimulator>());
        silent.push_back(std::make_unique<sim::PseudoTerminal>());
        if (!radios.back()->isValid() || !silent.back()->open()) {
            std::fprintf(stderr, "no pseudo-terminal\n");
            return 1;
        }
        radioPaths << radios.back()->devicePath();
        silentPaths << silent.back()->devicePath();
    }
    report("8 radios + 8 silent lines", radioPaths + silentPaths);
    report("8 radios alone", radioPaths);
    return 0;
}
