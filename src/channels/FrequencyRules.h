#pragma once

#include "channels/ChannelRecord.h"
#include "channels/Decimal.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vq {

// Typed frequencies are accepted from 130 to 500 MHz, both ends included.
inline constexpr std::int64_t kLowestFrequencyMHz = 130;
inline constexpr std::int64_t kHighestFrequencyMHz = 500;

// The raster, in units of 10 Hz: a frequency on either step stays as typed,
// any other is moved down to the 5 kHz step below it.
inline constexpr std::int64_t kNarrowStep = 625; // 6.25 kHz
inline constexpr std::int64_t kWideStep = 500;   // 5 kHz

// The stored frequency text "###.00000": the integer part without leading
// zeros (none at all below 1 MHz), a point and exactly five decimals,
// rounded half to even. Nothing when the value is too large to be written.
std::optional<std::string> formatFrequency(const Decimal &mhz);

// Snaps a frequency onto the raster and writes it as formatFrequency does.
// Rounding to 10 Hz and writing the result use the same half-to-even rule,
// so a kept value is always written exactly on the raster. Nothing when the
// frequency is not above 0 or too large.
std::optional<std::string> stepFrequency(const Decimal &mhz);

bool isFrequencyInRange(const Decimal &mhz);

// A frequency field in steps of 10 Hz; none when blank or not a number.
std::optional<std::int64_t> frequencyUnits(const FieldValue &value);

// What a frequency check wants stored. The user is warned first when
// warnOutOfRange is set, then stores rx into field 1 and tx into
// field 4, in that order; a value without text leaves its field as it is.
struct FrequencyEdit {
    std::optional<std::string> rx;
    std::optional<std::string> tx;
    bool warnOutOfRange = false;

    bool operator==(const FrequencyEdit &) const = default;
};

// After the user's text for the receive frequency (field 1) is in the row.
// A valid receive frequency is copied to the transmit frequency; a text
// without a number empties both; an out-of-range one empties only field 1.
// The old transmit frequency never matters to the result.
FrequencyEdit checkReceiveEdit(const FieldValue &rx, const FieldValue &tx);

// After the user's text for the transmit frequency (field 4) is in the row.
// Field 1 is never changed; a row without receive frequency takes no
// transmit frequency.
FrequencyEdit checkTransmitEdit(const FieldValue &rx, const FieldValue &tx);

} // namespace vq
