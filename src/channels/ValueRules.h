#pragma once

#include "channels/ChannelJudge.h"
#include "channels/ChannelRecord.h"

#include <optional>
#include <string>
#include <string_view>

namespace vq {

// The rule a value must meet to stand in a field when it did not come
// through the grid or a picker (a file, later a paste or an import): the
// same range and raster as typing, the same lists as the pickers.
struct ValueCheck {
    // What to store when the value is accepted: a frequency on the raster,
    // a tone as the picker writes it, anything else as given.
    std::optional<std::string> value;
    // Why not, when it is refused: the judge's reason.
    std::optional<ValueRefusal> problem;
};

ValueCheck checkFieldValue(Field field, std::string_view text);

// A frequency field holds nothing, or a number as a whole (what the radio
// can be sent); anything else would go out as an empty channel.
bool isFrequencyText(const FieldValue &value);

} // namespace vq
