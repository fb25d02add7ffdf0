#include "files/CommonCsvReader.h"

#include "channels/Decimal.h"
#include "channels/ValueDomains.h"
#include "files/CommonCsvLayout.h"
#include "files/CsvColumns.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>

namespace vq {

using namespace commoncsv;

namespace {

class CommonRowReader {
public:
    CommonRowReader(const CsvLine &record, const std::vector<int> &columns, std::vector<CsvProblem> &problems,
                    std::array<bool, kColumnCount> &ignored)
        : record_(record), columns_(columns), problems_(problems), ignored_(ignored)
    {
    }

    // The nine fields after the channel number, or nothing when the record
    // has a problem.
    std::optional<ChannelRecord> read(std::vector<CsvWarning> &warnings)
    {
        ChannelRecord row;
        const std::optional<std::string> rx = frequency(Frequency, cell(Frequency), CsvReason::Value);
        row[RxFrequency] = rx;
        // Checked without a receive frequency too, so that every problem of
        // the record is shown at once.
        row[TxFrequency] = transmitFrequency(rx);
        readSquelch(row);

        if (cell(DtcsPolarity) != "NN")
            problem(DtcsPolarity, CsvReason::OnlyNN);
        if (const std::string mode = cell(Mode); !mode.empty() && mode != "FM")
            problem(Mode, CsvReason::OnlyFM);
        const std::string skip = cell(Skip);
        if (skip == "S") {
            row[Scan] = "del";
        } else if (skip.empty() || skip == "P") {
            row[Scan] = "add";
            if (skip == "P")
                warnings.push_back({CsvNote::SkipAsAdd, record_.line, {}});
        } else {
            problem(Skip, CsvReason::Value, ValueRefusal{Scan, Refusal::NotChoice, skip, {}});
        }
        // What the radio has no place for is told, once for the file.
        for (const Column unheld : {Name, Power})
            if (!trimmedCell(cell(unheld)).empty())
                ignored_[unheld] = true;
        row[Bcl] = row[Beat] = "off";
        const std::string comment = unguardFormula(cell(Comment));
        std::string_view rest = comment;
        while (!rest.empty()) {
            const std::size_t blank = rest.find(' ');
            const std::string_view token = rest.substr(0, blank);
            rest = blank == std::string_view::npos ? std::string_view() : rest.substr(blank + 1);
            bool keyed = false;
            for (const auto &[key, field] : {std::pair{kBclKey, Bcl}, std::pair{kBeatKey, Beat}}) {
                if (!token.starts_with(key))
                    continue;
                keyed = true;
                const std::string_view value = token.substr(key.size());
                ValueCheck check = checkFieldValue(field, value);
                if (check.value && !trimmedCell(value).empty())
                    row[field] = std::move(check.value);
                else
                    problem(Comment, CsvReason::CommentValue,
                            ValueRefusal{field, Refusal::NotChoice, std::string(token), {}});
            }
            if (!keyed && !token.empty())
                ignored_[Comment] = true;
        }
        if (failed_)
            return std::nullopt;
        return row;
    }

    // The row Location names (0-based), -1 when it names none.
    int location(std::vector<bool> &named)
    {
        const CsvRowPick pick = pickCsvRow(cell(Location), named);
        if (pick.row < 0)
            problem(Location, pick.why);
        return pick.row;
    }

    void problem(Column column, CsvReason why, std::optional<ValueRefusal> refusal = std::nullopt)
    {
        problems_.push_back(
            {record_.line, std::string(kNames[column]), cell(column), why, std::move(refusal)});
        failed_ = true;
    }

