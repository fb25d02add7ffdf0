#pragma once

#include "channels/ChannelRecord.h"

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace vq {

// Single-character commands and replies of the programming link.
inline constexpr char kProbeCommand = '6'; // "are you ready?"
inline constexpr char kReadyReply = 'C';
inline constexpr char kWriteCommand = 'A'; // 50 frames follow
inline constexpr char kReadCommand = 'B';  // leading block and 50 frames come back

// One channel's 16-byte memory record as 32 upper-case hexadecimal
// characters. Frames travel back to back with nothing between them, so a
// frame of any other length shifts every channel after it.
using ChannelFrame = std::string;
inline constexpr std::size_t kFrameLength = 32;
inline constexpr std::string_view kEmptyFrame = "00000000000000000000000000000000";
static_assert(kEmptyFrame.size() == kFrameLength);

// Why a record cannot be put into a frame. The field of the error says
// which field holds the value.
enum class EncodeFault {
    None,
    ChannelNumberNotWhole,   // 信道号 has a fractional part
    ChannelNumberOutOfRange, // negative, or the number byte (+128 for "del") exceeds 255
    FrequencyOutOfRange,     // the 10 Hz value does not fit 8 digits (or is negative)
    ToneOutOfRange,          // CTCSS tone × 10 is not 1 … 9999, or 5500 … 5599 (reads as DCS)
    BclInvalid,              // numeric value is not 0, 1 or 2
};

struct EncodeError {
    Field field = ChannelNumber;
    EncodeFault fault = EncodeFault::None;
};

struct EncodeResult {
    std::optional<ChannelFrame> frame; // set when the record could be encoded
    EncodeError error;                 // why not, when frame is empty

    bool ok() const { return frame.has_value(); }
};

// The frame of one channel record. A record without a receive frequency
// gives kEmptyFrame whatever else it holds. Every frame returned is exactly
// kFrameLength upper-case hexadecimal characters; a record that cannot be
// written that way gives an error instead.
EncodeResult encodeChannelFrame(const ChannelRecord &record);

// New texts of fields 1 to 9 read from a frame. The channel number is not
// taken from the frame: a read keeps the record's own 信道号.
struct DecodedFields {
    std::array<std::string, kFieldCount - 1> values; // values[0] is field 1

    // Throws std::out_of_range for ChannelNumber.
    const std::string &at(Field field) const { return values.at(std::size_t(field) - 1); }
    std::string &at(Field field) { return values.at(std::size_t(field) - 1); }

    // Stores fields 1 to 9 into the record; field 0 stays as it is.
    void applyTo(ChannelRecord &record) const;
};

enum class DecodeFault {
    None,
    WrongLength,    // not kFrameLength characters
    NotHexadecimal, // a character outside 0-9, A-F, a-f
    NotDecimal,     // a frequency or CTCSS digit pair holding A-F
};

struct DecodeError {
    DecodeFault fault = DecodeFault::None;
    std::size_t length = 0;     // characters received
    std::size_t position = 0;   // 1-based position of the offending character, 0 for WrongLength
    char character = '\0';      // the offending character
    std::optional<Field> field; // the field the offending digit belongs to (NotDecimal)
};

struct DecodeResult {
    std::optional<DecodedFields> fields; // set when the frame could be read
    DecodeError error;                   // why not, when fields is empty

    bool ok() const { return fields.has_value(); }
};

// Reads a frame as the radio sends it (lower-case hexadecimal accepted).
// An empty channel gives the empty text in all nine fields. A DCS position
// outside the code table reads as no DCS code; anything that is not 32
// hexadecimal characters, or a frequency or CTCSS digit that is not decimal,
// is reported as malformed.
DecodeResult decodeChannelFrame(std::string_view frame);

} // namespace vq
