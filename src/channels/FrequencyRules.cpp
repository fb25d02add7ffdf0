#include "channels/FrequencyRules.h"

namespace vq {

namespace {

std::optional<std::string> writeTenHertzUnits(std::int64_t units)
{
    auto text = Decimal::fromScaled(units, -kFrequencyDecimals).toFixed(kFrequencyDecimals);
    if (!text)
        return std::nullopt;
    // "###" writes no digit for a zero integer part.
    const std::size_t integerStart = text->front() == '-' ? 1 : 0;
    if (text->compare(integerStart, 2, "0.") == 0)
        text->erase(integerStart, 1);
    return text;
}

} // namespace

std::optional<std::string> formatFrequency(const Decimal &mhz)
{
    auto units = mhz.scaledRounded(kFrequencyDecimals);
    if (!units)
        return std::nullopt;
    return writeTenHertzUnits(*units);
}

std::optional<std::string> stepFrequency(const Decimal &mhz)
{
    if (mhz.isZero() || mhz.isNegative())
        return std::nullopt;
    auto units = mhz.scaledRounded(kFrequencyDecimals);
    if (!units)
        return std::nullopt;
    std::int64_t n = *units;
    if (n % kNarrowStep != 0 && n % kWideStep != 0)
        n = n / kWideStep * kWideStep;
    return writeTenHertzUnits(n);
}

bool isFrequencyInRange(const Decimal &mhz)
{
    return !(mhz < Decimal::fromInteger(kLowestFrequencyMHz)) &&
           !(mhz > Decimal::fromInteger(kHighestFrequencyMHz));
}

FrequencyEdit checkReceiveEdit(const FieldValue &rx, const FieldValue & /*tx*/)
{
    const std::string empty;
    if (!rx)
        return {empty, empty, false};
    const Decimal v = Decimal::leadingNumber(*rx);
    if (v.isZero())
        return {empty, empty, false};
    // The transmit frequency keeps its value: only the text just typed is
    // thrown away.
    if (!isFrequencyInRange(v))
        return {empty, std::nullopt, true};
    // In range, so stepping always has a result.
    const std::string stepped = stepFrequency(v).value_or(empty);
    return {stepped, stepped, false};
}

FrequencyEdit checkTransmitEdit(const FieldValue &rx, const FieldValue &tx)
{
    const std::string empty;
    if (!tx)
        return {std::nullopt, empty, false};
    if (!rx || Decimal::leadingNumber(*rx).isZero())
        return {std::nullopt, empty, false};
    const Decimal v = Decimal::leadingNumber(*tx);
    if (v.isZero())
        return {std::nullopt, empty, false};
    if (!isFrequencyInRange(v))
        return {std::nullopt, empty, true};
    return {std::nullopt, stepFrequency(v).value_or(empty), false};
}

std::optional<std::int64_t> frequencyUnits(const FieldValue &value)
{
    const auto number = Decimal::parsePlain(textOf(value));
    return number ? number->scaledRounded(kFrequencyDecimals) : std::nullopt;
}

} // namespace vq
