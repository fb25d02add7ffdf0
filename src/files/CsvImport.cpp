#include "files/CsvImport.h"

#include "channels/Decimal.h"
#include "files/CsvText.h"

namespace vq {

CsvImport CsvImport::refused(std::string why, int line)
{
    CsvImport out;
    out.error = std::move(why);
    out.errorLine = line;
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
        return {-1, "没有这个信道"};
    const auto row = static_cast<std::size_t>(*whole - 1);
    if (named[row])
        return {-1, "信道重复"};
    named[row] = true;
    return {static_cast<int>(row), {}};
}

ValueCheck checkCsvValue(Field field, std::string_view text)
{
    ValueCheck check = checkFieldValue(field, text);
    if (check.value && (field == RxFrequency || field == TxFrequency)) {
        const auto given = Decimal::parsePlain(text);
        if (given && !(*Decimal::parsePlain(*check.value) == *given))
            return {std::nullopt, "不在步进上，会变成" + *check.value};
    }
    return check;
}

} // namespace vq
