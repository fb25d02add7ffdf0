#include "files/CsvColumns.h"

#include <algorithm>

namespace vq {

CsvColumns findCsvColumns(const CsvRecord &header, std::span<const std::string_view> wanted,
                          std::span<const std::string_view> required,
                          std::span<const std::string_view> ignored)
{
    CsvColumns out;
    out.index.assign(wanted.size(), -1);
    for (std::size_t i = 0; i < header.size(); ++i) {
        const std::string text = textOf(header[i]);
        const std::string_view name = trimmedCell(text);
        const auto at = std::find(wanted.begin(), wanted.end(), name);
        if (at != wanted.end()) {
            int &slot = out.index[std::size_t(at - wanted.begin())];
            if (slot >= 0 && out.fault.why == CsvFault::None)
                out.fault = {CsvFault::ColumnTwice, 0, {std::string(name)}};
            slot = int(i);
        } else if (std::find(ignored.begin(), ignored.end(), name) == ignored.end()) {
            out.unknown.emplace_back(name);
        }
    }
    std::vector<std::string> missing;
    for (std::string_view name : required)
        if (out.index[std::size_t(std::find(wanted.begin(), wanted.end(), name) - wanted.begin())] < 0)
            missing.emplace_back(name);
    if (out.fault.why == CsvFault::None && !missing.empty())
        out.fault = {CsvFault::MissingColumns, 0, std::move(missing)};
    return out;
}

} // namespace vq
