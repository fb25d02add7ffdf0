#pragma once

#include "radio/DeviceUsers.h"
#include "radio/PortProbe.h"

#include <QObject>
#include <QStringList>

namespace vq {

// What decides the advice for a device this user may not open.
struct DeviceRights {
    QString device;
    QString group;            // the device's group by name; empty when it has none
    bool groupIsRoot = false; // joining root's group is never the answer
    bool groupMayUse = false; // the group may both read and write the device
    QString user;             // this user's login name
    bool userListed = false;  // the user is in the group, in the group file
    bool sessionHas = false;  // the running session already carries the group
};

// The rights of `device` as the system has them now, for this user.
DeviceRights deviceRights(const QString &device);

namespace texts {
// The line telling the user what to do about `rights`.
QString permissionAdvice(const DeviceRights &rights);
} // namespace texts

// "检测线路": walks through what stands between the program and the radio on
// one device, one plain line a finding, in the order a user would check
// them: the device, its access rights, other programs that hold it,
// background programs known to seize serial adapters, then a probe of the
// radio itself (skipped when the device cannot be used).
class CableCheck : public QObject {
    Q_OBJECT
public:
    enum class Verdict { Answered, Silent, Noise, Missing, NotSerial, NoPermission, InUse, Failed };
    Q_ENUM(Verdict)

    explicit CableCheck(QObject *parent = nullptr);

    void setProbeLimit(int ms) { probe_.setLimit(ms); }
    // Without probing the check only looks: nothing is sent to the device.
    void setProbing(bool on) { probing_ = on; }
    // Where processes and lock files are looked for; tests lay out their own.
    void setSystemFolders(const QString &procRoot, const QStringList &lockFolders);

    // Starts the check; finished() follows later, never from inside start().
    void start(const QString &path);
    bool isRunning() const { return running_; }
    const QStringList &lines() const { return lines_; }
    Verdict verdict() const { return verdict_; }

signals:
    void finished(const QStringList &lines, vq::CableCheck::Verdict verdict);

private:
    bool checkInUse(const QString &device, bool mayOpen);
    void checkBackgroundPrograms();
    void onProbeFinished(const ProbeOutcome &outcome);
    void finish(Verdict verdict);

    PortProbe probe_;
    QString procRoot_ = kProcRoot;
    QStringList lockFolders_ = kLockFolders;
    QStringList lines_;
    Verdict verdict_ = Verdict::Failed;
    bool running_ = false;
    bool probing_ = true;
    quint64 generation_ = 0;
};

} // namespace vq
