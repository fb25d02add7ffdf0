#include "plan/RefusalText.h"

#include "channels/ValueDomains.h"
#include "plan/Notice.h"
#include "plan/FileTexts.h"
#include "plan/EditTexts.h"

#include <QCoreApplication>

namespace vq {

QString refusalReason(const ValueRefusal &refusal)
{
    switch (refusal.why) {
    case Refusal::NumberMissing:
        return QCoreApplication::translate("vq::refusals", "为空");
    case Refusal::NumberNotWhole:
        return QCoreApplication::translate("vq::refusals", "不是整数");
    case Refusal::NumberOutOfRange:
        return QCoreApplication::translate("vq::refusals", "超出范围（1～127）");
    case Refusal::NotFrequency:
        return QCoreApplication::translate("vq::refusals", "不是频率");
    case Refusal::FrequencyOutOfRange:
        return QCoreApplication::translate("vq::refusals", "超出范围（130～500 MHz）");
    case Refusal::OffRaster:
        return QCoreApplication::translate("vq::refusals", "不在步进上，会变成%1")
            .arg(QString::fromStdString(refusal.snapped));
    case Refusal::NotTone:
        return QCoreApplication::translate("vq::refusals", "不是可用的哑音");
    case Refusal::NotDcs:
        return QCoreApplication::translate("vq::refusals", "不是可用的数字哑音");
    case Refusal::ToneAndDcs:
        return QCoreApplication::translate("vq::refusals", "不能与哑音同时使用");
    case Refusal::NotChoice:
        return QCoreApplication::translate("vq::refusals", "不是可选的值");
    }
    return {};
}

QString valueReason(const ValueRefusal &refusal)
{
    if (refusal.why == Refusal::FrequencyOutOfRange)
        return QCoreApplication::translate("vq::refusals", "超出范围");
    return refusalReason(refusal);
}

QString refusalText(const ValueRefusal &refusal)
{
    const QString field = texts::fieldName(fieldNames()[static_cast<std::size_t>(refusal.field)]);
    if (refusal.why == Refusal::NumberMissing)
        return QCoreApplication::translate("vq::refusals", "%1为空").arg(field);
    return QCoreApplication::translate("vq::refusals", "%1“%2”%3")
        .arg(field, QString::fromStdString(refusal.value), refusalReason(refusal));
}

QString problemLines(std::size_t count, const std::function<QString(std::size_t)> &line)
{
    constexpr std::size_t shown = 20;
    QStringList lines;
    for (std::size_t i = 0; i < count && i < shown; ++i)
        lines << line(i);
    if (count > shown)
        lines << texts::csvMoreProblems(static_cast<qsizetype>(count - shown));
    return lines.join(QLatin1Char('\n'));
}

Notice planRefusal(Notice notice, const std::vector<RowRefusal> &refusals)
{
    if (refusals.empty())
        return notice;
    notice.informative = problemLines(refusals.size(), [&refusals](std::size_t i) {
        const ValueRefusal &r = refusals[i].refusal;
        return texts::cellProblem(refusals[i].row + 1,
                                  texts::fieldName(fieldNames()[static_cast<std::size_t>(r.field)]),
                                  QString::fromStdString(r.value), refusalReason(r));
    });
    return notice;
}

} // namespace vq
