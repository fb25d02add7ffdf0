#include "plan/PlanFrames.h"

#include "channels/ChannelJudge.h"
#include "channels/ValueDomains.h"
#include "plan/RefusalText.h"
#include "radio/ChannelFrame.h"

namespace vq {

PlanFrames encodePlan(const PlanRows &rows)
{
    PlanFrames plan;
    plan.frames.reserve(kChannelCount);
    for (int row = 0; row < kChannelCount && row < static_cast<int>(rows.size()); ++row) {
        const ChannelRecord sent = asSent(rows[static_cast<std::size_t>(row)], row);
        plan.sent.push_back(sent);
        const ChannelVerdict verdict = judgeChannel(sent);
        if (!verdict.ok()) {
            plan.problems.append({row + 1, refusalText(*verdict.refusal), *verdict.refusal});
            continue;
        }
        // What the judge passes, the frame carries: encoding the radio's
        // own form of the row cannot fail.
        const EncodeResult encoded = encodeChannelFrame(verdict.radio);
        plan.frames.push_back(QByteArray::fromStdString(encoded.frame.value_or(std::string(kEmptyFrame))));
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

std::vector<FieldDifference> differingFields(const ReadBackRows &plan, const ReadBackRows &radio)
{
    std::vector<FieldDifference> out;
    for (std::size_t row = 0; row < plan.size(); ++row)
        for (int f = RxFrequency; f < kFieldCount; ++f) {
            const std::string &planned = plan[row].at(static_cast<Field>(f));
            const std::string &held = radio[row].at(static_cast<Field>(f));
            if (planned != held)
                out.push_back({static_cast<int>(row) + 1, static_cast<Field>(f), held, planned});
        }
    return out;
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
