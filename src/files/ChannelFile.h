#pragma once

#include "channels/ChannelRecord.h"

#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace vq {

// The channel file holds the first 16 rows, fields 1 … 9 of each, as 144
// items each followed by a comma, with no line break and nothing else.
inline constexpr int kChannelFileRows = 16;
inline constexpr int kChannelFileItems = kChannelFileRows * (kFieldCount - 1);

// The reader never looks past this many bytes: a real file is about 1.5 KiB,
// so this leaves room for hand editing. A caller may read just this much of
// a file and pass it on; the result is the same as for the whole file.
inline constexpr std::size_t kMaxChannelFileBytes = 64 * 1024;

using ChannelFileRows = std::array<ChannelRecord, kChannelFileRows>;

// The file text for the first 16 rows. Each item is the cell's text exactly
// as stored; a Null cell is an empty item; field 0 is not written.
std::string writeChannelFile(std::span<const ChannelRecord, kChannelFileRows> rows);

enum class ChannelFileError {
    None,
    // An item holds a NUL or other control character, or bytes that are not
    // UTF-8: not a text file.
    NotText,
    // The 144th comma is missing (or lies past kMaxChannelFileBytes).
    TooFewItems,
    // A frequency item is neither empty nor a plain decimal number that can
    // be written as "###.00000".
    BadFrequency,
};

struct ChannelFileReading {
    // All 16 rows, or nothing when the file is refused. Fields 1 … 9 always
    // hold a text; field 0 is not in the file and stays without a value, so
    // the caller stores fields 1 … 9 only.
    std::optional<ChannelFileRows> rows;
    ChannelFileError error = ChannelFileError::None;
    // The item (1 … 144) where reading failed, 0 when it did not.
    int item = 0;
};

// Reads a channel file as a whole: either every row or, on any fault,
// nothing at all.
//
// Items end at the next comma. Blanks around an item (space, tab, carriage
// return and line feed) are dropped, so an item of blanks only is empty and
// a file broken into lines by hand still reads. An item that is a plain
// decimal number is stored as its shortest decimal text ("023" → "23",
// "67.0" → "67"); any other item as its text. Then the frequencies
// (fields 1 and 4) are written as "###.00000", a zero frequency as the empty
// text, and a DCS code (fields 3 and 6) of exactly 2 characters gets a "0"
// in front ("23" → "023"). A UTF-8 byte order mark at the start is skipped.
// Nothing after the 144th comma is read.
ChannelFileReading readChannelFile(std::string_view bytes);

} // namespace vq
