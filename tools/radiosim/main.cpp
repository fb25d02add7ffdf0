#include "RadioSimulator.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <cstdio>

#include <fcntl.h>
#include <unistd.h>

#ifndef RADIOSIM_VERSION
#define RADIOSIM_VERSION "0"
#endif

namespace {

int signalPipe[2] = {-1, -1};

// Only async-signal-safe work here; the event loop does the rest.
void onSignal(int signo)
{
    const int saved = errno;
    const char c = char(signo);
    const ssize_t written = ::write(signalPipe[1], &c, 1);
    (void)written;
    errno = saved;
}

bool installSignalHandlers()
{
    if (::pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return false;
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signo : {SIGINT, SIGTERM, SIGHUP}) {
        if (::sigaction(signo, &action, nullptr) != 0)
            return false;
    }
    return true;
}

void say(const QString &line)
{
    std::fprintf(stderr, "%s\n", qPrintable(line));
    std::fflush(stderr);
}

bool readCount(const QCommandLineParser &parser, const QCommandLineOption &option, int &out)
{
    if (!parser.isSet(option))
        return true;
    bool ok = false;
    const int value = parser.value(option).toInt(&ok);
    if (!ok || value < 0) {
        say(QStringLiteral("--%1 needs a number >= 0").arg(option.names().constFirst()));
        return false;
    }
    out = value;
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("vq4471r-radiosim"));
    QCoreApplication::setApplicationVersion(QStringLiteral(RADIOSIM_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Simulates a VQ4471R radio on a pseudo-terminal. Prints the device path as the first "
                       "line on standard output, then runs until interrupted."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption link(
        QStringLiteral("link"), QStringLiteral("Also make the device reachable at <path> (a symbolic link)."),
        QStringLiteral("path"));
    const QCommandLineOption memory(
        QStringLiteral("memory"),
        QStringLiteral("Keep the radio's channel memory in <file> (50 lines of 32 characters)."),
        QStringLiteral("file"));
    const QCommandLineOption unpaced(QStringLiteral("unpaced"),
                                     QStringLiteral("Send at once instead of at 960 characters a second."));
    const QCommandLineOption neverReady(QStringLiteral("never-ready"),
                                        QStringLiteral("Never answer a probe."));
    const QCommandLineOption silentAfterB(QStringLiteral("silent-after-b"),
                                          QStringLiteral("Answer nothing to a read request."));
    const QCommandLineOption stopAfter(QStringLiteral("stop-after"),
                                       QStringLiteral("Stop a read answer after <n> frames."),
                                       QStringLiteral("n"));
    const QCommandLineOption malformedAt(QStringLiteral("malformed-at"),
                                         QStringLiteral("Garble frame <n> (1-based) of each read answer."),
                                         QStringLiteral("n"));
    const QCommandLineOption noise(QStringLiteral("noise"),
                                   QStringLiteral("Send <n> noise characters before each \"C\"."),
                                   QStringLiteral("n"));
    const QCommandLineOption hangUpAfter(
        QStringLiteral("hang-up-after"),
        QStringLiteral("Close the line after <n> frames of a read or write."), QStringLiteral("n"));
    parser.addOptions(
        {link, memory, unpaced, neverReady, silentAfterB, stopAfter, malformedAt, noise, hangUpAfter});
    parser.process(app);
    if (!parser.positionalArguments().isEmpty()) {
        say(QStringLiteral("unexpected argument: %1").arg(parser.positionalArguments().constFirst()));
        return 2;
    }

    RadioSimulator::Options options;
    options.linkPath = parser.value(link);
    options.memoryFile = parser.value(memory);
    options.paced = !parser.isSet(unpaced);
    options.neverReady = parser.isSet(neverReady);
    options.silentAfterB = parser.isSet(silentAfterB);
    if (!readCount(parser, stopAfter, options.stopAfterFrames) ||
        !readCount(parser, malformedAt, options.malformedFrameAt) ||
        !readCount(parser, noise, options.noiseBeforeC) ||
        !readCount(parser, hangUpAfter, options.hangUpAfterFrames))
        return 2;

    if (!installSignalHandlers()) {
        say(QStringLiteral("cannot install signal handlers"));
        return 1;
    }
    QSocketNotifier signalNotifier(signalPipe[0], QSocketNotifier::Read);
    QObject::connect(&signalNotifier, &QSocketNotifier::activated, &app, [] {
        char c = 0;
        while (::read(signalPipe[0], &c, 1) > 0) {
        }
        QCoreApplication::quit();
    });

    RadioSimulator sim(options);
    if (!sim.isValid()) {
        say(sim.errorString());
        return 1;
    }

    QObject::connect(&sim, &RadioSimulator::commandReceived, &app, [&sim](char command) {
        const RadioSimulator::Options &o = sim.options();
        if (command == '6')
            say(o.neverReady ? QStringLiteral("probe ignored (never ready)")
                             : QStringLiteral("probe answered"));
        else if (command == 'A')
            say(QStringLiteral("write started"));
        else
            say(o.silentAfterB ? QStringLiteral("read requested, staying silent")
                               : QStringLiteral("read requested"));
    });
    QObject::connect(&sim, &RadioSimulator::writeStored, &app, [] {
        say(QStringLiteral("received write: %1 frames stored").arg(RadioSimulator::FrameCount));
    });
    QObject::connect(&sim, &RadioSimulator::writeAbandoned, &app, [&sim](int chars) {
        say(QStringLiteral("write abandoned after %1 ms of silence (%2 of %3 characters)")
                .arg(sim.options().writeTimeoutMs)
                .arg(chars)
                .arg(RadioSimulator::WriteChars));
    });
    QObject::connect(&sim, &RadioSimulator::readServed, &app, [] { say(QStringLiteral("served read")); });
    QObject::connect(&sim, &RadioSimulator::problem, &app, [](const QString &message) { say(message); });
    // Nothing can reach a hung-up line again, so there is no point staying.
    QObject::connect(&sim, &RadioSimulator::hungUp, &app, [] {
        say(QStringLiteral("hung up"));
        QCoreApplication::quit();
    });

    std::printf("%s\n", qPrintable(sim.devicePath()));
    std::fflush(stdout);
    if (!options.linkPath.isEmpty())
        say(QStringLiteral("linked at %1").arg(options.linkPath));

    const int rc = app.exec();
    // Also writes a fresh file when no write came, so the memory can be edited by hand.
    if (!options.memoryFile.isEmpty() && !sim.saveMemory())
        return 1;
    return rc;
}
