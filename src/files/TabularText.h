#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace vq {

// Cells as spreadsheets put them on the clipboard: tab-separated lines, or
// comma-separated ones when no tab is anywhere in the text.

// A paste can only ever cover the 50 channels and a header line; anything
// longer is refused before it is split, so a huge clipboard costs nothing.
inline constexpr std::size_t kMaxTabularBytes = 64 * 1024;
inline constexpr int kMaxTabularLines = 51;

// Why the text as a whole was refused; the text is chosen where it is shown.
enum class TabularFault {
    None,
    TooLarge,     // more than kMaxTabularBytes
    NotText,      // bytes that are not UTF-8, or a control character
    TooManyLines, // more than kMaxTabularLines
    OpenQuote,    // line: where the quote that does not end opens
};

struct TabularText {
    std::vector<std::vector<std::string>> rows;
    TabularFault fault = TabularFault::None;
    int line = 0; // 1-based, OpenQuote

    bool ok() const { return fault == TabularFault::None; }
};

// Lines end in CRLF, LF or CR; the empty lines at the end are dropped, one
// inside is a row of one empty cell. A field may be quoted ("a""b", a
// separator or a line break inside). Refused: more than kMaxTabularBytes or
// kMaxTabularLines, bytes that are not UTF-8, control characters other than
// tab, CR and LF, a quote that does not end.
TabularText readTabularText(std::string_view utf8);

// Tab-separated lines ending in LF; a cell holding a tab, a line break or a
// quote is quoted so that reading gives it back.
std::string writeTabularText(const std::vector<std::vector<std::string>> &rows);

} // namespace vq
