#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace vq {

// What CSV files and clipboard cells have in common: lines, what counts as
// text, and fields in double quotes.

inline bool isLineEnd(char c)
{
    return c == '\r' || c == '\n';
}

// Past the line end at text[i]; CRLF is one line end.
std::size_t skipLineEnd(std::string_view text, std::size_t i);

// Line ends in text, CRLF counted once.
int countLineEnds(std::string_view text);

// Where the first byte that is not text lies (a control character other
// than tab, CR and LF, or bytes that are not UTF-8), npos when there is none.
std::size_t firstNonText(std::string_view text);

struct QuotedField {
    std::string text;    // doubled quotes read as one
    std::size_t end = 0; // just past the closing quote
    bool closed = false; // false: the text ran out before the quote ended
};

// The quoted field whose opening quote is at text[open].
QuotedField readQuotedField(std::string_view text, std::size_t open);

// Appends text in quotes, its quotes doubled.
void appendQuoted(std::string_view text, std::string &out);

} // namespace vq
