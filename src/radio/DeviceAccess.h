#pragma once

#include <QString>

namespace vq {

// What stands between this program and a serial device, found without
// sending it anything.
enum class DeviceState {
    Free,         // can be opened and locked now
    Missing,      // no such path, or a link to nothing
    NotSerial,    // a folder, a plain file, or a device that is not a terminal
    NoPermission, // this user may not read and write it
    InUse,        // another program holds it (a lock, or exclusive mode)
};

struct DeviceCheck {
    DeviceState state = DeviceState::Missing;
    // The real device behind links such as /dev/serial/by-id/…; empty when missing.
    QString device;
    // The system's own words for the problem, for a second line.
    QString detail;
};

// Looks at a device without opening it: whether it exists, is a character
// device, and is open to this user. Cheap enough to run every second for a
// list of devices; it cannot see a lock another program holds.
DeviceCheck inspectDevice(const QString &path);

// As inspectDevice, then opens the device without touching its lines and
// tries the lock that serial programs take, letting it go again at once: a
// device another program holds is found as InUse and nothing is written.
DeviceCheck checkDevice(const QString &path);

// A descriptor of `device` (a path from DeviceCheck::device) holding the
// exclusive lock serial programs take, or -1 with the state that stopped
// it in `check`. Nothing is written to the device.
int openLocked(const QString &device, DeviceCheck &check);

} // namespace vq
