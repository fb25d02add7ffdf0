#include "files/CommonCsvWriter.h"

#include "channels/Decimal.h"
#include "channels/ValueDomains.h"
#include "channels/ValueRules.h"
#include "files/CommonCsvLayout.h"

#include <cstdint>
#include <optional>

namespace vq {

using namespace commoncsv;

namespace {

constexpr std::string_view kUnusedTone = "88.5";
constexpr std::string_view kUnusedCode = "023";
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
                    problem(*check.problem);
        if (failed_ || !rx)
            return std::nullopt;

        std::array<std::string, kColumnCount> cells;
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
    void problem(ValueRefusal refusal)
    {
        const Field field = refusal.field;
        problems_.push_back({number_, std::string(fieldNames()[field]), textOf(row_[field]), CsvReason::Value,
                             std::move(refusal)});
        failed_ = true;
    }

    std::optional<std::int64_t> hertz(Field field)
    {
        const auto mhz = Decimal::parsePlain(textOf(row_[field]));
        const auto hz = mhz ? mhz->scaledRounded(kLayoutDecimals) : std::nullopt;
        if (!hz || *hz < 0) {
            problem({field, Refusal::NotFrequency, textOf(row_[field]), {}});
            return std::nullopt;
        }
        return hz;
    }

    Squelch squelch(Field toneField, Field codeField)
    {
        if (!isNoTone(row_[toneField])) {
            ValueCheck check = checkFieldValue(toneField, *row_[toneField]);
            if (!check.value)
                problem(*check.problem);
            return {Squelch::Tone, check.value.value_or("")};
        }
        if (!isNoTone(row_[codeField])) {
            if (dcsPosition(*row_[codeField]) == 0)
                problem({codeField, Refusal::NotDcs, *row_[codeField], {}});
            return {Squelch::Code, *row_[codeField]};
        }
        return {};
    }

    static void writeDuplex(std::int64_t rx, std::optional<std::int64_t> tx,
                            std::array<std::string, kColumnCount> &cells)
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
                             std::array<std::string, kColumnCount> &cells)
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

} // namespace

CsvExport writeCommonCsv(std::span<const ChannelRecord> rows)
{
    CsvExport out;
    std::vector<CsvRecord> records;
    records.emplace_back(kNames.begin(), kNames.end());
    for (std::size_t r = 0; r < rows.size(); ++r)
        if (auto record = CommonRowWriter(rows[r], int(r) + 1, out.problems).write())
            records.push_back(std::move(*record));
    if (out.ok())
        out.text = writeCsv(records);
    return out;
}

} // namespace vq
