#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace vq::sim {

// How the radio behaves, misbehaviour included, and the answers that follow. Not nested in RadioSimulator:
// a nested struct with member initialisers cannot be a default argument until the class is complete.
struct RadioSimulatorOptions {
    QString linkPath{};   // if set: a symbolic link to the device, removed again on destruction
    QString memoryFile{}; // if set: loaded at start when it exists, saved after each stored write
    bool paced = true;    // send at the real line rate (960 characters a second)

    // Fault modes; all off by default.
    bool neverReady = false;       // never answer a probe
    bool silentAfterWrite = false; // answer nothing once a write has landed
    bool silentAfterB = false;     // answer nothing to a read request
    int stopAfterFrames = -1;      // read answer stops after this many frames (0: leading block only); -1 off
    int malformedFrameAt = 0;      // 1-based frame of a read answer replaced by garbage; 0 off
    int corruptFrameAt = 0;        // 1-based frame of a read answer sent with another receive digit; 0 off
    int noiseBeforeC = 0;          // noise characters sent before each "C"
    int hangUpAfterFrames = -1; // line closed after this many frames sent (read) or received (write); -1 off

    int writeTimeoutMs = 3000; // a write that goes quiet this long is abandoned
    QByteArray leadingBlock = QByteArrayLiteral("56513434373152000000000000000000");

    QByteArray probeAnswer() const;                         // empty: say nothing
    QByteArray readAnswer(const QStringList &memory) const; // empty: say nothing
};

} // namespace vq::sim
