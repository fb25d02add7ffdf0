#include "plan/PortInventory.h"

#include "plan/Notice.h"
#include "radio/DeviceAccess.h"
#include "plan/LinkTexts.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QSerialPortInfo>

#include <algorithm>

namespace vq {

namespace {

// The canonical device behind each by-id link.
QHash<QString, QString> stableNames(const QString &folder)
{
    QHash<QString, QString> names;
    const QFileInfoList links = QDir(folder).entryInfoList(QDir::System | QDir::Files | QDir::NoDotAndDotDot);
    for (const QFileInfo &link : links) {
        const QString target = link.canonicalFilePath();
        if (!target.isEmpty())
            names.insert(target, link.absoluteFilePath());
    }
    return names;
}

QString describeHolder(const ProcessInfo &p)
{
    return p.name.isEmpty() ? QStringLiteral("PID %1").arg(p.pid)
                            : QStringLiteral("%1（PID %2）").arg(p.name).arg(p.pid);
}

} // namespace

QList<PortEntry> listSerialDevices(const PortSetup &setup, const SystemFolders &folders)
{
    const QHash<QString, QString> byId = stableNames(folders.byIdFolder);
    QList<PortEntry> entries;
    QHash<QString, qsizetype> index; // canonical device → entry

    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts()) {
        PortEntry e;
        e.path = info.systemLocation();
        e.description = info.description();
        e.manufacturer = info.manufacturer();
        e.serialNumber = info.serialNumber();
        if (info.hasVendorIdentifier() && info.hasProductIdentifier())
            e.usbId = usbIdText(info.vendorIdentifier(), info.productIdentifier());
        const QString device = QFileInfo(e.path).canonicalFilePath();
        index.insert(device.isEmpty() ? e.path : device, entries.size());
        entries << e;
    }
    // Adapters the system links by id and does not list (a device it has
    // no driver details for); on most systems these are listed already.
    for (auto it = byId.constBegin(); it != byId.constEnd(); ++it)
        if (!index.contains(it.key())) {
            PortEntry e;
            e.path = it.key();
            index.insert(it.key(), entries.size());
            entries << e;
        }
    // The ports' own devices, also when the system does not list them.
    for (int port = 1; port <= 2; ++port) {
        const QString &named = setup.devices[static_cast<std::size_t>(port - 1)];
        if (named.isEmpty())
            continue;
        const QString device = QFileInfo(named).canonicalFilePath();
        const QString key = device.isEmpty() ? named : device;
        if (!index.contains(key)) {
            PortEntry e;
            e.path = device.isEmpty() ? named : device;
            index.insert(key, entries.size());
            entries << e;
        }
        entries[index.value(key)].ports << port;
    }

    QStringList usable;
    for (PortEntry &e : entries) {
        const DeviceCheck check = inspectDevice(e.path);
        e.stableName = byId.value(check.device);
        switch (check.state) {
        case DeviceState::Missing:
            e.state = PortEntry::State::Missing;
            break;
        case DeviceState::NotSerial:
            e.state = PortEntry::State::NotSerial;
            break;
        case DeviceState::NoPermission:
            e.state = PortEntry::State::NoPermission;
            break;
        case DeviceState::InUse:
        case DeviceState::Free:
            e.state = PortEntry::State::Free;
            usable << check.device;
            break;
        }
        if (setup.activeOpen && e.ports.contains(setup.activePort))
            e.state = PortEntry::State::Current;
    }
    // Looking through every process costs; while a transfer needs the event
    // loop, the list makes do with lock files.
    const QHash<QString, ProcessInfo> opened =
        setup.lookAtProcesses ? firstUsers(usable, QCoreApplication::applicationPid(), folders.procRoot)
                              : QHash<QString, ProcessInfo>{};
    for (PortEntry &e : entries) {
        if (e.state != PortEntry::State::Free)
            continue;
        const QString device = QFileInfo(e.path).canonicalFilePath();
        if (const qint64 pid = lockFileHolder(device, folders.lockFolders, folders.procRoot)) {
            e.state = PortEntry::State::InUse;
            e.holder = describeHolder(ProcessInfo{pid, processName(pid, folders.procRoot)});
        } else if (opened.contains(device)) {
            e.state = PortEntry::State::InUse;
            e.holder = describeHolder(opened.value(device));
        }
    }
    std::sort(entries.begin(), entries.end(),
              [](const PortEntry &a, const PortEntry &b) { return a.path < b.path; });
    return entries;
}

QString usbIdText(quint16 vendor, quint16 product)
{
    return QStringLiteral("%1:%2").arg(vendor, 4, 16, QLatin1Char('0')).arg(product, 4, 16, QLatin1Char('0'));
}

void keepKnownHolders(QList<PortEntry> &fresh, const QList<PortEntry> &before)
{
    for (PortEntry &e : fresh) {
        if (e.state != PortEntry::State::Free)
            continue;
        for (const PortEntry &old : before)
            if (old.path == e.path && old.state == PortEntry::State::InUse) {
                e.state = old.state;
                e.holder = old.holder;
            }
    }
}

QString stateText(PortEntry::State state)
{
    switch (state) {
    case PortEntry::State::Free:
        return QCoreApplication::translate("vq::texts", "可用");
    case PortEntry::State::InUse:
        return QCoreApplication::translate("vq::texts", "使用中");
    case PortEntry::State::NoPermission:
        return QCoreApplication::translate("vq::texts", "无权限");
    case PortEntry::State::Current:
        return QCoreApplication::translate("vq::texts", "当前端口");
    case PortEntry::State::Missing:
        return QCoreApplication::translate("vq::texts", "不存在");
    case PortEntry::State::NotSerial:
        return QCoreApplication::translate("vq::texts", "不是串口");
    }
    return {};
}

SearchReport reportSearch(const QList<ProbeOutcome> &outcomes)
{
    SearchReport report;
    QStringList found;
    for (const ProbeOutcome &o : outcomes)
        if (o.kind == ProbeOutcome::Kind::Answered && !found.contains(o.path))
            found << o.path;
    for (const QString &path : found)
        report.lines << texts::radioFoundOn(path);
    if (found.isEmpty())
        report.lines << (outcomes.isEmpty() ? texts::kNoDeviceToSearch
                                            : texts::noRadioFound(static_cast<int>(outcomes.size())));
    if (found.size() == 1)
        report.onlyRadio = found.first();
    return report;
}

QString freeUsbAdapter(const QList<PortEntry> &entries)
{
    for (const PortEntry &e : entries)
        if (e.state == PortEntry::State::Free && e.ports.isEmpty() && (!e.usbId.isEmpty() || !e.stableName.isEmpty()))
            return e.rememberedName();
    return {};
}

QStringList probeCandidates(const QList<PortEntry> &entries)
{
    QStringList paths;
    for (const PortEntry &e : entries)
        if (e.state == PortEntry::State::Free)
            paths << e.path;
    return paths;
}

} // namespace vq
