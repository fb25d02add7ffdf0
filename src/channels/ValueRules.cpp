#include "channels/ValueRules.h"

#include "channels/Decimal.h"
#include "channels/ValueDomains.h"


namespace vq {

ValueCheck checkFieldValue(Field field, std::string_view text)
{
    if (field == ChannelNumber || isBlankText(text))
        return {std::string(text), {}};
    const ValueVerdict verdict = judgeValue(field, std::string(text));
    if (verdict.value)
        return {verdict.value, {}};
    // Typing moves a frequency off the raster onto it.
    if (verdict.refusal->why == Refusal::OffRaster)
        return {verdict.refusal->snapped, {}};
    return {std::nullopt, verdict.refusal};
}

bool isFrequencyText(const FieldValue &value)
{
    return !value || isBlankText(*value) || Decimal::parsePlain(*value).has_value();
}

} // namespace vq
