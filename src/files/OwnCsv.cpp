#include "files/OwnCsv.h"

#include "channels/ValueDomains.h"
#include "files/CsvColumns.h"
#include "files/CsvText.h"

namespace vq {

std::string writeOwnCsv(std::span<const ChannelRecord> rows)
{
    std::vector<CsvRecord> records;
    records.reserve(rows.size() + 1);
    records.emplace_back(fieldNames().begin(), fieldNames().end());
    for (std::size_t r = 0; r < rows.size(); ++r) {
        CsvRecord &record = records.emplace_back();
        record.push_back(std::to_string(r + 1));
        for (int f = ChannelNumber + 1; f < kFieldCount; ++f) {
            const FieldValue &value = rows[r][std::size_t(f)];
            record.push_back(value ? FieldValue(guardFormula(*value)) : std::nullopt);
        }
    }
    return writeCsv(records);
}

CsvImport readOwnCsv(std::string_view utf8, int tableRows)
{
    const CsvText csv = parseCsv(utf8);
    if (!csv.ok())
        return CsvImport::refused(csv.fault);
    if (csv.records.empty())
        return CsvImport::refused({CsvFault::NoHeader, 1, {}});

    const auto &names = fieldNames();
    const CsvLine &header = csv.records.front();
    const CsvColumns columns = findCsvColumns(header.fields, names, names, {});
    if (columns.fault.why != CsvFault::None)
        return CsvImport::refused({columns.fault.why, header.line, columns.fault.names});
    if (csv.records.size() == 1)
        return CsvImport::refused({CsvFault::NoData, header.line, {}});

    CsvImport out;
    if (!columns.unknown.empty())
        out.warnings.push_back({CsvNote::UnknownColumns, header.line, columns.unknown});
    std::vector<bool> named(std::size_t(std::max(tableRows, 0)), false);
    for (std::size_t k = 1; k < csv.records.size(); ++k) {
        const CsvLine &record = csv.records[k];
        if (record.fields.size() != header.fields.size()) {
            out.problems.push_back({record.line, "", "", CsvReason::FieldCount, {}});
            continue;
        }
        auto cell = [&](Field f) -> const FieldValue & { return record.fields[std::size_t(columns[f])]; };
        const std::string number = unguardFormula(textOf(cell(ChannelNumber)));
        const CsvRowPick pick = pickCsvRow(number, named);
        if (pick.row < 0)
            out.problems.push_back({record.line, std::string(names[ChannelNumber]), number, pick.why, {}});
        else
            out.changes.push_back({pick.row, ChannelNumber, std::to_string(pick.row + 1)});
        for (int f = ChannelNumber + 1; f < kFieldCount; ++f) {
            if (!cell(Field(f))) {
                out.changes.push_back({pick.row, Field(f), std::nullopt});
                continue;
            }
            const std::string text = unguardFormula(*cell(Field(f)));
            ValueCheck check = checkCsvValue(Field(f), text);
            if (check.value)
                out.changes.push_back({pick.row, Field(f), std::move(check.value)});
            else
                out.problems.push_back(
                    {record.line, std::string(names[std::size_t(f)]), text, CsvReason::Value, check.problem});
        }
    }
    return std::move(out).finished();
}

} // namespace vq
