#pragma once

#include "files/CsvText.h"

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vq {

// Where a layout's columns sit in a file's header: both layouts find their
// columns by name, in any order.
struct CsvColumns {
    std::vector<int> index;           // per wanted name, -1 when it is not there
    std::vector<std::string> unknown; // names neither wanted nor ignored
    CsvFileFault fault;               // a name twice or a required one missing; no line

    int operator[](std::size_t wanted) const { return index[wanted]; }
};

CsvColumns findCsvColumns(const CsvRecord &header, std::span<const std::string_view> wanted,
                          std::span<const std::string_view> required,
                          std::span<const std::string_view> ignored);

} // namespace vq
