#pragma once

#include "cli/CommandLine.h"
#include "plan/Programmer.h"

#include <functional>

namespace vq::cli {

// Exit statuses of the command-line tool.
inline constexpr int kSucceeded = 0;
inline constexpr int kFailed = 1;
inline constexpr int kUsageError = 2;

// Sets up what Ctrl+C does while a transfer runs; an empty handler gives
// the signal back its default.
using Interrupts = std::function<void(std::function<void()>)>;

// Runs one command to its end on the running event loop and gives the exit
// status. `onInterrupt` is set up to be called when the user presses
// Ctrl+C: the running transfer stops cleanly and says what it left.
int runCommand(const Command &command, const Interrupts &onInterrupt);

// A read on the terminal, for read and diff alike: `start` begins it, its
// progress is shown, Ctrl+C stops it with `stopped` said; `listen` gets the
// call that ends it well. kSucceeded when it did, else the failure said.
int awaitRead(Programmer &programmer, const Interrupts &onInterrupt, const QString &stopped,
              const std::function<Result()> &start,
              const std::function<void(QObject *context, const std::function<void()> &done)> &listen);

// One verb each, in a file of its own.
int runPorts(const Command &command);
int runProbe(const Command &command);
int runCheck(const Command &command);
int runExport(const Command &command);
int runImport(const Command &command);
int runSort(const Command &command);
int runChart(const Command &command);
int runReport(const Command &command);
int runRead(const Command &command, const Interrupts &onInterrupt);
int runWrite(const Command &command, const Interrupts &onInterrupt);
int runDiff(const Command &command, const Interrupts &onInterrupt);

} // namespace vq::cli
