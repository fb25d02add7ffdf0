#include "files/CsvImport.h"

#include "channels/ChannelJudge.h"
#include "channels/Decimal.h"
#include "files/CsvText.h"

namespace vq {

CsvImport CsvImport::refused(CsvFileFault fault)
{
    CsvImport out;
    out.fault = std::move(fault);
    return out;
}

CsvImport CsvImport::finished() &&
{
    if (!ok())
        changes.clear();
    return std::move(*this);
}

CsvRowPick pickCsvRow(std::string_view number, std::vector<bool> &named)
{
    const auto value = Decimal::parsePlain(trimmedCell(number));
    const auto whole = value ? value->scaledRounded(0) : std::nullopt;
    if (!whole || !(Decimal::fromInteger(*whole) == *value) || *whole < 1 ||
        *whole > static_cast<std::int64_t>(named.size()))
        return {-1, CsvReason::NoSuchChannel};
    const auto row = static_cast<std::size_t>(*whole - 1);
    if (named[row])
        return {-1, CsvReason::ChannelTwice};
    named[row] = true;
    return {static_cast<int>(row), CsvReason::Value};
}

ValueCheck checkCsvValue(Field field, std::string_view text)
{
    // A file holds what its author meant: a frequency the raster would move
    // is refused with what typing would make of it, never moved quietly.
    if (field == RxFrequency || field == TxFrequency) {
        const ValueVerdict verdict = judgeValue(field, std::string(text));
        if (verdict.refusal && verdict.refusal->why == Refusal::OffRaster)
            return {std::nullopt, verdict.refusal};
    }
    return checkFieldValue(field, text);
}

} // namespace vq
