#pragma once

#include "channels/ChannelRecord.h"
#include "files/CsvImport.h"

#include <span>
#include <string>
#include <string_view>

namespace vq {

// The program's own layout: the table as it is, one record per row under a
// header of the ten field names.

// Each row under its 1-based number in 信道号, the other nine values exactly
// as stored. Null is an unquoted empty field and the empty text is `""`, so
// both come back as they were; free text is guarded against formulas.
std::string writeOwnCsv(std::span<const ChannelRecord> rows);

// Columns are found by name in any order; all ten must be there, others are
// ignored with a warning. Each record's 信道号 (1 … tableRows, once each)
// picks the row it sets, all ten fields, its number stored as the whole
// number it was read as; rows not named keep their values. Every value
// meets the same rule as a typed one and is stored as that rule gives it
// back; a frequency the raster would move is a problem.
CsvImport readOwnCsv(std::string_view utf8, int tableRows);

} // namespace vq
