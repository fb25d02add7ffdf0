#include "files/CsvText.h"

#include "files/DelimitedText.h"

namespace vq {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

// Reads records field by field, counting lines as a person sees them: CRLF,
// LF and a lone CR each end one, inside quotes too.
class CsvReader {
public:
    explicit CsvReader(std::string_view text) : text_(text) {}

    CsvText read()
    {
        if (text_.starts_with(kByteOrderMark))
            pos_ = kByteOrderMark.size();
        while (pos_ < text_.size()) {
            if (isLineEnd(text_[pos_])) {
                nextLine();
                continue;
            }
            if (counted_ == kMaxCsvRecords) {
                failed(CsvFault::TooManyRecords, line_);
                break;
            }
            if (!readRecord())
                break;
            if (!out_.records.back().isComment())
                ++counted_;
        }
        return std::move(out_);
    }

private:
    bool failed(CsvFault why, int line)
    {
        out_.records.clear();
        out_.fault = {why, line, {}};
        return false;
    }

    void nextLine()
    {
        pos_ = skipLineEnd(text_, pos_);
        ++line_;
    }

    bool atFieldEnd() const { return pos_ == text_.size() || text_[pos_] == ',' || isLineEnd(text_[pos_]); }

    bool readRecord()
    {
        CsvLine record{line_, {}};
        for (;;) {
            if (record.fields.size() == std::size_t(kMaxCsvFields))
                return failed(CsvFault::TooManyFields, line_);
            FieldValue field;
            if (pos_ < text_.size() && text_[pos_] == '"') {
                if (!readQuoted(field))
                    return false;
            } else {
                const std::size_t start = pos_;
                while (!atFieldEnd())
                    ++pos_;
                const std::string_view text = text_.substr(start, pos_ - start);
                const std::size_t quote = text.find('"');
                const std::size_t bad = firstNonText(text);
                if (quote < bad)
                    return failed(CsvFault::MisplacedQuote, line_);
                if (bad != std::string_view::npos)
                    return failed(CsvFault::NotText, line_);
                if (!text.empty())
                    field = std::string(text);
            }
            record.fields.push_back(std::move(field));
            if (pos_ < text_.size() && text_[pos_] == ',') {
                ++pos_;
                continue;
            }
            if (pos_ < text_.size())
                nextLine();
            out_.records.push_back(std::move(record));
            return true;
        }
    }

    bool readQuoted(FieldValue &field)
    {
        const int opened = line_;
        QuotedField quoted = readQuotedField(text_, pos_);
        // Line ends between doubled quotes are impossible, so counting them
        // in the field's text counts them in the file.
        const std::string_view text = quoted.text;
        if (const std::size_t bad = firstNonText(text); bad != std::string_view::npos)
            return failed(CsvFault::NotText, opened + countLineEnds(text.substr(0, bad)));
        if (!quoted.closed)
            return failed(CsvFault::OpenQuote, opened);
        line_ += countLineEnds(text);
        pos_ = quoted.end;
        if (!atFieldEnd())
            return failed(CsvFault::MisplacedQuote, line_);
        field = std::move(quoted.text);
        return true;
    }

    std::string_view text_;
    int counted_ = 0; // records that are not comments
    std::size_t pos_ = 0;
    int line_ = 1;
    CsvText out_;
};

bool needsQuotes(std::string_view text)
{
    return text.empty() || text.find_first_of(",\"\r\n") != std::string_view::npos || isBlank(text.front()) ||
           isBlank(text.back());
}

} // namespace

CsvText parseCsv(std::string_view utf8)
{
    if (utf8.size() > kMaxCsvBytes) {
        CsvText out;
        out.fault.why = CsvFault::TooLarge;
        return out;
    }
    return CsvReader(utf8).read();
}

std::string writeCsv(std::span<const CsvRecord> records)
{
    std::string out(kByteOrderMark);
    for (const CsvRecord &record : records) {
        if (record.size() == 1 && !record.front()) {
            out += "\"\"\r\n";
            continue;
        }
        for (std::size_t i = 0; i < record.size(); ++i) {
            if (i > 0)
                out += ',';
            if (!record[i])
                continue;
            if (needsQuotes(*record[i]))
                appendQuoted(*record[i], out);
            else
                out += *record[i];
        }
        out += "\r\n";
    }
    return out;
}

std::string guardFormula(std::string_view text)
{
    if (!text.empty() && std::string_view("=+-@\t\r'").find(text.front()) != std::string_view::npos)
        return "'" + std::string(text);
    return std::string(text);
}

std::string unguardFormula(std::string_view text)
{
    if (text.starts_with('\''))
        text.remove_prefix(1);
    return std::string(text);
}

std::string_view trimmedCell(std::string_view text)
{
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

} // namespace vq
