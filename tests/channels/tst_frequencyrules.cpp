#include "channels/FrequencyRules.h"
#include "channels/PickerRules.h"
#include "channels/ValueDomains.h"
#include "radio/ChannelFrame.h"

#include <QtTest>

#include <random>

using namespace vq;

namespace {

std::int64_t unitsOf(const std::string &text)
{
    return Decimal::leadingNumber(text).scaledRounded(kFrequencyDecimals).value();
}

} // namespace

class TestFrequencyRules : public QObject {
    Q_OBJECT

private slots:
    void stepping()
    {
        // Every 10 Hz unit of a few kHz windows and random ones across the range.
        std::vector<std::int64_t> units;
        for (std::int64_t start : {13000000, 14500000, 43301000, 49999000})
            for (std::int64_t n = start; n < start + 2000; ++n)
                units.push_back(n);
        std::mt19937 random(1);
        for (int k = 0; k < 5000; ++k)
            units.push_back(13000000 + random() % 37000001);

        for (std::int64_t n : units) {
            const std::string text = stepFrequency(Decimal::fromScaled(n, -kFrequencyDecimals)).value();
            QCOMPARE(text.size() - text.find('.'), std::size_t(kFrequencyDecimals + 1));
            const std::int64_t stepped = unitsOf(text);
            const bool onRaster = n % kNarrowStep == 0 || n % kWideStep == 0;
            // On the raster a value stays; off it, it goes down to the 5 kHz step below.
            QCOMPARE(stepped, onRaster ? n : n - n % kWideStep);
            QCOMPARE(stepFrequency(Decimal::leadingNumber(text)), text); // idempotent
            QCOMPARE(unitsOf(formatFrequency(Decimal::fromScaled(n, -kFrequencyDecimals)).value()), n);
        }

        auto step = [](const char *typed) { return stepFrequency(Decimal::leadingNumber(typed)); };
        // Half-way at 10 Hz goes to the even unit; that unit then decides the step.
        QCOMPARE(step("145.006245"), "145.00500");
        QCOMPARE(step("145.006249"), "145.00625");
        QVERIFY(!step("0") && !step("-145") && !step("1e30"));
        QCOMPARE(formatFrequency(Decimal::leadingNumber("0.5")), ".50000"); // no integer digit
        QCOMPARE(formatFrequency(Decimal::leadingNumber("-0.5")), "-.50000");
        QVERIFY(!formatFrequency(Decimal::leadingNumber("1e30")));
    }

    void edits()
    {
        // A receive edit never depends on the old transmit text; a transmit edit is checked against receive.
        // Each: name, a receive edit, what is typed, the other frequency, the verdict.
        using Case = std::tuple<const char *, bool, FieldValue, FieldValue, FrequencyEdit>;
        const auto keep = std::nullopt;
        // clang-format off
    const Case cases[] = {
        {"rx Null", true, keep, {}, {"", "", false}},
        {"rx blank", true, " ", {}, {"", "", false}},
        {"rx zero with fraction", true, "0.000", {}, {"", "", false}},
        {"rx below range", true, "129.99999", {}, {"", keep, true}},
        {"rx above range", true, "500.00001", {}, {"", keep, true}},
        {"rx rounds to 500 but above", true, "500.000001", {}, {"", keep, true}},
        {"rx negative", true, "-145", {}, {"", keep, true}},
        {"rx tiny", true, "1e-9", {}, {"", keep, true}},
        {"rx lowest", true, "130", {}, {"130.00000", "130.00000", false}},
        {"rx highest, typed loosely", true, " 5 00MHz", {}, {"500.00000", "500.00000", false}},
        {"rx off raster", true, "145.0075", {}, {"145.00500", "145.00500", false}},
        {"tx Null", false, keep, "145.00000", {keep, "", false}},
        {"tx zero", false, "0", "145.00000", {keep, "", false}},
        {"tx, no receive", false, "146", keep, {keep, "", false}},
        {"tx, receive not a number", false, "146", "abc", {keep, "", false}},
        {"tx, no receive, out of range: no message", false, "600", "", {keep, "", false}},
        {"tx below range", false, "129.99999", "145.00000", {keep, "", true}},
        {"tx above range", false, "500.00001", "145.00000", {keep, "", true}},
        {"tx split stepped", false, "146.1234", "145.00000", {keep, "146.12000", false}},
        {"tx, any receive number", false, "130", "9999", {keep, "130.00000", false}},
    };
        // clang-format on
        for (const auto &[name, receive, typed, other, want] : cases)
            for (const FieldValue &oldTx : {FieldValue(), FieldValue(""), FieldValue("146.01250")})
                QVERIFY2(want == (receive ? checkReceiveEdit(typed, oldTx) : checkTransmitEdit(other, typed)), name);
    }

