#pragma once

#include "plan/Result.h"

#include <QString>
#include <QStringList>

namespace vq {

class Programmer;

// 诊断报告: one plain-text file that whoever helps the user can read: the
// program and system, the language and settings, the serial devices, a
// look-only cable check of the port in use, the newest link traces and
// the store's health. Nothing is sent anywhere, nothing is sent to a
// device, and no path outside the program's own folders is named (they
// are shown from ~). The traces are the newest few, each cut to its end,
// so the report stays under kReportBound bytes.
QString supportReport(Programmer &programmer, const QStringList &cableFindings);
// The look-only cable check of the device in use (else port 1's), waited for.
QStringList lookAtCable(Programmer &programmer);
// Both, saved through the one save guard.
Result saveSupportReport(Programmer &programmer, const QString &path);

inline constexpr int kTracesQuoted = 3;
inline constexpr qint64 kTraceTail = 16 * 1024;
inline constexpr qint64 kReportBound = 96 * 1024;

} // namespace vq
