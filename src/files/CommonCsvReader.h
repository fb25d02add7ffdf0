#pragma once

#include "channels/ChannelRecord.h"
#include "files/CsvImport.h"

#include <span>
#include <string_view>

namespace vq {

// Reads the common layout of open-source radio programmers by column name.
// Location picks the row as 信道号 does in the own layout (pickCsvRow); each
// named row gets all nine fields after the channel number, and its Location
// as number when it has none; rows not named keep theirs. A value the radio
// cannot hold, or a frequency the raster would move, is a problem; nothing
// is changed quietly.
CsvImport readCommonCsv(std::string_view utf8, std::span<const ChannelRecord> current);

} // namespace vq
