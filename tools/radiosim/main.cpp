#include "RadioSimulator.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QSocketNotifier>

#include <csignal>
#include <cstdio>

#include <sys/signalfd.h>

using vq::sim::RadioSimulator;

#ifndef RADIOSIM_VERSION
#define RADIOSIM_VERSION "0"
#endif

namespace {

void say(const QString &line)
{
    std::fprintf(stderr, "%s\n", qPrintable(line));
    std::fflush(stderr);
}

// Leaves out as it is when the option is not given.
bool readCount(const QCommandLineParser &parser, const char *name, int &out)
{
    bool ok = false;
    const int value = parser.value(QLatin1String(name)).toInt(&ok);
    if (parser.isSet(QLatin1String(name)) && (!ok || value < 0)) {
        say(QStringLiteral("--%1 needs a number >= 0").arg(QLatin1String(name)));
        return false;
    }
    out = ok ? value : out;
    return true;
}

QCommandLineOption option(const char *name, const char *description, const char *valueName = "")
{
    return QCommandLineOption(QLatin1String(name), QLatin1String(description), QLatin1String(valueName));
}

} // namespace

int main(int argc, char *argv[])
{
    // Stop signals are taken as data on the event loop, so the memory is still saved on the way out.
    // Blocked before anything could start a thread that would get them instead.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    for (int signo : {SIGINT, SIGTERM, SIGHUP})
        sigaddset(&stopSignals, signo);
    const bool blocked = ::sigprocmask(SIG_BLOCK, &stopSignals, nullptr) == 0;
    const int signalFd = blocked ? ::signalfd(-1, &stopSignals, SFD_CLOEXEC | SFD_NONBLOCK) : -1;

    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("vq4471r-radiosim"));
    QCoreApplication::setApplicationVersion(QStringLiteral(RADIOSIM_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Simulates a VQ4471R radio on a pseudo-terminal. Prints the device path as the first "
                       "line on standard output, then runs until interrupted."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOptions({
        option("link", "Also make the device reachable at <path> (a symbolic link).", "path"),
        option("memory", "Keep the radio's channel memory in <file> (50 lines of 32 characters).", "file"),
        option("unpaced", "Send at once instead of at 960 characters a second."),
        option("never-ready", "Never answer a probe."),
        option("silent-after-b", "Answer nothing to a read request."),
        option("silent-after-write", "Answer nothing (no probe, no read) once a write has landed."),
        option("stop-after", "Stop a read answer after <n> frames.", "n"),
        option("malformed-at", "Garble frame <n> (1-based) of each read answer.", "n"),
        option("corrupt-at", "Send frame <n> (1-based) of each read answer with another receive frequency.",
               "n"),
        option("noise", "Send <n> noise characters before each \"C\".", "n"),
        option("hang-up-after", "Close the line after <n> frames of a read or write.", "n"),
    });
    parser.process(app);
    if (!parser.positionalArguments().isEmpty()) {
        say(QStringLiteral("unexpected argument: %1").arg(parser.positionalArguments().constFirst()));
        return 2;
    }

    RadioSimulator::Options options;
    options.linkPath = parser.value(QStringLiteral("link"));
    options.memoryFile = parser.value(QStringLiteral("memory"));
    options.paced = !parser.isSet(QStringLiteral("unpaced"));
    options.neverReady = parser.isSet(QStringLiteral("never-ready"));
    options.silentAfterB = parser.isSet(QStringLiteral("silent-after-b"));
    options.silentAfterWrite = parser.isSet(QStringLiteral("silent-after-write"));
    if (!readCount(parser, "stop-after", options.stopAfterFrames) ||
        !readCount(parser, "malformed-at", options.malformedFrameAt) ||
        !readCount(parser, "corrupt-at", options.corruptFrameAt) ||
        !readCount(parser, "noise", options.noiseBeforeC) ||
        !readCount(parser, "hang-up-after", options.hangUpAfterFrames))
        return 2;

    if (signalFd < 0) {
        say(QStringLiteral("cannot install signal handlers"));
        return 1;
    }
    QSocketNotifier signalNotifier(signalFd, QSocketNotifier::Read);
    QObject::connect(&signalNotifier, &QSocketNotifier::activated, &app, &QCoreApplication::quit);

    RadioSimulator sim(options);
    if (!sim.isValid()) {
        say(sim.errorString());
        return 1;
    }

    QObject::connect(&sim, &RadioSimulator::commandReceived, &app, [&options](char command) {
        const char *note = command == 'A' ? "write started" : "read requested";
        if (command == '6')
            note = options.neverReady ? "probe ignored (never ready)" : "probe answered";
        else if (command == 'B' && options.silentAfterB)
            note = "read requested, staying silent";
        say(QLatin1String(note));
    });
    QObject::connect(&sim, &RadioSimulator::writeStored, &app, [] {
        say(QStringLiteral("received write: %1 frames stored").arg(RadioSimulator::FrameCount));
    });
    QObject::connect(&sim, &RadioSimulator::writeAbandoned, &app, [&options](int chars) {
        const QString text = QStringLiteral("write abandoned after %1 ms of silence (%2 of %3 characters)");
        say(text.arg(options.writeTimeoutMs).arg(chars).arg(RadioSimulator::WriteChars));
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