    void toneDomainsAndPickers()
    {
        // "023" … "754" in slots 1 … 83, rising octal codes found at their slots; other slots empty.
        const auto &codes = dcsCodes();
        QVERIFY(dcsPosition("023") == 1 && dcsPosition("754") == kDcsCodeCount);
        for (int slot = 0; slot < kDcsSlots; ++slot) {
            const std::string_view code = codes[std::size_t(slot)];
            const bool used = slot >= 1 && slot <= kDcsCodeCount;
            QVERIFY2(used ? dcsPosition(code) == slot && code.size() == 3 &&
                                (slot == 1 || codes[slot - 1] < code) &&
                                code.find_first_not_of("01234567") == std::string_view::npos
                          : code.empty(),
                     qPrintable(QString::number(slot)));
        }
        for (const char *miss : {"024", "23", "0230", " 023", "023 ", "", " "})
            QCOMPARE(dcsPosition(miss), 0);

        // CTCSS tones rise from 67.0 to 250.3 Hz.
        const auto &tones = ctcssTones();
        QVERIFY(tones.front() == "67.0" && tones.back() == "250.3");
        for (std::size_t i = 1; i < tones.size(); ++i)
            QVERIFY(Decimal::leadingNumber(tones[i - 1]) < Decimal::leadingNumber(tones[i]));
        QVERIFY(!isNoTone(std::string(tones.front())));
        for (const FieldValue &none : {FieldValue(), FieldValue(""), FieldValue(" "), FieldValue("0.0")})
            QVERIFY(isNoTone(none));
        // "X" reads as no value everywhere, so any change a pick makes shows.
        const ChannelRecord base = {"1", "145.00000", "X", "X", "145.00000", "X", "X", "X", "X", "X"};
        QVERIFY(pickerEntries(0).empty() && pickerEntries(8).empty() && !pickerField(0) && !pickerField(8));
        QVERIFY(pickerEntries(1) == pickerEntries(3) && pickerEntries(2) == pickerEntries(4));
        QVERIFY(pickerEntries(1).size() == ctcssTones().size() + 1 &&
                pickerEntries(2).size() == std::size_t(kDcsCodeCount) + 1);

        for (int picker = 1; picker <= kPickerCount; ++picker) {
            const Field field = pickerField(picker).value();
            const auto entries = pickerEntries(picker);
            for (std::string_view entry : entries) {
                // A receive pick sets both directions and clears the other kind; a transmit pick stays put.
                const std::string text(entry);
                const int otherKind = field == RxTone || field == TxTone ? field + 1 : field - 1;
                ChannelRecord want = base, row = base;
                want[field] = text;
                if (field == RxTone || field == RxDcs)
                    want[field + 3] = text, want[otherKind] = want[otherKind + 3] = "";
                else if (field == TxTone || field == TxDcs)
                    want[otherKind] = "";
                const auto writes = pickerWrites(picker, entry);
                QCOMPARE(writes.front().field, field);
                for (const FieldWrite &write : writes)
                    row[write.field] = write.text;
                QVERIFY2(row == want, qPrintable(QString("Combo%1 '%2'").arg(picker).arg(entry.data())));
                // The radio takes and gives back every offer: the blank as first entry or nothing.
                const auto encoded = encodeChannelFrame(row);
                QVERIFY(encoded.ok());
                const std::string back = decodeChannelFrame(*encoded.frame).fields->at(field);
                if (entry == " ")
                    QVERIFY(back.empty() || back == entries.front());
                else
                    QVERIFY(back == entry || ((field == RxTone || field == TxTone) &&
                                              Decimal::leadingNumber(back) == Decimal::leadingNumber(entry)));
            }
            for (const char *unlisted : {"", "23", "88.50", "ON", "X"})
                QVERIFY(pickerWrites(picker, unlisted).empty());
        }
    }
};

QTEST_GUILESS_MAIN(TestFrequencyRules)
#include "tst_frequencyrules.moc"
