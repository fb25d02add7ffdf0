#pragma once

#include "radio/DeviceUsers.h"
#include "radio/PortProbe.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <array>

namespace vq {

// One serial device as the device window lists it.
struct PortEntry {
    enum class State { Free, InUse, NoPermission, Current, Missing, NotSerial };

    QString path;       // the device, e.g. /dev/ttyUSB0; a remembered name when missing
    QString stableName; // its /dev/serial/by-id/… link, which survives replugging
    QString description;
    QString manufacturer;
    QString serialNumber;
    QString usbId; // vendor:product, four hex digits each
    State state = State::Free;
    QString holder;   // who holds it, when the system tells ("minicom（PID 100）")
    QList<int> ports; // the program's ports (1, 2) that name this device

    // The name to remember: the stable one when there is one.
    QString rememberedName() const { return stableName.isEmpty() ? path : stableName; }
};

// What the program's two ports are, for marking the list.
struct PortSetup {
    std::array<QString, 2> devices;
    int activePort = 1;
    bool activeOpen = false;
    // Whether to look through the processes for who holds a device.
    bool lookAtProcesses = true;
};

// Where the system keeps the things the list looks at; tests lay out their own.
struct SystemFolders {
    QString procRoot = kProcRoot;
    QStringList lockFolders = kLockFolders;
    QString byIdFolder = QStringLiteral("/dev/serial/by-id");
};

// Every serial device the system has, and the devices of the two ports even
// when the system does not list them (a pseudo-terminal, a symbolic link, a
// remembered adapter that is unplugged), sorted by path. Nothing is opened:
// this runs every second while the device window is open.
QList<PortEntry> listSerialDevices(const PortSetup &setup, const SystemFolders &folders = {});

// "1a86:7523": the USB ids as udev rules and lsusb write them.
QString usbIdText(quint16 vendor, quint16 product);

// A list made without looking at the processes keeps what the last look
// found: a device in use stays so until the next look says otherwise.
void keepKnownHolders(QList<PortEntry> &fresh, const QList<PortEntry> &before);

// The state as the list shows it: 可用, 使用中, 无权限, 当前端口, 不存在, 不是串口.
QString stateText(PortEntry::State state);

// The first USB serial adapter that is free and behind neither port, by
// the name to remember it by; empty when there is none.
QString freeUsbAdapter(const QList<PortEntry> &entries);

// The devices the radio finder may probe: free ones only, each once.
QStringList probeCandidates(const QList<PortEntry> &entries);

// What a search for the radio found: one line per device that answered (or
// one saying none did), and the device to offer when exactly one answered.
struct SearchReport {
    QStringList lines;
    QString onlyRadio;
};
SearchReport reportSearch(const QList<ProbeOutcome> &outcomes);

} // namespace vq
