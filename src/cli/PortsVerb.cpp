#include "cli/Output.h"
#include "cli/Verbs.h"

#include "plan/PortInventory.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace vq::cli {

int runPorts(const Command &command)
{
    PortSetup setup;
    const QList<PortEntry> entries = listSerialDevices(setup);
    if (command.json) {
        QJsonArray list;
        for (const PortEntry &e : entries)
            list.append(QJsonObject{{QStringLiteral("path"), e.path},
                                    {QStringLiteral("stableName"), e.stableName},
                                    {QStringLiteral("state"), stateText(e.state)},
                                    {QStringLiteral("holder"), e.holder},
                                    {QStringLiteral("description"), e.description},
                                    {QStringLiteral("manufacturer"), e.manufacturer},
                                    {QStringLiteral("serialNumber"), e.serialNumber},
                                    {QStringLiteral("usbId"), e.usbId}});
        writeOut(QJsonDocument(list).toJson(QJsonDocument::Indented));
        return kSucceeded;
    }
    for (const PortEntry &e : entries) {
        QStringList parts{e.path, stateText(e.state)};
        for (const QString &extra : {e.holder, e.usbId, e.description, e.stableName})
            if (!extra.isEmpty())
                parts << extra;
        printLine(stdout, parts.join(QLatin1Char('\t')));
    }
    return kSucceeded;
}

} // namespace vq::cli
