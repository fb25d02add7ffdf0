#pragma once

#include "channels/ChannelRecord.h"
#include "files/CsvText.h"

#include <array>
#include <string_view>

// The common layout of open-source radio programmers as both directions see
// it: its columns and the keys this program adds to its comment.
namespace vq::commoncsv {

enum Column : int {
    Location,
    Name,
    Frequency,
    Duplex,
    Offset,
    Tone,
    RToneFreq,
    CToneFreq,
    DtcsCode,
    DtcsPolarity,
    RxDtcsCode,
    CrossMode,
    Mode,
    TStep,
    Skip,
    Power,
    Comment,
    kColumnCount
};

inline constexpr std::array<std::string_view, kColumnCount> kNames = {
    "Location",  "Name",      "Frequency", "Duplex",       "Offset",     "Tone",
    "rToneFreq", "cToneFreq", "DtcsCode",  "DtcsPolarity", "RxDtcsCode", "CrossMode",
    "Mode",      "TStep",     "Skip",      "Power",        "Comment"};

// Location … DtcsPolarity, except Name.
inline constexpr std::array<std::string_view, 9> kRequiredNames = {"Location",  "Frequency", "Duplex",
                                                                   "Offset",    "Tone",      "rToneFreq",
                                                                   "cToneFreq", "DtcsCode",  "DtcsPolarity"};

// Digital-voice columns other tools add; nothing here uses them.
inline constexpr std::array<std::string_view, 4> kDigitalVoiceNames = {"URCALL", "RPT1CALL", "RPT2CALL",
                                                                       "DVCODE"};

// BCL and beat have no column, so they travel in the comment.
inline constexpr std::string_view kBclKey = "BCL=";
inline constexpr std::string_view kBeatKey = "拍频=";

// Frequencies in the layout have six decimals: whole hertz.
inline constexpr int kLayoutDecimals = 6;

inline bool isBlankText(const FieldValue &value)
{
    return !value || trimmedCell(*value).empty();
}

} // namespace vq::commoncsv
