// History figures: one snapshot and one restore of a full 50-channel table
// (median and worst of 100 each), and the history window opened over
// 10 000 snapshots until its list is painted (offscreen, median of 5).
#include "app/HistoryWindow.h"
#include "plan/HistoryModel.h"
#include "plan/Programmer.h"
#include "QuietMessenger.h"

#include <QApplication>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int kRuns = 100;
const int kSnapshots = qEnvironmentVariableIntValue("VQ_BENCH_SNAPSHOTS") > 0 ? qEnvironmentVariableIntValue("VQ_BENCH_SNAPSHOTS") : 10000;

// A plan with every field of every channel set; plans of neighbouring
// seeds differ in every channel.
vq::PlanRows fullPlan(int seed)
{
    vq::PlanRows rows;
    const std::string rx = std::to_string(400 + seed % 70) + ".12500";
    const std::string tx = std::to_string(401 + seed % 60) + ".00000";
    for (int row = 0; row < vq::kChannelCount; ++row)
        rows.push_back({std::to_string(row + 1), rx, seed % 2 ? "88.5" : "67.0", "", tx, "",
                        seed % 2 ? "754" : "023", seed % 2 ? "add" : "del", "off", seed % 2 ? "on" : "off"});
    rows[0][vq::TxTone] = std::to_string(seed);
    return rows;
}

void report(const char *what, std::vector<double> ms)
{
    std::sort(ms.begin(), ms.end());
    std::printf("%-34s median %.2f ms, worst %.2f ms\n", what, ms[ms.size() / 2], ms.back());
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    vq::Programmer programmer;
    if (!programmer.openStore(dir.filePath(QStringLiteral("bench.db"))).ok)
        return 1;
    vq::ChannelHistory &history = programmer.history();
    history.setKeep(kSnapshots);

    QSqlQuery pragma(QSqlDatabase::database(programmer.store().connectionName()));
    QElapsedTimer clock;
    std::vector<vq::ChannelHistory::Entry> entries;
    // As the program runs (every commit waits for the disk), then the work
    // alone: the disk's flush time differs from machine to machine.
    for (const char *sync : {"FULL", "OFF"}) {
        pragma.exec(QStringLiteral("PRAGMA synchronous = %1").arg(QLatin1String(sync)));
        std::vector<double> snapshotMs;
        for (int n = 0; n < kRuns; ++n) {
            const vq::PlanRows rows = fullPlan(n);
            clock.start();
            history.add(vq::ChannelHistory::Reason::Read, QStringLiteral("/dev/ttyUSB0"), rows);
            snapshotMs.push_back(clock.nsecsElapsed() / 1e6);
        }
        std::vector<double> restoreMs;
        entries = history.entries();
        for (int n = 0; n < kRuns; ++n) {
            clock.start();
            programmer.editor().restoreSnapshot(entries[static_cast<std::size_t>(n % 2)].id);
            restoreMs.push_back(clock.nsecsElapsed() / 1e6);
        }
        const bool flushed = QLatin1String(sync) == QLatin1String("FULL");
        report(flushed ? "snapshot (50 channels):" : "snapshot, without the disk flush:", snapshotMs);
        report(flushed ? "restore (snapshot + one batch):" : "restore, without the disk flush:", restoreMs);
    }

    // Filled up without waiting for the disk: filling is not what is measured.
    for (auto n = history.entries().size(); n < static_cast<std::size_t>(kSnapshots); ++n)
        history.add(vq::ChannelHistory::Reason::Write, QString(), fullPlan(static_cast<int>(n)));
    pragma.exec(QStringLiteral("PRAGMA synchronous = FULL"));
    vq::bench::QuietMessenger messenger;
    std::vector<double> openMs;
    for (int run = 0; run < 5; ++run) {
        clock.start();
        vq::HistoryWindow window(programmer, messenger);
        window.show();
        if (!QTest::qWaitForWindowExposed(&window))
            return 1;
        QApplication::processEvents();
        openMs.push_back(clock.nsecsElapsed() / 1e6);
        if (window.model()->rowCount() != kSnapshots)
            return 1;
    }
    report("history window, 10 000 snapshots:", openMs);
    return 0;
}
