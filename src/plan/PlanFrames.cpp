#include "plan/PlanFrames.h"

#include "channels/ValueDomains.h"
#include "channels/ValueRules.h"
#include "plan/Notice.h"
#include "radio/ChannelFrame.h"

namespace vq {

PlanFrames encodePlan(const PlanRows &rows)
{
    PlanFrames plan;
    plan.frames.reserve(kChannelCount);
    for (int row = 0; row < kChannelCount && row < static_cast<int>(rows.size()); ++row) {
        ChannelRecord record = rows[static_cast<std::size_t>(row)];
        if (row == 0)
            record[ChannelNumber] = std::string("1");
        plan.sent.push_back(record);
        QString why;
        // Text that is no number would go out as an empty channel unnoticed.
        for (Field f : {RxFrequency, TxFrequency})
            if (why.isEmpty() && !isFrequencyText(record[f]))
                why = QCoreApplication::translate("vq::texts", "%1“%2”不是频率")
                          .arg(texts::fieldName(fieldNames()[f]), QString::fromStdString(textOf(record[f])));
        if (why.isEmpty()) {
            const EncodeResult encoded = encodeChannelFrame(record);
            if (encoded.ok())
                plan.frames.push_back(QByteArray::fromStdString(*encoded.frame));
            else
                why = texts::reason(describe(encoded.error));
        }
        if (!why.isEmpty())
            plan.problems.append({row + 1, why});
    }
    if (!plan.ok())
        plan.frames.clear();
    return plan;
}

std::optional<ReadBackRows> expectedReadBack(const std::vector<QByteArray> &frames)
{
    if (frames.size() != kChannelCount)
        return std::nullopt;
    ReadBackRows rows{};
    for (std::size_t row = 0; row < frames.size(); ++row) {
        DecodeResult decoded = decodeChannelFrame(frames[row].toStdString());
        if (!decoded.ok())
            return std::nullopt;
        rows[row] = std::move(*decoded.fields);
    }
    return rows;
}

QList<int> differingChannels(const ReadBackRows &sent, const ReadBackRows &readBack)
{
    QList<int> differing;
    for (std::size_t row = 0; row < sent.size(); ++row)
        if (readBack[row].values != sent[row].values)
            differing << static_cast<int>(row) + 1;
    return differing;
}

} // namespace vq
