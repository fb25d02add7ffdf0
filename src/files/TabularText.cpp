#include "files/TabularText.h"

#include "files/DelimitedText.h"

namespace vq {

TabularText readTabularText(std::string_view text)
{
    TabularText out;
    if (text.size() > kMaxTabularBytes)
        return {{}, TabularFault::TooLarge, 0};
    if (firstNonText(text) != std::string_view::npos)
        return {{}, TabularFault::NotText, 0};
    while (!text.empty() && isLineEnd(text.back()))
        text.remove_suffix(1);
    if (!text.empty() && countLineEnds(text) + 1 > kMaxTabularLines)
        return {{}, TabularFault::TooManyLines, 0};
    if (text.empty())
        return out;

    const char separator = text.find('\t') != std::string_view::npos ? '\t' : ',';
    std::vector<std::string> row;
    std::size_t i = 0;
    while (true) {
        std::string cell;
        if (i < text.size() && text[i] == '"') {
            QuotedField quoted = readQuotedField(text, i);
            if (!quoted.closed)
                return {{}, TabularFault::OpenQuote, static_cast<int>(out.rows.size()) + 1};
            cell = std::move(quoted.text);
            i = quoted.end;
            // Whatever follows the closing quote up to the separator belongs
            // to the cell, as spreadsheets read it.
        }
        while (i < text.size() && text[i] != separator && !isLineEnd(text[i]))
            cell += text[i++];
        row.push_back(std::move(cell));
        if (i < text.size() && text[i] == separator) {
            ++i;
            continue;
        }
        out.rows.push_back(std::move(row));
        row.clear();
        if (i == text.size())
            break;
        i = skipLineEnd(text, i);
    }
    return out;
}

std::string writeTabularText(const std::vector<std::vector<std::string>> &rows)
{
    std::string out;
    for (const auto &row : rows) {
        for (std::size_t c = 0; c < row.size(); ++c) {
            if (c > 0)
                out += '\t';
            const std::string &cell = row[c];
            if (cell.find_first_of("\t\r\n\"") == std::string::npos)
                out += cell;
            else
                appendQuoted(cell, out);
        }
        out += '\n';
    }
    return out;
}

} // namespace vq
