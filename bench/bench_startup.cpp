// Start-up figures: the time from starting the program to its main window
// shown (offscreen, median of 5), and the peak resident memory of such a
// run. Each run is a fresh process that goes through the program's own
// start-up on a new store and a simulator's port, then reports and exits.
#include "app/Appearance.h"
#include "app/MainWindow.h"
#include "plan/Language.h"
#include "app/Program.h"
#include "QuietMessenger.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <sys/resource.h>
#include <vector>

namespace {

int child(int argc, char *argv[])
{
    QApplication app(argc, argv);
    vq::installChineseFonts();
    vq::useLanguage(vq::Language::Chinese);
    vq::bench::QuietMessenger messenger;
    vq::Program program(messenger);
    vq::ProgramOptions options;
    options.database = QString::fromLocal8Bit(argv[2]);
    options.com1 = QString::fromLocal8Bit(argv[3]);
    options.com2 = QStringLiteral("/nonexistent");
    if (!program.start(options) || !QTest::qWaitForWindowExposed(program.window()))
        return 1;
    std::printf("shown\n");
    std::fflush(stdout);
    // The start-up write is under way; let it run a moment as a user's would.
    QTest::qWait(1500);
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    std::printf("rss %ld\n", u.ru_maxrss);
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc == 4 && std::string(argv[1]) == "--child")
        return child(argc, argv);

    QCoreApplication app(argc, argv);
    const QString dir = QCoreApplication::applicationDirPath();
    QProcess sim;
    sim.start(dir + QStringLiteral("/vq4471r-radiosim"), {});
    if (!sim.waitForReadyRead(5000))
        return 1;
    const QString device = QString::fromLocal8Bit(sim.readLine()).trimmed();
    QTemporaryDir tmp;
    std::vector<double> times;
    long peakKb = 0;
    for (int run = 0; run < 5; ++run) {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        p.setProcessEnvironment(env);
        QElapsedTimer clock;
        clock.start();
        p.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--child"), tmp.filePath(QStringLiteral("s%1.db").arg(run)), device});
        while (p.state() != QProcess::NotRunning && !p.canReadLine())
            p.waitForReadyRead(5000);
        const double ms = clock.nsecsElapsed() / 1e6;
        if (!p.readLine().startsWith("shown"))
            return 1;
        times.push_back(ms);
        p.waitForFinished(10000);
        const QByteArray rest = p.readAll();
        const qsizetype at = rest.indexOf("rss ");
        if (at >= 0)
            peakKb = std::max(peakKb, rest.mid(at + 4).trimmed().toLong());
    }
    sim.terminate();
    sim.waitForFinished(3000);
    std::sort(times.begin(), times.end());
    std::printf("start-up to main window shown (offscreen): median %.0f ms of 5 (min %.0f, max %.0f; target "
                "< 300 ms)\n",
                times[2], times.front(), times.back());
    std::printf("peak resident memory: %.1f MB (target < 80 MB)\n", peakKb / 1024.0);
    return 0;
}
