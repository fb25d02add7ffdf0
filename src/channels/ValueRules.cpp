#include "channels/ValueRules.h"

#include "channels/Decimal.h"
#include "channels/FrequencyRules.h"
#include "channels/PickerRules.h"
#include "channels/ValueDomains.h"

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
    switch (field) {
    case RxFrequency:
    case TxFrequency: {
        const auto mhz = Decimal::parsePlain(text);
        if (!mhz)
            return refused("不是频率");
        if (!isFrequencyInRange(*mhz))
            return refused("超出范围");
        return {stepFrequency(*mhz), {}};
    }
    case RxTone:
    case TxTone: {
        const auto hz = Decimal::parsePlain(text);
        for (std::string_view tone : ctcssTones())
            if (hz && *hz == *Decimal::parsePlain(tone))
                return {std::string(tone), {}};
        return refused("不是可用的哑音");
    }
    case RxDcs:
    case TxDcs:
        return dcsPosition(text) != 0 ? ValueCheck{std::string(text), {}} : refused("不是可用的数字哑音");
    default: {
        // Scan, BCL and beat take exactly what their pickers offer.
        const auto entries = pickerEntries(field == Scan ? 5 : field == Bcl ? 6 : 7);
        if (std::find(entries.begin(), entries.end(), text) != entries.end())
            return {std::string(text), {}};
        return refused("不是可选的值");
    }
    }
}

bool isFrequencyText(const FieldValue &value)
{
    return !value || isBlank(*value) || Decimal::parsePlain(*value).has_value();
}

} // namespace vq
