#pragma once

#include "plan/PortInventory.h"
#include "plan/Result.h"

#include <QObject>
#include <QTimer>

namespace vq {

class LinkController;
class PortControl;
class SerialLink;

// A new user's cable is often a USB adapter while port 1 still names the
// built-in serial port. While the radio does not answer on the port in use
// (or no port could be opened), a free USB serial adapter behind neither
// port is offered, also one plugged in later; taking it puts it behind
// port 1, remembers it and polls there. Offering only looks at the
// system's lists: nothing is opened or sent until the user takes it.
class AdapterOffer : public QObject {
    Q_OBJECT
public:
    AdapterOffer(PortControl &ports, SerialLink &link, LinkController &controller, QObject *parent = nullptr);

    // Begins looking; the window does, a script has its ports given.
    void start();
    // Tests lay out their own device tree.
    void setSystemFolders(const SystemFolders &folders) { folders_ = folders; }
    // The adapter on offer, by the name it is remembered by; empty for none.
    QString offered() const { return offered_; }
    // Looks now (the program also looks every two seconds while it offers).
    void look();
    // The adapter on offer becomes port 1's device and the radio is polled there.
    Result take();

signals:
    void offerChanged(const QString &device);

private:
    void offer(const QString &device);

    PortControl &ports_;
    SerialLink &link_;
    LinkController &controller_;
    SystemFolders folders_;
    QTimer timer_;
    bool silent_ = false;
    QString offered_;
};

} // namespace vq