    std::string cell(Column column) const
    {
        const int at = columns_[column];
        return at < 0 ? std::string() : textOf(record_.fields[std::size_t(at)]);
    }

private:
    // The stored text of a frequency, or nothing (with a problem) when it is
    // refused or not on the raster. `why` is TransmitValue when the value is
    // not the cell's own text.
    std::optional<std::string> frequency(Column column, const std::string &text, CsvReason why)
    {
        const Field field = column == Frequency ? RxFrequency : TxFrequency;
        ValueCheck check = checkCsvValue(field, trimmedCell(text).empty() ? std::string_view("x") : text);
        // A line of this layout is a channel: a frequency of 0 is none, and
        // the line could not be written back.
        if (check.value && check.value->empty())
            check = {std::nullopt, ValueRefusal{field, Refusal::FrequencyOutOfRange, text, {}}};
        if (!check.value)
            problem(column, why, check.problem);
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
            return frequency(Offset, offsetText, CsvReason::Value);
        if (duplex != "+" && duplex != "-") {
            problem(Duplex, CsvReason::NotDuplex);
            return std::nullopt;
        }
        const auto offset = Decimal::parsePlain(offsetText);
        const auto offsetHz = offset ? offset->scaledRounded(kLayoutDecimals) : std::nullopt;
        if (!offsetHz || *offsetHz < 0 || !(Decimal::fromScaled(*offsetHz, -kLayoutDecimals) == *offset)) {
            problem(Offset, CsvReason::NotOffset);
            return std::nullopt;
        }
        if (!rx)
            return std::nullopt;
        // Stored frequencies have five decimals, so they are whole hertz.
        const std::int64_t rxHz = *Decimal::parsePlain(*rx)->scaledRounded(kLayoutDecimals);
        const std::int64_t txHz = duplex == "+" ? rxHz + *offsetHz : rxHz - *offsetHz;
        return frequency(Offset, Decimal::fromScaled(txHz, -kLayoutDecimals).toShortestText(),
                         CsvReason::TransmitValue);
    }

    std::optional<std::string> tone(Column column)
    {
        ValueCheck check = checkFieldValue(RxTone, cell(column));
        if (!check.value || trimmedCell(*check.value).empty()) {
            problem(column, CsvReason::Value, ValueRefusal{RxTone, Refusal::NotTone, cell(column), {}});
            return std::nullopt;
        }
        return check.value;
    }

    std::optional<std::string> code(Column column)
    {
        std::string text = cell(column);
        // Spreadsheets drop the leading zeros of a code they take for a number.
        if (!text.empty() && text.size() < 3 &&
            std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
            text.insert(0, 3 - text.size(), '0');
        if (dcsPosition(text) == 0) {
            problem(column, CsvReason::Value, ValueRefusal{RxDcs, Refusal::NotDcs, text, {}});
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
                problem(CrossMode, CsvReason::NotCrossMode);
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
            problem(Tone, CsvReason::NotToneMode);
        }
    }

    const CsvLine &record_;
    const std::vector<int> &columns_;
    std::vector<CsvProblem> &problems_;
    std::array<bool, kColumnCount> &ignored_;
    bool failed_ = false;
};

} // namespace

CsvImport readCommonCsv(std::string_view utf8, std::span<const ChannelRecord> current)
{
    const CsvText csv = parseCsv(utf8);
    if (!csv.ok())
        return CsvImport::refused(csv.fault);
    std::vector<const CsvLine *> records;
    for (const CsvLine &record : csv.records)
        if (!record.isComment())
            records.push_back(&record);
    if (records.empty())
        return CsvImport::refused(
            {CsvFault::NoHeader, csv.records.empty() ? 1 : csv.records.back().line, {}});

    const CsvLine &header = *records.front();
    const CsvColumns columns = findCsvColumns(header.fields, kNames, kRequiredNames, kDigitalVoiceNames);
    if (columns.fault.why != CsvFault::None)
        return CsvImport::refused({columns.fault.why, header.line, columns.fault.names});
    if (records.size() == 1)
        return CsvImport::refused({CsvFault::NoData, header.line, {}});

    CsvImport out;
    if (!columns.unknown.empty())
        out.warnings.push_back({CsvNote::UnknownColumns, header.line, columns.unknown});
    std::vector<bool> named(current.size(), false);
    std::array<bool, kColumnCount> ignored{};
    for (std::size_t k = 1; k < records.size(); ++k) {
        const CsvLine &record = *records[k];
        if (record.fields.size() != header.fields.size()) {
            out.problems.push_back({record.line, "", "", CsvReason::FieldCount, {}});
            continue;
        }
        CommonRowReader reader(record, columns.index, out.problems, ignored);
        const int row = reader.location(named);
        const auto values = reader.read(out.warnings);
        if (!values)
            continue;
        // A row without a number would go out as the empty channel.
        if (isBlankText(current[std::size_t(row)][ChannelNumber]))
            out.changes.push_back({row, ChannelNumber, std::to_string(row + 1)});
        for (int f = RxFrequency; f < kFieldCount; ++f)
            out.changes.push_back({row, Field(f), (*values)[std::size_t(f)]});
    }
    std::vector<std::string> unheld;
    for (int c = 0; c < kColumnCount; ++c)
        if (ignored[std::size_t(c)])
            unheld.emplace_back(kNames[std::size_t(c)]);
    if (!unheld.empty())
        out.warnings.push_back({CsvNote::UnheldColumns, header.line, unheld});
    return std::move(out).finished();
}

} // namespace vq
