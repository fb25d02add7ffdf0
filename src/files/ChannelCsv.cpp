#include "files/ChannelCsv.h"

#include "files/Utf8.h"

#include "channels/Decimal.h"
#include "channels/FrequencyRules.h"
#include "channels/ValueDomains.h"
#include "channels/ValueRules.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>

namespace vq {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

bool isLineEnd(char c)
{
    return c == '\r' || c == '\n';
}

bool isForbiddenControl(unsigned char c)
{
    return (c < 0x20 && c != '\t' && c != '\r' && c != '\n') || c == 0x7F;
}

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

// Reads records one character at a time, counting lines as a person sees
// them: CRLF, LF and a lone CR each end one, inside quotes too.
class CsvReader {
public:
    explicit CsvReader(std::string_view text) : text_(text) {}

    CsvText read()
    {
        if (text_.starts_with(kByteOrderMark))
            pos_ = kByteOrderMark.size();
        while (pos_ < text_.size()) {
            if (isLineEnd(text_[pos_])) {
                skipLineEnd();
                continue;
            }
            if (out_.records.size() == std::size_t(kMaxCsvRecords)) {
                failed("行数过多", line_);
                break;
            }
            if (!readRecord())
                break;
        }
        return std::move(out_);
    }

private:
    bool failed(std::string why, int line)
    {
        out_.records.clear();
        out_.error = std::move(why);
        out_.errorLine = line;
        return false;
    }

    void skipLineEnd()
    {
        if (text_[pos_] == '\r' && pos_ + 1 < text_.size() && text_[pos_ + 1] == '\n')
            ++pos_;
        ++pos_;
        ++line_;
    }

    // Takes one character (a whole UTF-8 sequence) into field; false when it
    // is not text.
    bool take(std::string &field)
    {
        const char c = text_[pos_];
        if (isForbiddenControl(static_cast<unsigned char>(c)))
            return false;
        const std::size_t length = utf8Length(text_, pos_);
        if (length == 0)
            return false;
        field.append(text_, pos_, length);
        pos_ += length;
        return true;
    }

    bool readRecord()
    {
        CsvLine record{line_, {}};
        for (;;) {
            if (record.fields.size() == std::size_t(kMaxCsvFields))
                return failed("列数过多", line_);
            FieldValue field;
            if (pos_ < text_.size() && text_[pos_] == '"') {
                if (!readQuoted(field))
                    return false;
            } else {
                std::string text;
                while (pos_ < text_.size() && text_[pos_] != ',' && !isLineEnd(text_[pos_])) {
                    if (text_[pos_] == '"')
                        return failed("引号位置不对", line_);
                    if (!take(text))
                        return failed("不是文本", line_);
                }
                if (!text.empty())
                    field = std::move(text);
            }
            record.fields.push_back(std::move(field));
            if (pos_ < text_.size() && text_[pos_] == ',') {
                ++pos_;
                continue;
            }
            if (pos_ < text_.size())
                skipLineEnd();
            out_.records.push_back(std::move(record));
            return true;
        }
    }

    bool readQuoted(FieldValue &field)
    {
        const int opened = line_;
        std::string text;
        ++pos_;
        for (;;) {
            if (pos_ >= text_.size())
                return failed("引号没有结束", opened);
            const char c = text_[pos_];
            if (c == '"') {
                if (pos_ + 1 < text_.size() && text_[pos_ + 1] == '"') {
                    text += '"';
                    pos_ += 2;
                    continue;
                }
                ++pos_;
                break;
            }
            if (c == '\n' && !(pos_ > 0 && text_[pos_ - 1] == '\r'))
                ++line_;
            else if (c == '\r')
                ++line_;
            if (!take(text))
                return failed("不是文本", line_);
        }
        if (pos_ < text_.size() && text_[pos_] != ',' && !isLineEnd(text_[pos_]))
            return failed("引号位置不对", line_);
        field = std::move(text);
        return true;
    }

