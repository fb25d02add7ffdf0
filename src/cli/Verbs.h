#pragma once

#include "cli/CommandLine.h"

#include <functional>

namespace vq::cli {

// Exit statuses of the command-line tool.
inline constexpr int kSucceeded = 0;
inline constexpr int kFailed = 1;
inline constexpr int kUsageError = 2;

// Runs one command to its end on the running event loop and gives the exit
// status. `interrupted` is set up to be called when the user presses
// Ctrl+C: the running transfer stops cleanly and says what it left.
int runCommand(const Command &command, std::function<void(std::function<void()>)> onInterrupt);

} // namespace vq::cli
