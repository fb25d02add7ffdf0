#include "channels/ValueRules.h"

#include "channels/ChannelJudge.h"
#include "channels/Decimal.h"

#include <algorithm>

namespace vq {

namespace {

bool isBlank(std::string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return c == ' ' || c == '\t'; });
}

ValueCheck refused(std::string problem)
{
    return {std::nullopt, std::move(problem)};
}

} // namespace

ValueCheck checkFieldValue(Field field, std::string_view text)
{
    if (field == ChannelNumber || isBlank(text))
        return {std::string(text), {}};
    const ValueVerdict verdict = judgeValue(field, std::string(text));
    if (verdict.value)
        return {verdict.value, {}};
    switch (verdict.refusal->why) {
    case Refusal::OffRaster:
        // Typing moves such a frequency onto the raster.
        return {verdict.refusal->snapped, {}};
    case Refusal::NotFrequency:
        return refused("不是频率");
    case Refusal::FrequencyOutOfRange:
        return refused("超出范围");
    case Refusal::NotTone:
        return refused("不是可用的哑音");
    case Refusal::NotDcs:
        return refused("不是可用的数字哑音");
    default:
        return refused("不是可选的值");
    }
}

bool isFrequencyText(const FieldValue &value)
{
    return !value || isBlank(*value) || Decimal::parsePlain(*value).has_value();
}

} // namespace vq
