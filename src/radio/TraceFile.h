#pragma once

#include "radio/LinkTrace.h"

#include <QFile>

namespace vq {

// The link trace written as it happens, for a fault that ends the program
// before anyone could save the trace. Every entry goes straight to the
// file, so what is there survives a crash.
class TraceFile {
public:
    // Adds `header` to the end of the file, made when missing; false when it
    // cannot be written.
    bool open(const QString &path, const QByteArray &header);
    // False when the write failed: the file is closed then and takes no more.
    bool append(const LinkTrace::Entry &entry);
    bool isOpen() const { return file_.isOpen(); }
    QString path() const { return file_.fileName(); }
    // Why the last open or append failed.
    QString errorString() const { return error_; }
    void close() { file_.close(); }

private:
    bool write(const QByteArray &bytes);

    QFile file_;
    QString error_;
};

} // namespace vq
