#pragma once

#include <QStringList>

namespace vq {

// The programs looked for on the PATH, in order, where the Windows registry
// does not name the system information tool.
QStringList systemInfoPrograms();

// Starts the system information tool on its own, with a normal window.
// False when there is none or it would not start.
bool StartSysInfo();

} // namespace vq
