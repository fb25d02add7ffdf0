#include "channels/ChannelJudge.h"

#include "channels/Decimal.h"
#include "channels/FrequencyRules.h"
#include "channels/ValueDomains.h"

#include <algorithm>

namespace vq {

namespace {

// The number byte's top bit is the scan flag: a larger number would read
// back as another channel, or flip add and del.
constexpr int kHighestChannelNumber = 127;

std::string trimmed(std::string_view text)
{
    // Blanks a person or a spreadsheet leaves around a value, the
    // full-width space of Chinese input methods among them.
    constexpr std::string_view ideographicSpace = "\xE3\x80\x80";
    for (;;) {
        const std::size_t before = text.size();
        while (!text.empty() && std::string_view(" \t\r\n").find(text.front()) != std::string_view::npos)
            text.remove_prefix(1);
        while (!text.empty() && std::string_view(" \t\r\n").find(text.back()) != std::string_view::npos)
            text.remove_suffix(1);
        if (text.substr(0, 3) == ideographicSpace)
            text.remove_prefix(3);
        if (text.size() >= 3 && text.substr(text.size() - 3) == ideographicSpace)
            text.remove_suffix(3);
        if (text.size() == before)
            return std::string(text);
    }
}

// A tone, frequency or flag the user left blank, or a number 0.
bool isNothing(const std::string &text)
{
    if (text.empty())
        return true;
    const auto number = Decimal::parsePlain(text);
    return number && number->isZero();
}

std::optional<ValueRefusal> refuse(Field field, Refusal why, const FieldValue &value,
                                   std::string snapped = {})
{
    return ValueRefusal{field, why, textOf(value), std::move(snapped)};
}

// A frequency in its stored form, or why not; "" for nothing.
std::optional<ValueRefusal> judgeFrequency(Field field, const FieldValue &value, std::string &out)
{
    const std::string text = trimmed(textOf(value));
    out.clear();
    if (isNothing(text))
        return std::nullopt;
    const auto mhz = Decimal::parsePlain(text);
    if (!mhz)
        return refuse(field, Refusal::NotFrequency, value);
    if (!isFrequencyInRange(*mhz))
        return refuse(field, Refusal::FrequencyOutOfRange, value);
    const std::string stepped = stepFrequency(*mhz).value_or(std::string());
    const auto units = mhz->scaledRounded(kFrequencyDecimals);
    const bool exact = units && Decimal::fromScaled(*units, -kFrequencyDecimals) == *mhz;
    if (!exact || stepped != formatFrequency(*mhz))
        return refuse(field, Refusal::OffRaster, value, stepped);
    out = stepped;
    return std::nullopt;
}

// The tone's list text ("67.0"), or why not; "" for no tone.
std::optional<ValueRefusal> judgeTone(Field field, const FieldValue &value, std::string &out)
{
    const std::string text = trimmed(textOf(value));
    out.clear();
    if (isNothing(text))
        return std::nullopt;
    const auto hz = Decimal::parsePlain(text);
    for (std::string_view tone : ctcssTones())
        if (hz && *hz == *Decimal::parsePlain(tone)) {
            out = std::string(tone);
            return std::nullopt;
        }
    return refuse(field, Refusal::NotTone, value);
}

// The code as the table lists it ("023"; "23" is the same code), or why not.
std::optional<ValueRefusal> judgeDcs(Field field, const FieldValue &value, std::string &out)
{
    std::string text = Decimal::asciiForms(trimmed(textOf(value)));
    out.clear();
    if (isNothing(text))
        return std::nullopt;
    if (text.size() < 3 && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '7'; }))
        text.insert(0, 3 - text.size(), '0');
    if (dcsPosition(text) == 0)
        return refuse(field, Refusal::NotDcs, value);
    out = text;
    return std::nullopt;
}

// Scan, BCL or beat as its picker writes it; blank stays blank.
std::optional<ValueRefusal> judgeChoice(Field field, const FieldValue &value, std::string &out)
{
    const std::string text = trimmed(textOf(value));
    out = text;
    if (text.empty())
        return std::nullopt;
    if (field == Bcl) {
        // The radio keeps a number: "0" is "off".
        const auto number = Decimal::parsePlain(text);
        for (int level : {0, 1, 2})
            if (number && *number == Decimal::fromInteger(level)) {
                out = level == 0 ? "off" : std::to_string(level);
                return std::nullopt;
            }
        if (text == "off")
            return std::nullopt;
        return refuse(field, Refusal::NotChoice, value);
    }
    const auto &choices = field == Scan ? scanValues() : beatValues();
    if (std::find(choices.begin(), choices.end(), text) == choices.end())
        return refuse(field, Refusal::NotChoice, value);
    return std::nullopt;
}

std::optional<ValueRefusal> judgeNumber(const FieldValue &value, std::string &out)
{
    const std::string text = trimmed(textOf(value));
    if (text.empty())
        return refuse(ChannelNumber, Refusal::NumberMissing, value);
    const auto number = Decimal::parsePlain(text);
    const auto whole = number ? number->scaledRounded(0) : std::nullopt;
    if (!whole || !(Decimal::fromInteger(*whole) == *number))
        return refuse(ChannelNumber, Refusal::NumberNotWhole, value);
    if (*whole < 1 || *whole > kHighestChannelNumber)
        return refuse(ChannelNumber, Refusal::NumberOutOfRange, value);
    out = std::to_string(*whole);
    return std::nullopt;
}

