#include "cli/CommandLine.h"
#include "cli/Verbs.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <csignal>
#include <fcntl.h>
#include <functional>
#include <memory>
#include <unistd.h>

namespace {

// Ctrl+C reaches the event loop through a pipe: the signal handler may do
// nothing but write a byte.
int interruptPipe[2] = {-1, -1};

void onSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(interruptPipe[1], &byte, 1);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("vq4471r-cli"));
    QCoreApplication::setOrganizationName(QStringLiteral("vq4471r"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VQ_VERSION));
    const auto command = vq::cli::parseCommand(app);
    if (!command)
        return vq::cli::kUsageError;

    // Only a transfer catches Ctrl+C, to end cleanly and say what it left;
    // anything else stops at once, which its own transaction or whole-file
    // save makes safe.
    std::function<void()> interrupted;
    std::unique_ptr<QSocketNotifier> notifier;
    if (::pipe2(interruptPipe, O_CLOEXEC | O_NONBLOCK) == 0) {
        notifier = std::make_unique<QSocketNotifier>(interruptPipe[0], QSocketNotifier::Read);
        QObject::connect(notifier.get(), &QSocketNotifier::activated, [&interrupted] {
            char byte;
            while (::read(interruptPipe[0], &byte, 1) > 0) {
            }
            if (interrupted)
                interrupted();
        });
    }
    const auto onInterrupt = [&interrupted, &notifier](std::function<void()> handler) {
        interrupted = std::move(handler);
        struct sigaction action {};
        action.sa_handler = interrupted && notifier ? onSignal : SIG_DFL;
        ::sigaction(SIGINT, &action, nullptr);
        ::sigaction(SIGTERM, &action, nullptr);
    };
    return vq::cli::runCommand(*command, onInterrupt);
}
