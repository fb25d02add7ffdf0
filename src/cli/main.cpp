#include "cli/CommandLine.h"
#include "cli/Output.h"
#include "cli/Verbs.h"
#include "plan/EndSignals.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <algorithm>
#include <csignal>
#include <memory>
#include <functional>

int main(int argc, char *argv[])
{
    vq::cli::holdStandardStreams();
    // Drawing the band chart needs fonts, so that verb runs a GUI
    // application, on the offscreen platform: the tool never needs a display.
    const bool drawing = std::any_of(argv + 1, argv + argc, [](const char *word) { return qstrcmp(word, "chart") == 0; });
    if (drawing)
        qputenv("QT_QPA_PLATFORM", "offscreen");
    std::unique_ptr<QCoreApplication> application =
        drawing ? std::make_unique<QGuiApplication>(argc, argv) : std::make_unique<QCoreApplication>(argc, argv);
    QCoreApplication &app = *application;
    QCoreApplication::setApplicationName(QStringLiteral("vq4471r-cli"));
    QCoreApplication::setOrganizationName(QStringLiteral("vq4471r"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VQ_VERSION));
    const auto command = vq::cli::parseCommand(app);
    if (!command)
        return vq::cli::kUsageError;
    // A reader that went away is an output error the verb reports, not a
    // death in the middle of a transfer.
    std::signal(SIGPIPE, SIG_IGN);

    // Only a transfer catches Ctrl+C, a kill or the terminal hanging up, to
    // end cleanly and say what it left; anything else stops at once, which
    // its own transaction or whole-file save makes safe.
    vq::EndSignals endSignals;
    std::function<void()> interrupted;
    QObject::connect(&endSignals, &vq::EndSignals::received, [&interrupted](int signo) {
        if (signo == SIGHUP)
            vq::cli::outputGone();
        if (interrupted)
            interrupted();
    });
    const auto onInterrupt = [&interrupted, &endSignals](std::function<void()> handler) {
        interrupted = std::move(handler);
        if (!interrupted || !endSignals.catchSignals({SIGINT, SIGTERM, SIGHUP}))
            endSignals.release();
    };
    return vq::cli::finishOutput(vq::cli::runCommand(*command, onInterrupt));
}
