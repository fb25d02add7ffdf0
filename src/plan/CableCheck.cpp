#include "plan/CableCheck.h"

#include "plan/Notice.h"
#include "radio/DeviceAccess.h"
#include "plan/LinkTexts.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <vector>

namespace vq {

namespace {

bool sessionCarries(gid_t gid)
{
    if (::getegid() == gid)
        return true;
    const int count = ::getgroups(0, nullptr);
    std::vector<gid_t> groups(count > 0 ? size_t(count) : 0);
    const int got = count > 0 ? ::getgroups(count, groups.data()) : 0;
    return std::find(groups.begin(), groups.begin() + (got > 0 ? got : 0), gid) != groups.end();
}

// Enough of what came back to recognise it ("41 54 0D" is a modem's "AT").
QString shownBytes(const QByteArray &bytes)
{
    constexpr qsizetype kShown = 16;
    const QString hex = QString::fromLatin1(bytes.left(kShown).toHex(' ').toUpper());
    return bytes.size() > kShown ? hex + QStringLiteral(" …") : hex;
}

} // namespace

DeviceRights deviceRights(const QString &device)
{
    DeviceRights rights;
    rights.device = device;
    gid_t userGid = gid_t(-1);
    if (const struct passwd *pw = ::getpwuid(::getuid())) {
        rights.user = QString::fromLocal8Bit(pw->pw_name);
        userGid = pw->pw_gid;
    }
    struct stat st {};
    if (::stat(QFile::encodeName(device).constData(), &st) != 0)
        return rights;
    rights.groupIsRoot = st.st_gid == 0;
    rights.groupMayUse = (st.st_mode & (S_IRGRP | S_IWGRP)) == (S_IRGRP | S_IWGRP);
    rights.sessionHas = sessionCarries(st.st_gid);
    rights.userListed = userGid == st.st_gid;
    if (const struct group *gr = ::getgrgid(st.st_gid)) {
        rights.group = QString::fromLocal8Bit(gr->gr_name);
        for (char **member = gr->gr_mem; member && *member && !rights.userListed; ++member)
            rights.userListed = rights.user == QString::fromLocal8Bit(*member);
    }
    return rights;
}

namespace texts {

QString permissionAdvice(const DeviceRights &rights)
{
    // Root's group would give away far more than one device, a group without
    // read and write gives nothing, and a session that has the group already
    // is stopped by something else: each needs someone who runs the system.
    if (rights.group.isEmpty() || rights.groupIsRoot || !rights.groupMayUse || rights.sessionHas ||
        rights.user.isEmpty())
        return needsAdministrator(rights.device, rights.groupIsRoot ? QStringLiteral("root") : rights.group);
    if (rights.userListed)
        return groupNotActive(rights.device, rights.group);
    return joinGroup(rights.device, rights.group, rights.user);
}

QString permissionHint(const QString &device)
{
    return permissionAdvice(deviceRights(device));
}

} // namespace texts

CableCheck::CableCheck(QObject *parent) : QObject(parent)
{
    connect(&probe_, &PortProbe::finished, this, &CableCheck::onProbeFinished);
}

void CableCheck::setSystemFolders(const QString &procRoot, const QStringList &lockFolders)
{
    procRoot_ = procRoot;
    lockFolders_ = lockFolders;
    probe_.setLockFolders(lockFolders);
}

void CableCheck::start(const QString &path)
{
    probe_.stop();
    ++generation_;
    running_ = true;
    lines_.clear();

    const DeviceCheck check = inspectDevice(path);
    Verdict verdict = Verdict::Answered;
    if (check.state == DeviceState::Missing) {
        lines_ << texts::deviceMissing(path);
        verdict = Verdict::Missing;
    } else if (check.state == DeviceState::NotSerial) {
        lines_ << texts::deviceNotSerial(path);
        verdict = Verdict::NotSerial;
    } else {
        const bool linked = QDir::cleanPath(QFileInfo(path).absoluteFilePath()) != check.device;
        lines_ << (linked ? texts::deviceFoundAs(path, check.device) : texts::deviceFound(path));
        const bool mayOpen = check.state != DeviceState::NoPermission;
        lines_ << (mayOpen ? texts::kDeviceAccessible : texts::permissionHint(path));
        if (checkInUse(check.device, mayOpen))
            verdict = Verdict::InUse;
        if (!mayOpen)
            verdict = Verdict::NoPermission;
    }
    // A grabbing program is also why an adapter vanishes, so it is looked for
    // whatever became of the device.
    checkBackgroundPrograms();
    if (verdict != Verdict::Answered || !probing_) {
        lines_ << (probing_ ? texts::kProbeSkipped : texts::kProbeNotAsked);
        return finish(verdict);
    }
    probe_.start(path);
}

bool CableCheck::checkInUse(const QString &device, bool mayOpen)
{
    const qsizetype before = lines_.size();
    const qint64 holder = lockFileHolder(device, lockFolders_, procRoot_);
    if (holder)
        lines_ << texts::deviceUsedBy(processName(holder, procRoot_), holder);
    for (const ProcessInfo &user : processesUsing(device, QCoreApplication::applicationPid(), procRoot_)) {
        if (user.pid != holder)
            lines_ << texts::deviceUsedBy(user.name, user.pid);
    }
    // A holder this user cannot see still shows by its lock.
    if (lines_.size() == before && mayOpen && checkDevice(device).state == DeviceState::InUse)
        lines_ << texts::kDeviceInUse;
    if (lines_.size() > before)
        return true;
    if (mayOpen)
        lines_ << texts::kDeviceNotInUse;
    return false;
}

void CableCheck::checkBackgroundPrograms()
{
    const QString brltty = QStringLiteral("brltty");
    const QString modemManager = QStringLiteral("ModemManager");
    const QList<ProcessInfo> found = processesNamed({brltty, modemManager}, procRoot_);
    for (const ProcessInfo &process : found)
        lines_ << (process.name == brltty ? texts::brlttyRunning(process.pid)
                                          : texts::modemManagerRunning(process.pid));
    if (found.isEmpty())
        lines_ << texts::kNoSerialGrabbers;
}

void CableCheck::onProbeFinished(const ProbeOutcome &outcome)
{
    using K = ProbeOutcome::Kind;
    switch (outcome.kind) {
    case K::Answered:
        lines_ << texts::kRadioAnswered;
        return finish(Verdict::Answered);
    case K::Silent:
        lines_ << texts::kRadioSilent;
        return finish(Verdict::Silent);
    case K::Noise:
        lines_ << texts::radioNoise(shownBytes(outcome.received));
        return finish(Verdict::Noise);
    // The device changed between the checks above and the probe.
    case K::InUse:
        lines_ << texts::kDeviceInUse;
        return finish(Verdict::InUse);
    case K::NoPermission:
        lines_ << texts::permissionHint(outcome.path);
        return finish(Verdict::NoPermission);
    case K::Missing:
        lines_ << texts::deviceMissing(outcome.path);
        return finish(Verdict::Missing);
    case K::NotSerial:
        lines_ << texts::deviceNotSerial(outcome.path);
        return finish(Verdict::NotSerial);
    case K::Failed:
        break;
    }
    lines_ << texts::probeFailed(outcome.detail);
    finish(Verdict::Failed);
}

void CableCheck::finish(Verdict verdict)
{
    verdict_ = verdict;
    QMetaObject::invokeMethod(
        this,
        [this, generation = generation_] {
            if (generation != generation_)
                return;
            running_ = false;
            emit finished(lines_, verdict_);
        },
        Qt::QueuedConnection);
}

} // namespace vq
