#pragma once

#include "PseudoTerminal.h"

#include <QByteArray>
#include <QProcess>
#include <QString>

namespace vq::test {

// A bare pseudo-terminal whose far end the test reads and writes itself:
// the bytes the program puts on the line, exactly.
class PtyPair {
public:
    PtyPair() { pty_.open(); }
    bool isValid() const { return pty_.isUp(); }
    QString devicePath() const { return pty_.devicePath(); }
    // Everything that arrived so far (non-blocking).
    QByteArray readAvailable() { return pty_.readAll(); }
    // Runs the event loop until at least n bytes arrived or timeoutMs passed.
    QByteArray readAtLeast(qsizetype n, int timeoutMs);
    void write(const QByteArray &bytes) { pty_.write(bytes.constData(), bytes.size()); }

private:
    sim::PseudoTerminal pty_;
};

// Another program holding a device the way serial programs do (an exclusive
// flock on it), until destroyed.
class DeviceHolder {
public:
    explicit DeviceHolder(const QString &device);
    ~DeviceHolder();
    bool isHolding() const { return holding_; }

private:
    QProcess process_;
    bool holding_ = false;
};

// Runs this test program again as the user nobody, without groups, with
// `arguments`, and gives what it printed; empty when that user cannot run
// it from where it lies.
QByteArray runAsAnotherUser(const QStringList &arguments);

} // namespace vq::test
