#include "plan/AirRules.h"

#include "channels/Decimal.h"
#include "channels/FrequencyRules.h"
#include "plan/Language.h"

#include <QCoreApplication>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace vq {

namespace {

AirRules unreadable(QString *problem, const QString &why)
{
    if (problem)
        *problem = why;
    return {};
}

std::int64_t units(const QJsonValue &mhz)
{
    const auto number = Decimal::parsePlain(mhz.toString().toStdString());
    const auto scaled = number ? number->scaledRounded(kFrequencyDecimals) : std::nullopt;
    return scaled.value_or(-1);
}

// The first fault of a channel transmitting on `tx` against one band it
// is allowed in; none when it keeps the band's rules.
std::optional<AirFault> bandFault(const AirBand &band, std::int64_t tx, std::optional<std::int64_t> rx)
{
    if (band.step > 0 && (tx - band.low) % band.step != 0)
        return AirFault::OffGrid;
    if (band.simplex && rx != tx)
        return AirFault::Split;
    return std::nullopt;
}

} // namespace

QString AirBand::shownName() const
{
    return languageInUse() == Language::English ? en : zh;
}

AirRules readAirRules(const QByteArray &json, QString *problem)
{
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError)
        return unreadable(problem, error.errorString());
    const QHash<QString, AirBand::Transmit> transmit = {{QStringLiteral("anyone"), AirBand::Transmit::Anyone},
                                                        {QStringLiteral("amateur"), AirBand::Transmit::Amateur},
                                                        {QStringLiteral("nobody"), AirBand::Transmit::Nobody}};
    AirRules out;
    for (const QJsonValue &value : document.object()[QStringLiteral("bands")].toArray()) {
        const QJsonObject o = value.toObject();
        AirBand band;
        band.id = o[QStringLiteral("id")].toString();
        band.region = o[QStringLiteral("region")].toString();
        band.zh = o[QStringLiteral("zh")].toString();
        band.en = o[QStringLiteral("en")].toString();
        band.source = o[QStringLiteral("source")].toString();
        band.checked = o[QStringLiteral("checked")].toString();
        band.simplex = o[QStringLiteral("simplex")].toBool();
        if (o.contains(QStringLiteral("first"))) {
            band.low = units(o[QStringLiteral("first")]);
            band.step = units(o[QStringLiteral("step")]);
            band.high = band.low + band.step * (o[QStringLiteral("channels")].toInt() - 1);
        } else {
            band.low = units(o[QStringLiteral("low")]);
            band.high = units(o[QStringLiteral("high")]);
        }
        const auto kind = transmit.constFind(o[QStringLiteral("transmit")].toString());
        if (band.id.isEmpty() || band.region.isEmpty() || band.source.isEmpty() || band.checked.isEmpty() ||
            kind == transmit.constEnd() || band.low <= 0 || band.high < band.low || band.step < 0)
            return unreadable(problem, QStringLiteral("频率规则有误：") + band.id);
        band.transmit = *kind;
        out.push_back(band);
    }
    if (out.empty())
        return unreadable(problem, QStringLiteral("没有频率规则"));
    return out;
}

const AirRules &shippedAirRules()
{
    static const AirRules rules = [] {
        QFile file(QStringLiteral(":/vq/AirRules.json"));
        return file.open(QIODevice::ReadOnly) ? readAirRules(file.readAll()) : AirRules{};
    }();
    return rules;
}

AirRules regionRules(const AirRules &rules, const QString &region)
{
    AirRules out;
    for (const AirBand &band : rules)
        if (band.region == region || band.region == QLatin1String("*"))
            out.push_back(band);
    return out;
}

std::vector<AirFlag> checkAir(const AirRules &rules, const PlanRows &plan, const AirChoice &choice)
{
    std::vector<AirFlag> flags;
    if (!choice.isSet())
        return flags;
    for (int row = 0; row < static_cast<int>(plan.size()); ++row) {
        const ChannelRecord &record = plan[static_cast<std::size_t>(row)];
        const std::optional<std::int64_t> tx = frequencyUnits(record[TxFrequency]);
        if (!tx || *tx == 0)
            continue;
        const std::optional<std::int64_t> rx = frequencyUnits(record[RxFrequency]);
        // Nobody transmits in a receive-only band, whatever else allows it;
        // otherwise one band whose rules the channel keeps is enough.
        std::optional<AirFlag> receiveOnly, broken;
        int licensed = -1;
        bool allowed = false;
        for (int b = 0; b < static_cast<int>(rules.size()); ++b) {
            const AirBand &band = rules[static_cast<std::size_t>(b)];
            if (!band.contains(*tx) || (band.region != choice.region && band.region != QLatin1String("*")))
                continue;
            if (band.transmit == AirBand::Transmit::Nobody)
                receiveOnly = receiveOnly.value_or(AirFlag{row, AirFault::ReceiveOnly, b});
            else if (band.transmit == AirBand::Transmit::Amateur && !choice.amateur)
                licensed = licensed < 0 ? b : licensed;
            else if (const auto fault = bandFault(band, *tx, rx))
                broken = broken.value_or(AirFlag{row, *fault, b});
            else
                allowed = true;
        }
        if (receiveOnly)
            flags.push_back(*receiveOnly);
        else if (!allowed && broken)
            flags.push_back(*broken);
        else if (!allowed)
            flags.push_back(licensed >= 0 ? AirFlag{row, AirFault::NeedsLicence, licensed}
                                          : AirFlag{row, AirFault::NotAllowed});
    }
    return flags;
}

QString regionName(const QString &region)
{
    if (region == QLatin1String("cn"))
        return QCoreApplication::translate("vq::air", "中国");
    if (region == QLatin1String("eu"))
        return QCoreApplication::translate("vq::air", "欧洲");
    if (region == QLatin1String("us"))
        return QCoreApplication::translate("vq::air", "美国");
    return QCoreApplication::translate("vq::air", "所有地区");
}

QString airFlagText(const AirRules &rules, const AirFlag &flag)
{
    if (flag.band < 0 || flag.band >= static_cast<int>(rules.size()))
        return QCoreApplication::translate("vq::air", "发射频率不在所选地区允许发射的频段内");
    const AirBand &band = rules[static_cast<std::size_t>(flag.band)];
    QString why;
    switch (flag.fault) {
    case AirFault::NeedsLicence:
        why = QCoreApplication::translate("vq::air", "在%1发射需要业余执照");
        break;
    case AirFault::OffGrid:
        why = QCoreApplication::translate("vq::air", "发射频率不在%1的信道上");
        break;
    case AirFault::Split:
        why = QCoreApplication::translate("vq::air", "%1只允许收发同频");
        break;
    case AirFault::ReceiveOnly:
        why = QCoreApplication::translate("vq::air", "%1只能接收，不能发射");
        break;
    case AirFault::NotAllowed:
        break;
    }
    return why.arg(band.shownName()) + QCoreApplication::translate("vq::air", "（%1）").arg(band.source);
}

} // namespace vq
