#include "channels/PickerRules.h"

#include "channels/ValueDomains.h"

#include <algorithm>

namespace vq {

namespace {

constexpr std::string_view kBlank = " ";

std::vector<std::string_view> blankThen(auto first, auto last)
{
    std::vector<std::string_view> entries{kBlank};
    entries.insert(entries.end(), first, last);
    return entries;
}

} // namespace

std::vector<std::string_view> pickerEntries(int picker)
{
    const auto &tones = ctcssTones();
    const auto &codes = dcsCodes();
    switch (picker) {
    case 1:
    case 3:
        return blankThen(tones.begin(), tones.end());
    case 2:
    case 4:
        return blankThen(codes.begin() + 1, codes.begin() + 1 + kDcsCodeCount);
    case 5:
        return {scanValues().begin(), scanValues().end()};
    case 6:
        return {bclValues().begin(), bclValues().end()};
    case 7:
        return {beatValues().begin(), beatValues().end()};
    default:
        return {};
    }
}

std::optional<Field> pickerField(int picker)
{
    switch (picker) {
    case 1:
        return RxTone;
    case 2:
        return RxDcs;
    case 3:
        return TxTone;
    case 4:
        return TxDcs;
    case 5:
        return Scan;
    case 6:
        return Bcl;
    case 7:
        return Beat;
    default:
        return std::nullopt;
    }
}

std::vector<FieldWrite> pickerWrites(int picker, std::string_view text)
{
    const auto entries = pickerEntries(picker);
    if (std::find(entries.begin(), entries.end(), text) == entries.end())
        return {};
    const std::string t(text);
    switch (picker) {
    case 1:
        return {{RxTone, t}, {TxTone, t}, {RxDcs, ""}, {TxDcs, ""}};
    case 2:
        return {{RxDcs, t}, {TxDcs, t}, {RxTone, ""}, {TxTone, ""}};
    case 3:
        return {{TxTone, t}, {TxDcs, ""}};
    case 4:
        return {{TxDcs, t}, {TxTone, ""}};
    default:
        return {{*pickerField(picker), t}};
    }
}

} // namespace vq