    std::string_view text_;
    std::size_t pos_ = 0;
    int line_ = 1;
    CsvText out_;
};

bool needsQuotes(std::string_view text)
{
    return text.empty() || text.find_first_of(",\"\r\n") != std::string_view::npos || isBlank(text.front()) ||
           isBlank(text.back());
}

void writeField(const FieldValue &value, std::string &out)
{
    if (!value)
        return;
    if (!needsQuotes(*value)) {
        out += *value;
        return;
    }
    out += '"';
    for (char c : *value) {
        if (c == '"')
            out += '"';
        out += c;
    }
    out += '"';
}

std::string joined(const std::vector<std::string> &names)
{
    std::string out;
    for (const std::string &name : names)
        out += (out.empty() ? "" : "、") + name;
    return out;
}

// Where each wanted column sits in the header, -1 when it is not there.
struct Columns {
    std::vector<int> index;
    std::vector<std::string> unknown;
    std::string error;
};

Columns findColumns(const CsvRecord &header, std::span<const std::string_view> wanted,
                    std::span<const std::string_view> ignored)
{
    Columns out;
    out.index.assign(wanted.size(), -1);
    for (std::size_t i = 0; i < header.size(); ++i) {
        const std::string text = textOf(header[i]);
        const std::string_view name = trimmed(text);
        const auto at = std::find(wanted.begin(), wanted.end(), name);
        if (at != wanted.end()) {
            int &slot = out.index[std::size_t(at - wanted.begin())];
            if (slot >= 0 && out.error.empty())
                out.error = "列重复：" + std::string(name);
            slot = int(i);
        } else if (std::find(ignored.begin(), ignored.end(), name) == ignored.end()) {
            out.unknown.emplace_back(name);
        }
    }
    return out;
}

CsvImport refusedFile(std::string why, int line)
{
    CsvImport out;
    out.error = std::move(why);
    out.errorLine = line;
    return out;
}

// Nothing is stored from a file that has a fault anywhere.
CsvImport finished(CsvImport out)
{
    if (!out.ok())
        out.changes.clear();
    return out;
}

} // namespace

