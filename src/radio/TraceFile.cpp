#include "radio/TraceFile.h"

namespace vq {

bool TraceFile::open(const QString &path, const QByteArray &header)
{
    file_.close();
    file_.setFileName(path);
    // Added to the end, so a file named by mistake loses nothing, and runs
    // traced one after another stay together. Unbuffered: a full disk shows
    // at the write that meets it, not in a flush nobody checks.
    if (!file_.open(QIODevice::Append | QIODevice::Unbuffered)) {
        error_ = file_.errorString();
        return false;
    }
    return write(header);
}

bool TraceFile::append(const LinkTrace::Entry &entry)
{
    return file_.isOpen() && write(formatTraceEntry(entry));
}

bool TraceFile::write(const QByteArray &bytes)
{
    if (file_.write(bytes) == bytes.size())
        return true;
    error_ = file_.errorString();
    file_.close();
    return false;
}

} // namespace vq
