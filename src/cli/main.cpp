#include "cli/CommandLine.h"
#include "cli/Output.h"
#include "cli/Verbs.h"
#include "plan/EndSignals.h"

#include <QCoreApplication>

#include <csignal>
#include <functional>

int main(int argc, char *argv[])
{
    vq::cli::holdStandardStreams();
    QCoreApplication app(argc, argv);
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
