// libFuzzer harness: reading CSV text and both channel layouts.
//
// Checked beyond "no crash":
//  - a refused text names why and gives no records; a read one has at most
//    kMaxCsvRecords records of at most kMaxCsvFields fields, in line order,
//    and writing them gives text that reads back as the very same fields and
//    writes the very same bytes again;
//  - an import that is not ok() carries no changes;
//  - an own-layout import that is accepted sets all ten fields of each row
//    its records number, each row once and numbered as it is; those rows,
//    written and read again, give the same rows;
//  - a common-layout import that is accepted sets the fields of each row it
//    names, the number only where the row has none; the table it leaves can
//    be exported, that export reads back as the same changes and writes the
//    same bytes again.
#include "FuzzCheck.h"
#include "files/ChannelCsv.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

namespace {

std::vector<vq::ChannelRecord> applied(std::vector<vq::ChannelRecord> rows, const vq::CsvImport &import)
{
    for (const vq::CsvChange &change : import.changes)
        rows[std::size_t(change.row)][change.field] = change.value;
    return rows;
}

std::vector<vq::CsvChange> sorted(std::vector<vq::CsvChange> changes)
{
    std::sort(changes.begin(), changes.end(), [](const vq::CsvChange &a, const vq::CsvChange &b) {
        return std::tie(a.row, a.field) < std::tie(b.row, b.field);
    });
    return changes;
}

void checkText(std::string_view input)
{
    const vq::CsvText csv = vq::parseCsv(input);
    if (!csv.ok()) {
        CHECK(csv.records.empty(), input);
        return;
    }
    CHECK(std::count_if(csv.records.begin(), csv.records.end(),
                        [](const vq::CsvLine &record) { return !record.isComment(); }) <= vq::kMaxCsvRecords,
          input);
    std::vector<vq::CsvRecord> records;
    int line = 0;
    for (const vq::CsvLine &record : csv.records) {
        CHECK(record.line > line, input);
        line = record.line;
        CHECK(!record.fields.empty() && record.fields.size() <= std::size_t(vq::kMaxCsvFields), input);
        CHECK(!(record.fields.size() == 1 && !record.fields.front()), input);
        records.push_back(record.fields);
    }
    const std::string written = vq::writeCsv(records);
    // Quoting can make the text longer than the reader takes.
    if (written.size() > vq::kMaxCsvBytes)
        return;
    const vq::CsvText again = vq::parseCsv(written);
    CHECK(again.ok() && again.records.size() == records.size(), input);
    std::vector<vq::CsvRecord> reread;
    for (std::size_t k = 0; k < records.size(); ++k) {
        CHECK(again.records[k].fields == records[k], input);
        reread.push_back(again.records[k].fields);
    }
    CHECK(vq::writeCsv(reread) == written, input);
}

void checkOwnLayout(std::string_view input)
{
    const vq::CsvImport import = vq::readOwnCsv(input, vq::kChannelCount);
    if (!import.ok()) {
        CHECK(import.changes.empty(), input);
        return;
    }
    const std::size_t records = import.changes.size() / vq::kFieldCount;
    CHECK(records >= 1 && records <= std::size_t(vq::kChannelCount), input);
    CHECK(import.changes.size() == records * vq::kFieldCount, input);
    std::vector<bool> named(vq::kChannelCount, false);
    for (std::size_t k = 0; k < import.changes.size(); ++k) {
        const vq::CsvChange &change = import.changes[k];
        const vq::CsvChange &first = import.changes[k - k % vq::kFieldCount];
        CHECK(change.row == first.row && change.row >= 0 && change.row < vq::kChannelCount, input);
        CHECK(change.field == vq::Field(k % vq::kFieldCount), input);
        if (change.field == vq::ChannelNumber) {
            CHECK(!named[std::size_t(change.row)] && change.value == std::to_string(change.row + 1), input);
            named[std::size_t(change.row)] = true;
        }
    }

    // Rows the file does not name are written too, under their numbers.
    std::vector<vq::ChannelRecord> numbered(vq::kChannelCount);
    for (std::size_t r = 0; r < numbered.size(); ++r)
        numbered[r][vq::ChannelNumber] = std::to_string(r + 1);
    const auto table = applied(numbered, import);
    const vq::CsvImport again = vq::readOwnCsv(vq::writeOwnCsv(table), vq::kChannelCount);
    CHECK(again.ok() && again.warnings.empty(), input);
    CHECK(applied(numbered, again) == table, input);
}

void checkCommonLayout(std::string_view input)
{
    const std::vector<vq::ChannelRecord> empty(vq::kChannelCount);
    const vq::CsvImport import = vq::readCommonCsv(input, empty);
    if (!import.ok()) {
        CHECK(import.changes.empty(), input);
        return;
    }
    CHECK(!import.changes.empty(), input);
    for (const vq::CsvChange &change : import.changes) {
        CHECK(change.row >= 0 && change.row < vq::kChannelCount, input);
        CHECK(change.value.has_value(), input);
        // The table starts without numbers: each named row takes its Location.
        if (change.field == vq::ChannelNumber)
            CHECK(*change.value == std::to_string(change.row + 1), input);
    }

    const auto table = applied(empty, import);
    const vq::CsvExport exported = vq::writeCommonCsv(table);
    CHECK(exported.ok(), input);
    const vq::CsvImport again = vq::readCommonCsv(exported.text, empty);
    CHECK(again.ok() && again.warnings.empty(), input);
    CHECK(sorted(again.changes) == sorted(import.changes), input);
    CHECK(vq::writeCommonCsv(applied(empty, again)).text == exported.text, input);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char *>(data), size);
    checkText(input);
    checkOwnLayout(input);
    checkCommonLayout(input);
    return 0;
}
