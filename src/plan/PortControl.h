#pragma once

#include "plan/PortInventory.h"
#include "plan/PortSettings.h"
#include "plan/Result.h"

#include <QObject>
#include <QString>

namespace vq {

class LinkController;
class SerialLink;

// The two ports as the window uses them: their devices, the one in use,
// switching between them and putting another device behind one; and
// whether a search for the radio or a cable check may open devices now.
class PortControl : public QObject {
    Q_OBJECT
public:
    PortControl(SerialLink &link, LinkController &controller, QObject *parent = nullptr);

    // The devices of the two ports and the one to try first; choices made
    // later are remembered in `settings` when given.
    void usePorts(const PortChoice &choice, PortSettings *settings = nullptr);
    PortSettings *settings() const { return settings_; }
    // The first port, else the other after saying why the first could not
    // be used; when neither opens, that is said too.
    Result openPort();
    // Moves the link to a port (the port dialog) and polls the radio there.
    Result switchPort(int port);
    // Puts a device behind port 1 or 2; the link moves at once when that
    // port is the one in use.
    Result assignDevice(int port, const QString &device);
    // The two ports as the device window marks them.
    PortSetup portSetup() const;
    int portInUse() const;
    QString deviceInUse() const;
    // What went over the line since the port opened, for the device window.
    qint64 bytesSent() const;
    qint64 bytesReceived() const;
    // Not while a transfer needs the line to itself.
    Result mayProbe() const;
    // As mayProbe, and never the device the open port holds: our own lock
    // would read as another program's.
    Result mayCheckCable(const QString &device) const;

signals:
    // The link now talks to another port (or the same one again): what the
    // old radio said no longer holds.
    void portMoved();

private:
    Result movePort(int port);

    SerialLink &link_;
    LinkController &controller_;
    PortSettings *settings_ = nullptr;
    int firstPort_ = 1;
};

} // namespace vq
