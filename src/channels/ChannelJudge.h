#pragma once

#include "channels/ChannelRecord.h"

#include <optional>
#include <string>
#include <vector>

namespace vq {

// Why a stored value cannot go to the radio as the user wrote it. The text
// is chosen where it is shown, in the language in use.
enum class Refusal {
    NumberMissing,    // 信道号 blank
    NumberNotWhole,   // 信道号 no whole number
    NumberOutOfRange, // 信道号 0, or past what the number byte carries beside the scan flag
    NotFrequency,     // a frequency that is no number
    FrequencyOutOfRange,
    OffRaster,  // `snapped` holds what typing would store instead
    NotTone,    // not one of the 39 CTCSS tones
    NotDcs,     // not one of the 83 DCS codes
    ToneAndDcs, // both kinds in one direction: the radio keeps only the tone
    NotChoice,  // scan, BCL or beat outside what its picker offers
};

struct ValueRefusal {
    Field field = ChannelNumber;
    Refusal why = Refusal::NotFrequency;
    std::string value;   // the stored text, as it stands
    std::string snapped; // OffRaster only

    bool operator==(const ValueRefusal &) const = default;
};

// The verdict on one channel: what the radio would hold, or why it cannot.
struct ChannelVerdict {
    // Fields 1 … 9 as a read of the radio gives them back (an empty channel
    // is nine empty texts), field 0 the channel number as a whole number.
    // Only meaningful when ok().
    ChannelRecord radio{};
    std::optional<ValueRefusal> refusal;

    bool ok() const { return !refusal; }
    // A blank, Null or zero receive frequency: the radio gets the empty frame.
    bool empty = false;
};

// The one judge of whether a row can go to the radio. It reads a stored
// value the way typing and the pickers read it (blanks trimmed, full-width
// digits, "67" is the tone 67.0) and refuses anything the radio would not
// hold exactly as written: the write, check, every import and every bulk
// edit ask it, and plans are compared by what it gives back.
ChannelVerdict judgeChannel(const ChannelRecord &record);

// What goes out for row `row` (0-based): the first channel always as number 1.
ChannelRecord asSent(const ChannelRecord &record, int row);

struct RowRefusal {
    int row = 0; // 0-based
    ValueRefusal refusal;
};

// Every row of the plan judged as it would be sent; empty when all can go.
std::vector<RowRefusal> judgePlan(const std::vector<ChannelRecord> &rows);

// The rows a change leaves unfit for the radio, judged as they would be
// sent. A row already unfit for the same reason before is not counted: an
// edit elsewhere in an old plan does not inherit its faults.
std::vector<RowRefusal> judgeChange(const std::vector<ChannelRecord> &before,
                                    const std::vector<ChannelRecord> &after);

// The record as the radio would hold it when it can go there, else as
// stored: two plans differ in a channel exactly where these differ.
ChannelRecord radioImage(const ChannelRecord &record);

// One field value alone, as an import or a paste stores it: what to store
// (a frequency in the stored form, a tone as the picker writes it), or why
// not. The channel number and cross-field rules are judgeChannel's.
struct ValueVerdict {
    std::optional<std::string> value;
    std::optional<ValueRefusal> refusal;
};
ValueVerdict judgeValue(Field field, const std::string &text);

} // namespace vq
