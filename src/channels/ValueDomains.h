#pragma once

#include "channels/ChannelRecord.h"

#include <array>
#include <string>
#include <string_view>

namespace vq {

// The 39 CTCSS tone texts, in picker order.
const std::array<std::string_view, 39> &ctcssTones();

// The DCS code table: 101 slots, 1 to 83 holding the codes "023" … "754";
// slot 0 and 84 … 100 are empty texts. A code's slot is its DCS index on
// the wire.
inline constexpr int kDcsSlots = 101;
inline constexpr int kDcsCodeCount = 83;
const std::array<std::string_view, kDcsSlots> &dcsCodes();

// Slot of a DCS code text (exact, case-sensitive, whole text), 0 if none:
// "023" → 1, "23" → 0, " 023" → 0.
int dcsPosition(std::string_view code);

// Flag values in picker order.
const std::array<std::string_view, 3> &scanValues(); // "add", "del", " "
const std::array<std::string_view, 4> &bclValues();  // "off", "1", "2", " "
const std::array<std::string_view, 3> &beatValues(); // "off", "on", " "

// Field names of the table 信道表, in order, and the grid's column captions
// and widths (twips).
const std::array<std::string_view, kFieldCount> &fieldNames();
const std::array<std::string_view, kFieldCount> &columnCaptions();
const std::array<double, kFieldCount> &columnWidthsTwips();

inline constexpr std::string_view kTableName = "信道表";

// A tone field holds no tone when it is Null or its numeric value is 0
// (the empty text, the picked blank " ").
bool isNoTone(const FieldValue &value);

// A cell holding only spaces and tabs counts as empty; values are read
// without the blanks around them.
bool isBlankText(std::string_view text);
std::string_view trimmedText(std::string_view text);

} // namespace vq
