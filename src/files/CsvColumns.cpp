#include "files/CsvColumns.h"

#include <algorithm>

namespace vq {

namespace {

std::string joined(const std::vector<std::string> &names)
{
    std::string out;
    for (const std::string &name : names)
        out += (out.empty() ? "" : "、") + name;
    return out;
}

} // namespace

CsvColumns findCsvColumns(const CsvRecord &header, std::span<const std::string_view> wanted,
                          std::span<const std::string_view> required,
                          std::span<const std::string_view> ignored)
{
    CsvColumns out;
    out.index.assign(wanted.size(), -1);
    std::vector<std::string> unknown;
    for (std::size_t i = 0; i < header.size(); ++i) {
        const std::string text = textOf(header[i]);
        const std::string_view name = trimmedCell(text);
        const auto at = std::find(wanted.begin(), wanted.end(), name);
        if (at != wanted.end()) {
            int &slot = out.index[std::size_t(at - wanted.begin())];
            if (slot >= 0 && out.error.empty())
                out.error = "列重复：" + std::string(name);
            slot = int(i);
        } else if (std::find(ignored.begin(), ignored.end(), name) == ignored.end()) {
            unknown.emplace_back(name);
        }
    }
    std::vector<std::string> missing;
    for (std::string_view name : required)
        if (out.index[std::size_t(std::find(wanted.begin(), wanted.end(), name) - wanted.begin())] < 0)
            missing.emplace_back(name);
    if (out.error.empty() && !missing.empty())
        out.error = "缺少列：" + joined(missing);
    if (!unknown.empty())
        out.warnings.push_back("忽略未知的列：" + joined(unknown));
    return out;
}

} // namespace vq