CsvText parseCsv(std::string_view utf8)
{
    if (utf8.size() > kMaxCsvBytes)
        return {{}, "文件过大", 0};
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
            writeField(record[i], out);
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

// ---- Own layout -------------------------------------------------------------

std::string writeOwnCsv(std::span<const ChannelRecord> rows)
{
    std::vector<CsvRecord> records;
    records.reserve(rows.size() + 1);
    records.emplace_back(fieldNames().begin(), fieldNames().end());
    for (const ChannelRecord &row : rows) {
        CsvRecord &record = records.emplace_back();
        for (const FieldValue &value : row)
            record.push_back(value ? FieldValue(guardFormula(*value)) : std::nullopt);
    }
    return writeCsv(records);
}

CsvImport readOwnCsv(std::string_view utf8, int tableRows)
{
    const CsvText csv = parseCsv(utf8);
    if (!csv.ok())
        return refusedFile(csv.error, csv.errorLine);
    if (csv.records.empty())
        return refusedFile("没有表头", 1);

    const auto &names = fieldNames();
    const Columns columns = findColumns(csv.records.front().fields, names, {});
    if (!columns.error.empty())
        return refusedFile(columns.error, csv.records.front().line);
    std::vector<std::string> missing;
    for (std::size_t f = 0; f < names.size(); ++f)
        if (columns.index[f] < 0)
            missing.emplace_back(names[f]);
    if (!missing.empty())
        return refusedFile("缺少列：" + joined(missing), csv.records.front().line);
    if (csv.records.size() == 1)
        return refusedFile("没有信道数据", csv.records.front().line);

    CsvImport out;
    if (!columns.unknown.empty())
        out.warnings.push_back("忽略未知的列：" + joined(columns.unknown));
    const std::size_t width = csv.records.front().fields.size();
    for (std::size_t k = 1; k < csv.records.size(); ++k) {
        const CsvLine &record = csv.records[k];
        const int row = int(k) - 1;
        if (row >= tableRows) {
            out.problems.push_back({record.line, "", "", "超出信道表的行数"});
            continue;
        }
        if (record.fields.size() != width) {
            out.problems.push_back({record.line, "", "", "字段数与表头不同"});
            continue;
        }
        for (int f = 0; f < kFieldCount; ++f) {
            const FieldValue &cell = record.fields[std::size_t(columns.index[std::size_t(f)])];
            if (!cell) {
                out.changes.push_back({row, Field(f), std::nullopt});
                continue;
            }
            const std::string text = unguardFormula(*cell);
            ValueCheck check = checkFieldValue(Field(f), text);
            if (check.value)
                out.changes.push_back({row, Field(f), std::move(check.value)});
            else
                out.problems.push_back(
                    {record.line, std::string(names[std::size_t(f)]), text, check.problem});
        }
    }
    return finished(std::move(out));
}

// ---- Common layout ------------------------------------------------------------

namespace {

enum CommonColumn : int {
    Location,
    Name,
    Frequency,
    Duplex,
    Offset,
    Tone,
    RToneFreq,
    CToneFreq,
    DtcsCode,
    DtcsPolarity,
    RxDtcsCode,
    CrossMode,
    Mode,
    TStep,
    Skip,
    Power,
    Comment,
    kCommonColumnCount
};

constexpr std::array<std::string_view, kCommonColumnCount> kCommonNames = {
    "Location",  "Name",      "Frequency", "Duplex",       "Offset",     "Tone",
    "rToneFreq", "cToneFreq", "DtcsCode",  "DtcsPolarity", "RxDtcsCode", "CrossMode",
    "Mode",      "TStep",     "Skip",      "Power",        "Comment"};

// Digital-voice columns other tools add; nothing here uses them.
constexpr std::array<std::string_view, 4> kDigitalVoiceNames = {"URCALL", "RPT1CALL", "RPT2CALL", "DVCODE"};

constexpr int kRequiredCommonColumns = DtcsPolarity + 1; // Location … DtcsPolarity, except Name

constexpr std::string_view kUnusedTone = "88.5";
constexpr std::string_view kUnusedCode = "023";
constexpr std::string_view kBclKey = "BCL=";
constexpr std::string_view kBeatKey = "拍频=";

// Frequencies in the layout have six decimals: whole hertz.
constexpr int kLayoutDecimals = 6;
constexpr std::int64_t kHzPerMHz = 1000000;
constexpr std::int64_t kSplitAboveHz = 50 * kHzPerMHz;
constexpr std::int64_t kWideStepHz = 5000;

std::string layoutFrequency(std::int64_t hz)
{
    return Decimal::fromScaled(hz, -kLayoutDecimals).toFixed(kLayoutDecimals).value_or("");
}

// What one direction of a row sends, decided as the frame encoder decides
// it: a tone wins over a code.
struct Squelch {
    enum Kind { None, Tone, Code } kind = None;
    std::string value;

    bool operator==(const Squelch &) const = default;
};

bool isBlankText(const FieldValue &value)
{
    return !value || trimmed(*value).empty();
}

// ---- Export ----

class CommonRowWriter {
public:
    CommonRowWriter(const ChannelRecord &row, int number, std::vector<CsvProblem> &problems)
        : row_(row), number_(number), problems_(problems)
    {
    }

    // Nothing when the row is empty or cannot be written; problems say why.
    std::optional<CsvRecord> write()
    {
        const FieldValue &rxText = row_[RxFrequency];
        if (isBlankText(rxText))
            return std::nullopt;
        const auto rx = hertz(RxFrequency);
        if (rx && *rx == 0)
            return std::nullopt; // the radio takes a zero frequency for an empty channel
        std::optional<std::int64_t> tx;
        if (!isBlankText(row_[TxFrequency]))
            tx = hertz(TxFrequency);
        const Squelch txSquelch = squelch(TxTone, TxDcs);
        const Squelch rxSquelch = squelch(RxTone, RxDcs);
        for (Field flag : {Scan, Bcl, Beat})
            if (row_[flag])
                if (const ValueCheck check = checkFieldValue(flag, *row_[flag]); !check.value)
                    problem(flag, check.problem);
        if (failed_ || !rx)
            return std::nullopt;

        std::array<std::string, kCommonColumnCount> cells;
        cells[Location] = std::to_string(number_);
        cells[Frequency] = layoutFrequency(*rx);
        writeDuplex(*rx, tx && *tx != 0 ? tx : std::nullopt, cells);
        writeSquelch(txSquelch, rxSquelch, cells);
        cells[Mode] = "FM";
        cells[TStep] = *rx % kWideStepHz != 0 ? "6.25" : "5.00";
        cells[Skip] = textOf(row_[Scan]) == "del" ? "S" : "";
        std::string comment;
        const std::string bcl = textOf(row_[Bcl]);
        if (bcl == "1" || bcl == "2")
            comment = std::string(kBclKey) + bcl;
        if (textOf(row_[Beat]) == "on")
            comment += (comment.empty() ? "" : " ") + std::string(kBeatKey) + "on";
        cells[Comment] = guardFormula(comment);
        CsvRecord record;
        for (std::string &cell : cells)
            record.push_back(cell.empty() ? std::nullopt : FieldValue(std::move(cell)));
        return record;
    }

private:
    void problem(Field field, std::string why)
    {
        problems_.push_back({number_, std::string(fieldNames()[field]), textOf(row_[field]), std::move(why)});
        failed_ = true;
    }

    std::optional<std::int64_t> hertz(Field field)
    {
        const auto mhz = Decimal::parsePlain(textOf(row_[field]));
        const auto hz = mhz ? mhz->scaledRounded(kLayoutDecimals) : std::nullopt;
        if (!hz || *hz < 0) {
            problem(field, "不是频率");
            return std::nullopt;
        }
        return hz;
    }

    Squelch squelch(Field toneField, Field codeField)
    {
        if (!isNoTone(row_[toneField])) {
            ValueCheck check = checkFieldValue(toneField, *row_[toneField]);
            if (!check.value)
                problem(toneField, check.problem);
            return {Squelch::Tone, check.value.value_or("")};
        }
        if (!isNoTone(row_[codeField])) {
            if (dcsPosition(*row_[codeField]) == 0)
                problem(codeField, "不是可用的数字哑音");
            return {Squelch::Code, *row_[codeField]};
        }
        return {};
    }

    static void writeDuplex(std::int64_t rx, std::optional<std::int64_t> tx,
                            std::array<std::string, kCommonColumnCount> &cells)
    {
        cells[Offset] = layoutFrequency(0);
        if (!tx) {
            cells[Duplex] = "off";
        } else if (*tx == rx) {
            cells[Duplex] = "";
        } else if (*tx - rx >= -kSplitAboveHz && *tx - rx <= kSplitAboveHz) {
            cells[Duplex] = *tx > rx ? "+" : "-";
            cells[Offset] = layoutFrequency(*tx > rx ? *tx - rx : rx - *tx);
        } else {
            cells[Duplex] = "split";
            cells[Offset] = layoutFrequency(*tx);
        }
    }

    static void writeSquelch(const Squelch &tx, const Squelch &rx,
                             std::array<std::string, kCommonColumnCount> &cells)
    {
        cells[RToneFreq] = cells[CToneFreq] = kUnusedTone;
        cells[DtcsCode] = cells[RxDtcsCode] = kUnusedCode;
        cells[DtcsPolarity] = "NN";
        cells[CrossMode] = "Tone->Tone";
        using K = Squelch::Kind;
        if (tx.kind == K::None && rx.kind == K::None) {
            cells[Tone] = "";
        } else if (tx.kind == K::Tone && rx.kind == K::None) {
            cells[Tone] = "Tone";
            cells[RToneFreq] = tx.value;
        } else if (tx.kind == K::Tone && tx == rx) {
            cells[Tone] = "TSQL";
            cells[CToneFreq] = tx.value;
        } else if (tx.kind == K::Code && tx == rx) {
            cells[Tone] = "DTCS";
            cells[DtcsCode] = cells[RxDtcsCode] = tx.value;
        } else {
            // The layout keeps the transmit tone in rToneFreq and the receive
            // one in cToneFreq, the transmit code in DtcsCode and the receive
            // one in RxDtcsCode.
            cells[Tone] = "Cross";
            std::string mode;
            if (tx.kind == K::Tone) {
                mode = "Tone";
                cells[RToneFreq] = tx.value;
            } else if (tx.kind == K::Code) {
                mode = "DTCS";
                cells[DtcsCode] = tx.value;
            }
            mode += "->";
            if (rx.kind == K::Tone) {
                mode += "Tone";
                cells[CToneFreq] = rx.value;
            } else if (rx.kind == K::Code) {
                mode += "DTCS";
                cells[RxDtcsCode] = rx.value;
            }
            cells[CrossMode] = mode;
        }
    }

    const ChannelRecord &row_;
    int number_;
    std::vector<CsvProblem> &problems_;
    bool failed_ = false;
};

// ---- Import ----

class CommonRowReader {
public:
    CommonRowReader(const CsvLine &record, const std::vector<int> &columns, std::vector<CsvProblem> &problems)
        : record_(record), columns_(columns), problems_(problems)
    {
    }

    // The nine fields after the channel number, or nothing when the record
    // has a problem.
    std::optional<ChannelRecord> read(std::vector<std::string> &warnings)
    {
        ChannelRecord row;
        const std::optional<std::string> rx = frequency(Frequency, cell(Frequency), "");
        row[RxFrequency] = rx;
        // Checked without a receive frequency too, so that every problem of
        // the record is shown at once.
        row[TxFrequency] = transmitFrequency(rx);
        readSquelch(row);

        if (cell(DtcsPolarity) != "NN")
            problem(DtcsPolarity, "只支持NN");
        if (const std::string mode = cell(Mode); !mode.empty() && mode != "FM")
            problem(Mode, "对讲机只支持FM");
        const std::string skip = cell(Skip);
        if (skip == "S") {
            row[Scan] = "del";
        } else if (skip.empty() || skip == "P") {
            row[Scan] = "add";
            if (skip == "P")
                warnings.push_back("第" + std::to_string(record_.line) + "行：Skip为P，按add处理");
        } else {
            problem(Skip, "不是可选的值");
        }
        row[Bcl] = row[Beat] = "off";
        const std::string comment = unguardFormula(cell(Comment));
        std::string_view rest = comment;
        while (!rest.empty()) {
            const std::size_t blank = rest.find(' ');
            const std::string_view token = rest.substr(0, blank);
            rest = blank == std::string_view::npos ? std::string_view() : rest.substr(blank + 1);
            for (const auto &[key, field] : {std::pair{kBclKey, Bcl}, std::pair{kBeatKey, Beat}}) {
                if (!token.starts_with(key))
                    continue;
                const std::string_view value = token.substr(key.size());
                ValueCheck check = checkFieldValue(field, value);
                if (check.value && !trimmed(value).empty())
                    row[field] = std::move(check.value);
                else
                    problem(Comment, std::string(token) + "不是可选的值");
            }
        }
        if (failed_)
            return std::nullopt;
        return row;
    }

    // Location as a row number, 0 when it is none.
    int location(int rows)
    {
        const std::string text = cell(Location);
        const auto number = Decimal::parsePlain(text);
        const auto whole = number ? number->scaledRounded(0) : std::nullopt;
        if (!whole || !(Decimal::fromInteger(*whole) == *number) || *whole < 1 || *whole > rows) {
            problem(Location, "没有这个信道");
            return 0;
        }
        return int(*whole);
    }

    void problem(CommonColumn column, std::string why)
    {
        problems_.push_back({record_.line, std::string(kCommonNames[column]), cell(column), std::move(why)});
        failed_ = true;
    }

    std::string cell(CommonColumn column) const
    {
        const int at = columns_[column];
        return at < 0 ? std::string() : textOf(record_.fields[std::size_t(at)]);
    }

private:
    // The stored text of a frequency, or nothing (with a problem) when it is
    // refused or not on the raster. `what` names the value when it is not
    // the cell's own text.
    std::optional<std::string> frequency(CommonColumn column, const std::string &text,
                                         const std::string &what)
    {
        const Field field = column == Frequency ? RxFrequency : TxFrequency;
        const ValueCheck check = checkFieldValue(field, trimmed(text).empty() ? std::string_view("x") : text);
        if (!check.value) {
            problem(column, what + check.problem);
            return std::nullopt;
        }
        if (!(*Decimal::parsePlain(*check.value) == *Decimal::parsePlain(text))) {
            problem(column, what + "不在步进上，会变成" + *check.value);
            return std::nullopt;
        }
        return check.value;
    }

    std::optional<std::string> transmitFrequency(const std::optional<std::string> &rx)
    {
        const std::string duplex = cell(Duplex);
        const std::string offsetText = cell(Offset);
        if (duplex.empty())
            return rx;
        if (duplex == "off")
            return "";
        if (duplex == "split")
            return frequency(Offset, offsetText, "");
        if (duplex != "+" && duplex != "-") {
            problem(Duplex, "不支持的频差方式");
            return std::nullopt;
        }
        const auto offset = Decimal::parsePlain(offsetText);
        const auto offsetHz = offset ? offset->scaledRounded(kLayoutDecimals) : std::nullopt;
        if (!offsetHz || *offsetHz < 0 || !(Decimal::fromScaled(*offsetHz, -kLayoutDecimals) == *offset)) {
            problem(Offset, "不是频率差");
            return std::nullopt;
        }
        if (!rx)
            return std::nullopt;
        // Stored frequencies have five decimals, so they are whole hertz.
        const std::int64_t rxHz = *Decimal::parsePlain(*rx)->scaledRounded(kLayoutDecimals);
        const std::int64_t txHz = duplex == "+" ? rxHz + *offsetHz : rxHz - *offsetHz;
        return frequency(Offset, Decimal::fromScaled(txHz, -kLayoutDecimals).toShortestText(), "发送频率");
    }

    std::optional<std::string> tone(CommonColumn column)
    {
        ValueCheck check = checkFieldValue(RxTone, cell(column));
        if (!check.value || trimmed(*check.value).empty()) {
            problem(column, "不是可用的哑音");
            return std::nullopt;
        }
        return check.value;
    }

    std::optional<std::string> code(CommonColumn column)
    {
        std::string text = cell(column);
        // Spreadsheets drop the leading zeros of a code they take for a number.
        if (!text.empty() && text.size() < 3 &&
            std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
            text.insert(0, 3 - text.size(), '0');
        if (dcsPosition(text) == 0) {
            problem(column, "不是可用的数字哑音");
            return std::nullopt;
        }
        return text;
    }

    void readSquelch(ChannelRecord &row)
    {
        // Unused tone and code fields are empty, so the row sends exactly
        // what the file says.
        row[RxTone] = row[RxDcs] = row[TxTone] = row[TxDcs] = "";
        const std::string mode = cell(Tone);
        std::string cross = cell(CrossMode);
        if (mode.empty())
            return;
        if (mode == "Tone") {
            row[TxTone] = tone(RToneFreq);
        } else if (mode == "TSQL") {
            row[TxTone] = row[RxTone] = tone(CToneFreq);
        } else if (mode == "DTCS") {
            row[TxDcs] = row[RxDcs] = code(DtcsCode);
        } else if (mode == "Cross") {
            if (columns_[CrossMode] < 0)
                cross = "Tone->Tone";
            const std::size_t arrow = cross.find("->");
            const std::string txMode = cross.substr(0, arrow);
            const std::string rxMode = arrow == std::string::npos ? "" : cross.substr(arrow + 2);
            const auto known = [](const std::string &m) { return m.empty() || m == "Tone" || m == "DTCS"; };
            if (arrow == std::string::npos || !known(txMode) || !known(rxMode) ||
                (txMode.empty() && rxMode.empty())) {
                problem(CrossMode, "不支持的交叉方式");
                return;
            }
            if (txMode == "Tone")
                row[TxTone] = tone(RToneFreq);
            else if (txMode == "DTCS")
                row[TxDcs] = code(DtcsCode);
            if (rxMode == "Tone")
                row[RxTone] = tone(CToneFreq);
            else if (rxMode == "DTCS")
                row[RxDcs] = code(columns_[RxDtcsCode] < 0 ? DtcsCode : RxDtcsCode);
        } else {
            problem(Tone, "不支持的哑音方式");
        }
    }

    const CsvLine &record_;
    const std::vector<int> &columns_;
    std::vector<CsvProblem> &problems_;
    bool failed_ = false;
};

} // namespace

CsvExport writeCommonCsv(std::span<const ChannelRecord> rows)
{
    CsvExport out;
    std::vector<CsvRecord> records;
    records.emplace_back(kCommonNames.begin(), kCommonNames.end());
    for (std::size_t r = 0; r < rows.size(); ++r)
        if (auto record = CommonRowWriter(rows[r], int(r) + 1, out.problems).write())
            records.push_back(std::move(*record));
    if (out.ok())
        out.text = writeCsv(records);
    return out;
}

CsvImport readCommonCsv(std::string_view utf8, std::span<const ChannelRecord> current)
{
    const CsvText csv = parseCsv(utf8);
    if (!csv.ok())
        return refusedFile(csv.error, csv.errorLine);
    std::vector<const CsvLine *> records;
    for (const CsvLine &record : csv.records)
        if (!(record.fields.front() && record.fields.front()->starts_with('#')))
            records.push_back(&record);
    if (records.empty())
        return refusedFile("没有表头", csv.records.empty() ? 1 : csv.records.back().line);

    const CsvLine &header = *records.front();
    const Columns columns = findColumns(header.fields, kCommonNames, kDigitalVoiceNames);
    if (!columns.error.empty())
        return refusedFile(columns.error, header.line);
    std::vector<std::string> missing;
    for (int c = 0; c < kRequiredCommonColumns; ++c)
        if (c != Name && columns.index[std::size_t(c)] < 0)
            missing.emplace_back(kCommonNames[std::size_t(c)]);
    if (!missing.empty())
        return refusedFile("缺少列：" + joined(missing), header.line);
    if (records.size() == 1)
        return refusedFile("没有信道数据", header.line);

    CsvImport out;
    if (!columns.unknown.empty())
        out.warnings.push_back("忽略未知的列：" + joined(columns.unknown));
    std::vector<bool> named(current.size(), false);
    for (std::size_t k = 1; k < records.size(); ++k) {
        const CsvLine &record = *records[k];
        if (record.fields.size() != header.fields.size()) {
            out.problems.push_back({record.line, "", "", "字段数与表头不同"});
            continue;
        }
        CommonRowReader reader(record, columns.index, out.problems);
        const int location = reader.location(int(current.size()));
        if (location > 0 && named[std::size_t(location - 1)])
            reader.problem(Location, "信道重复");
        else if (location > 0)
            named[std::size_t(location - 1)] = true;
        const auto row = reader.read(out.warnings);
        if (!row)
            continue;
        // A row without a number would go out as the empty channel.
        if (isBlankText(current[std::size_t(location - 1)][ChannelNumber]))
            out.changes.push_back({location - 1, ChannelNumber, std::to_string(location)});
        for (int f = RxFrequency; f < kFieldCount; ++f)
            out.changes.push_back({location - 1, Field(f), (*row)[std::size_t(f)]});
    }
    return finished(std::move(out));
}

} // namespace vq
