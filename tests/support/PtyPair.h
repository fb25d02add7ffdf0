#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>

namespace vq::test {

// A bare pseudo-terminal whose far end the test reads and writes itself:
// the bytes the program puts on the line, exactly.
class PtyPair {
public:
    PtyPair();
    ~PtyPair();
    bool isValid() const { return master_ >= 0; }
    QString devicePath() const { return path_; }
    // Everything that arrived so far (non-blocking).
    QByteArray readAvailable();
    // Runs the event loop until at least n bytes arrived or timeoutMs passed.
    QByteArray readAtLeast(qsizetype n, int timeoutMs);
    void write(const QByteArray &bytes);
    void hangUp();

private:
    int master_ = -1;
    int slave_ = -1;
    QString path_;
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

} // namespace vq::test
