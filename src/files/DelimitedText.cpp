#include "files/DelimitedText.h"

#include "files/Utf8.h"

namespace vq {

std::size_t skipLineEnd(std::string_view text, std::size_t i)
{
    return i + (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n' ? 2 : 1);
}

int countLineEnds(std::string_view text)
{
    int ends = 0;
    for (std::size_t i = 0; i < text.size();) {
        if (isLineEnd(text[i])) {
            i = skipLineEnd(text, i);
            ++ends;
        } else {
            ++i;
        }
    }
    return ends;
}

std::size_t firstNonText(std::string_view text)
{
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        if ((c < 0x20 && c != '\t' && !isLineEnd(text[i])) || c == 0x7F)
            return i;
        const std::size_t length = utf8Length(text, i);
        if (length == 0)
            return i;
        i += length;
    }
    return std::string_view::npos;
}

QuotedField readQuotedField(std::string_view text, std::size_t open)
{
    QuotedField out;
    std::size_t i = open + 1;
    while (i < text.size()) {
        if (text[i] != '"') {
            out.text += text[i++];
        } else if (i + 1 < text.size() && text[i + 1] == '"') {
            out.text += '"';
            i += 2;
        } else {
            out.closed = true;
            ++i;
            break;
        }
    }
    out.end = i;
    return out;
}

void appendQuoted(std::string_view text, std::string &out)
{
    out += '"';
    for (char c : text) {
        if (c == '"')
            out += '"';
        out += c;
    }
    out += '"';
}

} // namespace vq
