#pragma once

#include "plan/Result.h"

#include <QByteArray>
#include <QString>

#include <functional>

namespace vq {

// Every file the program writes goes through here: the channel file, CSV,
// snapshot exports, traces and the PDF, from the window and the command
// line alike. It refuses a store open in this process (and its journal
// files), a folder, a FIFO or a device; it replaces the target only by a
// complete new file, keeping the target's permissions. The path is used
// exactly as given.
Result saveFile(const QString &path, const QByteArray &bytes);

// The same for a file something else renders: `render` fills the draft
// path given and returns why it could not, or nothing.
using FileRenderer = std::function<QString(const QString &draftPath)>;
Result saveRendered(const QString &path, const FileRenderer &render);

// Why nothing may be written at `path` ("" when it may), before any work
// is spent on the content.
QString saveRefusal(const QString &path);

} // namespace vq
