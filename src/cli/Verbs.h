#pragma once

#include "cli/CommandLine.h"

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
