#pragma once

#include "channels/ChannelRecord.h"
#include "files/CsvImport.h"

#include <span>

namespace vq {

// One line in the common layout of open-source radio programmers per row
// with a receive frequency, Location being the row's 1-based number. BCL and
// beat, which the layout has no column for, go into the comment
// ("BCL=1 拍频=on") so that a plan comes back whole.
CsvExport writeCommonCsv(std::span<const ChannelRecord> rows);

} // namespace vq
