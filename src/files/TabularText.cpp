#include "files/TabularText.h"

#include "files/ChannelCsv.h"

#include <algorithm>

namespace vq {

namespace {

bool isLineEnd(char c)
{
    return c == '\r' || c == '\n';
}

// Past a line end at text[i] (CRLF counts once).
std::size_t skipLineEnd(std::string_view text, std::size_t i)
{
    return i + (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n' ? 2 : 1);
}

int countLines(std::string_view text)
{
    int lines = 0;
    for (std::size_t i = 0; i < text.size(); i = skipLineEnd(text, i)) {
        while (i < text.size() && !isLineEnd(text[i]))
            ++i;
        ++lines;
        if (i == text.size())
            break;
    }
    return lines;
}

} // namespace

TabularText readTabularText(std::string_view text)
{
    TabularText out;
    if (text.size() > kMaxTabularBytes)
        return {{}, "内容过多"};
    if (!isValidUtf8(text))
        return {{}, "不是文本"};
    if (std::any_of(text.begin(), text.end(), [](char c) {
            const auto u = static_cast<unsigned char>(c);
            return (u < 0x20 && c != '\t' && !isLineEnd(c)) || u == 0x7F;
        }))
        return {{}, "不是文本"};
    while (!text.empty() && isLineEnd(text.back()))
        text.remove_suffix(1);
    if (countLines(text) > kMaxTabularLines)
        return {{}, "内容过多，最多可粘贴" + std::to_string(kMaxTabularLines - 1) + "行"};
    if (text.empty())
        return out;

    const char separator = text.find('\t') != std::string_view::npos ? '\t' : ',';
    std::vector<std::string> row;
    std::size_t i = 0;
    while (true) {
        std::string cell;
        if (i < text.size() && text[i] == '"') {
            const std::size_t line = static_cast<std::size_t>(out.rows.size()) + 1;
            ++i;
            while (true) {
                if (i == text.size())
                    return {{}, "第" + std::to_string(line) + "行引号不成对"};
                if (text[i] == '"') {
                    if (i + 1 < text.size() && text[i + 1] == '"') {
                        cell += '"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                cell += text[i++];
            }
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
            if (cell.find_first_of("\t\r\n\"") == std::string::npos) {
                out += cell;
                continue;
            }
            out += '"';
            for (char ch : cell)
                out += ch == '"' ? std::string("\"\"") : std::string(1, ch);
            out += '"';
        }
        out += '\n';
    }
    return out;
}

} // namespace vq
