#pragma once

#include "channels/ChannelRecord.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vq {

// The seven pickers are numbered as their controls, Combo1 … Combo7.
inline constexpr int kPickerCount = 7;

struct FieldWrite {
    Field field;
    std::string text;

    bool operator==(const FieldWrite &) const = default;
};

// The entries of a picker, in the order shown, the blank " " included:
// tone pickers (1, 3) " " and the 39 CTCSS tones, DCS pickers (2, 4) " "
// and the 83 codes in table order, then the scan, BCL and beat lists.
// Empty for a number outside 1 … 7.
std::vector<std::string_view> pickerEntries(int picker);

// The field a picker sits over, nothing outside 1 … 7.
std::optional<Field> pickerField(int picker);

// The writes of a pick, in the order they are to be performed. A pick over
// a receive tone column sets both directions and empties the other tone
// kind in both; a pick over a transmit tone column touches only the
// transmit direction. A text that is not one of the picker's entries
// writes nothing, so the store only ever receives listed values.
std::vector<FieldWrite> pickerWrites(int picker, std::string_view text);

} // namespace vq
