#include "plan/PortSettings.h"

#include <QCoreApplication>

#include <cstdio>

namespace vq {

namespace {

const QString kDeviceKeys[2] = {QStringLiteral("ports/com1"), QStringLiteral("ports/com2")};
const QString kPortKey = QStringLiteral("ports/last");
const QString kVerifyKey = QStringLiteral("transfers/verify");
const QString kLanguageKey = QStringLiteral("interface/language");
const QString kWindowKey = QStringLiteral("interface/window");
const QString kRegionKey = QStringLiteral("rules/region");
const QString kAmateurKey = QStringLiteral("rules/amateur");

} // namespace

QString userFolderName()
{
    return QStringLiteral("vq4471r");
}

void nameApplication()
{
    QCoreApplication::setOrganizationName(userFolderName());
    QCoreApplication::setApplicationName(userFolderName());
    QCoreApplication::setApplicationVersion(QStringLiteral(VQ_VERSION));
}

PortSettings::PortSettings(const QString &fileName)
    : settings_(fileName.isEmpty() ? std::make_unique<QSettings>(userFolderName(), userFolderName())
                                   : std::make_unique<QSettings>(fileName, QSettings::IniFormat))
{
}

PortSettings::~PortSettings() = default;

QString PortSettings::fileName() const
{
    return settings_->fileName();
}

QStringList PortSettings::entries() const
{
    QStringList out;
    for (const QString &key : settings_->allKeys()) {
        const QVariant value = settings_->value(key);
        out << key + QStringLiteral(" = ") +
                   (value.typeId() == QMetaType::QByteArray ? QStringLiteral("(%1 bytes)").arg(value.toByteArray().size())
                                                            : value.toString());
    }
    return out;
}

void PortSettings::complain(const QString &why)
{
    if (complained_)
        return;
    complained_ = true;
    std::fprintf(
        stderr, "%s\n",
        qPrintable(QStringLiteral("settings %1: %2; the program goes on without it").arg(fileName(), why)));
}

PortChoice PortSettings::load(const PortChoice &defaults)
{
    PortChoice choice = defaults;
    if (settings_->status() != QSettings::NoError) {
        complain(settings_->status() == QSettings::FormatError ? QStringLiteral("not a settings file")
                                                               : QStringLiteral("cannot be read"));
        return choice;
    }
    for (int p = 0; p < 2; ++p) {
        const QVariant value = settings_->value(kDeviceKeys[p]);
        if (!value.isValid())
            continue;
        const QString device = value.toString();
        // A device is a path; anything else was not written by this program.
        if (value.typeId() == QMetaType::QString && device.startsWith(QLatin1Char('/')))
            choice.devices[static_cast<std::size_t>(p)] = device;
        else
            complain(QStringLiteral("%1 is not a device path").arg(kDeviceKeys[p]));
    }
    const QVariant port = settings_->value(kPortKey);
    if (port.isValid()) {
        const QString text = port.toString();
        if (text == QLatin1String("1") || text == QLatin1String("2"))
            choice.port = text.toInt();
        else
            complain(QStringLiteral("%1 is not 1 or 2").arg(kPortKey));
    }
    return choice;
}

void PortSettings::save(const QString &key, const QVariant &value)
{
    settings_->setValue(key, value);
    settings_->sync();
    if (settings_->status() != QSettings::NoError)
        complain(QStringLiteral("cannot be written"));
}

void PortSettings::saveDevice(int port, const QString &device)
{
    if ((port == 1 || port == 2) && !device.isEmpty())
        save(kDeviceKeys[port - 1], device);
}

void PortSettings::savePort(int port)
{
    if (port == 1 || port == 2)
        save(kPortKey, port);
}

bool PortSettings::loadVerifyAfterWrite()
{
    const QVariant value = settings_->value(kVerifyKey);
    if (settings_->status() != QSettings::NoError || !value.isValid())
        return false;
    const QString text = value.toString();
    if (text != QLatin1String("true") && text != QLatin1String("false"))
        complain(QStringLiteral("%1 is not true or false").arg(kVerifyKey));
    return text == QLatin1String("true");
}

void PortSettings::saveVerifyAfterWrite(bool on)
{
    save(kVerifyKey, on);
}

QString PortSettings::loadLanguage()
{
    const QVariant value = settings_->value(kLanguageKey);
    if (settings_->status() != QSettings::NoError || !value.isValid())
        return {};
    const QString code = value.toString();
    if (code == QLatin1String("zh") || code == QLatin1String("en"))
        return code;
    complain(QStringLiteral("%1 is not zh or en").arg(kLanguageKey));
    return {};
}

void PortSettings::saveLanguage(const QString &code)
{
    save(kLanguageKey, code);
}

QByteArray PortSettings::loadWindowPlace()
{
    const QVariant value = settings_->value(kWindowKey);
    return settings_->status() == QSettings::NoError ? value.toByteArray() : QByteArray();
}

void PortSettings::saveWindowPlace(const QByteArray &place)
{
    save(kWindowKey, place);
}

AirChoice PortSettings::loadAirChoice()
{
    const QString region = settings_->value(kRegionKey).toString();
    if (settings_->status() != QSettings::NoError || region.isEmpty())
        return {};
    if (region != QLatin1String("cn") && region != QLatin1String("eu") && region != QLatin1String("us")) {
        complain(QStringLiteral("%1 is not cn, eu or us").arg(kRegionKey));
        return {};
    }
    return {region, settings_->value(kAmateurKey).toString() == QLatin1String("true")};
}

void PortSettings::saveAirChoice(const AirChoice &choice)
{
    settings_->setValue(kAmateurKey, choice.amateur);
    save(kRegionKey, choice.region);
}

PortChoice resolvePorts(const QString &com1, const QString &com2, PortSettings &settings)
{
    PortChoice choice = settings.load();
    if (!com1.isEmpty())
        choice.devices[0] = com1;
    if (!com2.isEmpty())
        choice.devices[1] = com2;
    return choice;
}

} // namespace vq