// A CTCSS tone as a read gives it back, in its shortest form ("67", "88.5").
void toRadioTone(ChannelRecord &radio, Field tone)
{
    const std::string t = textOf(radio[tone]);
    if (!t.empty())
        radio[tone] = Decimal::parsePlain(t)->toShortestText();
}

} // namespace

ValueVerdict judgeValue(Field field, const std::string &text)
{
    std::string out;
    std::optional<ValueRefusal> refusal;
    switch (field) {
    case ChannelNumber:
        refusal = judgeNumber(text, out);
        break;
    case RxFrequency:
    case TxFrequency:
        refusal = judgeFrequency(field, text, out);
        break;
    case RxTone:
    case TxTone:
        refusal = judgeTone(field, text, out);
        break;
    case RxDcs:
    case TxDcs:
        refusal = judgeDcs(field, text, out);
        break;
    case Scan:
    case Bcl:
    case Beat:
        refusal = judgeChoice(field, text, out);
        break;
    }
    if (refusal)
        return {std::nullopt, refusal};
    return {out, std::nullopt};
}

ChannelVerdict judgeChannel(const ChannelRecord &record)
{
    ChannelVerdict verdict;
    std::string rx;
    if ((verdict.refusal = judgeFrequency(RxFrequency, record[RxFrequency], rx)))
        return verdict;
    if (rx.empty()) {
        // The empty frame: nothing else of the row reaches the radio. Text
        // that is no number where a transmit frequency belongs was still
        // meant as one.
        if (const std::string tx = trimmed(textOf(record[TxFrequency]));
            !isNothing(tx) && !Decimal::parsePlain(tx))
            verdict.refusal = refuse(TxFrequency, Refusal::NotFrequency, record[TxFrequency]);
        verdict.empty = true;
        for (FieldValue &field : verdict.radio)
            field = std::string();
        return verdict;
    }
    ChannelRecord &radio = verdict.radio;
    std::string out;
    const auto take = [&](Field field, std::optional<ValueRefusal> refusal) {
        if (refusal && !verdict.refusal)
            verdict.refusal = refusal;
        radio[field] = out;
    };
    take(ChannelNumber, judgeNumber(record[ChannelNumber], out));
    radio[RxFrequency] = rx;
    for (Field f : {RxTone, TxTone})
        take(f, judgeTone(f, record[f], out));
    for (Field f : {RxDcs, TxDcs})
        take(f, judgeDcs(f, record[f], out));
    take(TxFrequency, judgeFrequency(TxFrequency, record[TxFrequency], out));
    for (Field f : {Scan, Bcl, Beat})
        take(f, judgeChoice(f, record[f], out));
    if (verdict.refusal)
        return verdict;
    for (auto [tone, dcs] : {std::pair{RxTone, RxDcs}, std::pair{TxTone, TxDcs}})
        if (!textOf(radio[tone]).empty() && !textOf(radio[dcs]).empty()) {
            verdict.refusal = ValueRefusal{dcs, Refusal::ToneAndDcs, textOf(record[dcs]), {}};
            return verdict;
        }
    // As a read gives the channel back.
    toRadioTone(radio, RxTone);
    toRadioTone(radio, TxTone);
    if (textOf(radio[Scan]) != "del")
        radio[Scan] = std::string("add");
    if (textOf(radio[Bcl]).empty())
        radio[Bcl] = std::string("off");
    if (textOf(radio[Beat]) != "on")
        radio[Beat] = std::string("off");
    return verdict;
}

ChannelRecord asSent(const ChannelRecord &record, int row)
{
    ChannelRecord sent = record;
    if (row == 0)
        sent[ChannelNumber] = std::string("1");
    return sent;
}

std::vector<RowRefusal> judgePlan(const std::vector<ChannelRecord> &rows)
{
    std::vector<RowRefusal> refusals;
    for (int row = 0; row < kChannelCount && row < static_cast<int>(rows.size()); ++row) {
        const ChannelVerdict verdict = judgeChannel(asSent(rows[static_cast<std::size_t>(row)], row));
        if (verdict.refusal)
            refusals.push_back({row, *verdict.refusal});
    }
    return refusals;
}

std::vector<RowRefusal> judgeChange(const std::vector<ChannelRecord> &before,
                                    const std::vector<ChannelRecord> &after)
{
    std::vector<RowRefusal> refusals;
    for (const RowRefusal &now : judgePlan(after)) {
        const auto row = static_cast<std::size_t>(now.row);
        if (row < before.size() && before[row] == after[row])
            continue;
        if (row < before.size() && judgeChannel(asSent(before[row], now.row)).refusal == now.refusal)
            continue;
        refusals.push_back(now);
    }
    return refusals;
}

ChannelRecord radioImage(const ChannelRecord &record)
{
    ChannelVerdict verdict = judgeChannel(record);
    return verdict.ok() ? verdict.radio : record;
}

} // namespace vq
