#include "channels/ValueDomains.h"
#include "radio/ChannelFrame.h"

#include <QtTest>

#include <random>

using namespace vq;

namespace {

using Changes = std::initializer_list<std::pair<Field, FieldValue>>;

// Channel 1, 430.125 MHz both ways, no tones, scan "add", BCL and beat off, with the given fields changed.
ChannelRecord recordWith(Changes changes = {})
{
    ChannelRecord record = {"1", "430.12500", "", "", "430.12500", "", "", "add", "off", "off"};
    for (const auto &[field, value] : changes)
        record[field] = value;
    return record;
}

// What that record reads back as, fields 1 … 9, with the given fields changed.
QStringList fieldsWith(std::initializer_list<std::pair<Field, QString>> changes = {})
{
    QStringList fields = {"430.12500", "", "", "430.12500", "", "", "add", "off", "off"};
    for (const auto &[field, value] : changes)
        fields[field - 1] = value;
    return fields;
}

std::string encoded(const ChannelRecord &record)
{
    const auto result = encodeChannelFrame(record);
    return result.frame ? *result.frame : "error in field " + std::to_string(result.error.field);
}

QStringList decoded(std::string_view frame)
{
    const auto result = decodeChannelFrame(frame);
    QStringList out;
    for (const auto &value : result.fields ? result.fields->values : std::array<std::string, 9>{"malformed"})
        out << QString::fromStdString(value);
    return out;
}

// "###.00000" of a count of 10 Hz units, no integer digit below 1 MHz.
QString frequencyText(int units)
{
    return (units >= 100000 ? QString::number(units / 100000) : QString()) +
           QString(".%1").arg(units % 100000, 5, 10, QChar('0'));
}

} // namespace

class TestChannelFrame : public QObject {
    Q_OBJECT

private slots:
    void fixedFrames()
    {
        const std::string worked = "01000025874085080000002501430000";
        QCOMPARE(encoded(recordWith({{RxTone, "88.5"}})), worked);
        QCOMPARE(decoded(worked), fieldsWith({{RxTone, "88.5"}}));

        // A read keeps the record's own channel number.
        ChannelRecord target = recordWith({{ChannelNumber, "7"}});
        decodeChannelFrame(worked).fields->applyTo(target);
        QCOMPARE(target, recordWith({{ChannelNumber, "7"}, {RxTone, "88.5"}}));
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, decodeChannelFrame(worked).fields->at(ChannelNumber));
        QCOMPARE(decoded("a8000025874085080000002501430000"), fieldsWith({{RxTone, "88.5"}, {Scan, "del"}}));
        // DCS positions outside the codes read as no code rather than failing.
        for (const std::string p : {"00", "54", "64", "65", "FF", "fe"})
            QCOMPARE(decoded("010000258740" + p + "55" + "0000" + "00250143" + p + "55"), fieldsWith());
        // The reserved byte is ignored; a non-zero BCL number is kept, a non-zero beat reads as on.
        QCOMPARE(decoded("01FF0025874085080901002501430000"),
                 fieldsWith({{RxTone, "88.5"}, {Bcl, "9"}, {Beat, "on"}}));
        // No receive frequency: the empty frame whatever else the row holds, even an unsendable number.
        for (FieldValue rx : {FieldValue(), FieldValue(" "), FieldValue("off"), FieldValue("-0.000")})
            for (const char *number : {"1", "1.5", "999"})
                QCOMPARE(encoded({number, rx, "88.5", "", "", "", "023", "del", "2", "on"}), kEmptyFrame);
        // Number byte 00 or receive value 0: empty, whatever the rest holds.
        for (const char *frame : {"00FFFFFFFFFFFFFFFFFFFFFFFFFFFFFF", "A8FF0000000000000000000000000000"})
            QCOMPARE(decoded(frame), QStringList(9, QString()));

        // Malformed frames name the first character at fault.
        const QString text = QString::fromStdString(worked);
        auto at = [&](int position, QChar c) { return QString(text).replace(position - 1, 1, c); };
        const auto hex = DecodeFault::NotHexadecimal, decimal = DecodeFault::NotDecimal;
        const std::tuple<QString, DecodeFault, std::size_t, char, std::optional<Field>> cases[] = {
            {text.left(31), DecodeFault::WrongLength, 0, '\0', {}},
            {text + "0", DecodeFault::WrongLength, 0, '\0', {}},
            {at(32, 'G'), hex, 32, 'G', {}},
            {at(1, ' '), hex, 1, ' ', {}},
            {at(2, '\x01'), hex, 2, '\x01', {}},
            {at(7, 'A'), decimal, 7, 'A', RxFrequency},
            {at(13, 'b'), decimal, 13, 'B', RxTone},
            {at(26, 'F'), decimal, 26, 'F', TxFrequency},
            {at(31, 'C'), decimal, 31, 'C', TxTone},
        };
        for (const auto &[frame, fault, position, character, field] : cases) {
            const DecodeError error = decodeChannelFrame(frame.toStdString()).error;
            QVERIFY2(error.fault == fault && error.length == std::size_t(frame.size()) &&
                         error.position == position && error.character == character && error.field == field,
                     qPrintable(frame));
        }
    }

    void generatedRecords()
    {
        // Every value the codec takes, typed loosely, comes back in its stored form.
        std::mt19937 random(4471);
        auto pick = [&](int count) { return int(random() % unsigned(count)); };
        using Choice = std::pair<FieldValue, QString>; // typed text, text it reads back as
        auto frequency = [&](int lowest, int highest) -> Choice {
            const int units = lowest + pick(highest - lowest + 1);
            QString typed = frequencyText(units);
            while (pick(2) && typed.endsWith('0'))
                typed.chop(1);
            return {(pick(4) ? typed : " " + typed + "MHz").toStdString(), frequencyText(units)};
        };
        auto tone = [&]() -> Choice {
            const int tenths = 1 + pick(9999);
            const double hertz = tenths / 100 == 55 ? 25.0 : tenths / 10.0; // 55x.x would read as DCS
            return {QString::number(hertz, 'f', 1 + pick(2)).toStdString(), QString::number(hertz)};
        };
        const Choice noValue[] = {{std::nullopt, ""}, {"", ""}, {" ", ""}, {"0", ""}};
        const Choice scans[] = {
            {"add", "add"}, {"del", "del"}, {" del ", "del"}, {" ", "add"}, {std::nullopt, "add"}};
        const Choice bcls[] = {
            {"off", "off"}, {"1", "1"}, {" 2.0", "2"}, {" ", "off"}, {std::nullopt, "off"}};
        const Choice beats[] = {{"off", "off"}, {"on", "on"}, {"ON", "off"}, {std::nullopt, "off"}};

        for (int n = 0; n < 5000; ++n) {
            ChannelRecord record;
            QStringList expected(9, QString());
            auto set = [&](Field field, const Choice &choice) {
                record[field] = choice.first;
                expected[field - 1] = choice.second;
            };
            // Receive values lie 21.4 MHz above what fits 8 digits, transmit values not.
            set(RxFrequency, frequency(2140001, 2140000 + 99999999));
            set(TxFrequency, pick(4) ? frequency(1, 99999999) : noValue[pick(4)]);
            for (auto [ctcssField, dcsField] : {std::pair{RxTone, RxDcs}, std::pair{TxTone, TxDcs}}) {
                const int kind = pick(4); // none, CTCSS, DCS, both: CTCSS wins
                const int slot = 1 + pick(kDcsCodeCount);
                const QString code = QString::fromLatin1(dcsCodes()[std::size_t(slot)]);
                set(dcsField, kind & 2 ? Choice{code.toStdString(), code} : noValue[pick(4)]);
                set(ctcssField, kind & 1 ? tone() : noValue[pick(4)]);
                if (kind == 3)
                    expected[dcsField - 1].clear();
            }
            set(Scan, scans[pick(5)]);
            set(Bcl, bcls[pick(5)]);
            set(Beat, beats[pick(4)]);
            const int number = 1 + pick(127);
            record[ChannelNumber] = std::to_string(number);

            const std::string frame = encoded(record);
            QVERIFY2(frame.find_first_not_of("0123456789ABCDEF") == std::string::npos &&
                         frame.size() == kFrameLength,
                     frame.c_str());
            // The number byte carries the scan flag as +128.
            QCOMPARE(std::stoi(frame.substr(0, 2), nullptr, 16),
                     number + (expected[Scan - 1] == "del" ? 128 : 0));
            QCOMPARE(decoded(frame), expected);
        }
    }

    void encodeLimits()
    {
        // Each limit met once on either side; the first change names the field at fault.
        struct Case {
            const char *name;
            Changes changes;
            EncodeFault fault = EncodeFault::None;
        };
        const auto frequency = EncodeFault::FrequencyOutOfRange, tone = EncodeFault::ToneOutOfRange;
        const auto number = EncodeFault::ChannelNumberOutOfRange;
        // clang-format off
    const Case cases[] = {
        {"rx just above offset", {{RxFrequency, "21.40001"}}},
        {"rx below offset", {{RxFrequency, "21.39999"}}, frequency},
        {"rx 8 digits above offset", {{RxFrequency, "1021.39999"}}},
        {"rx 9 digits above offset", {{RxFrequency, "1021.4"}}, frequency},
        {"tx 8 digits", {{TxFrequency, "999.99999"}}},
        {"tx 9 digits", {{TxFrequency, "1000"}}, frequency},
        {"tx negative", {{TxFrequency, "-0.00001"}}, frequency},
        {"tone rounds to 0", {{RxTone, "0.05"}}, tone},
        {"tone rounds to 1", {{RxTone, "0.06"}}},
        {"tone rounds to 5 digits", {{TxTone, "999.95"}}, tone},
        {"tone below the DCS marker", {{RxTone, "549.9"}}},
        {"tone on the DCS marker", {{RxTone, "550"}}, tone},
        {"tone on the DCS marker, top", {{TxTone, "559.9"}}, tone},
        {"tone above the DCS marker", {{TxTone, "560"}}},
        {"bcl 3", {{Bcl, "3"}}, EncodeFault::BclInvalid},
        {"channel 1.5", {{ChannelNumber, "1.5"}}, EncodeFault::ChannelNumberNotWhole},
        {"channel 255", {{ChannelNumber, "255"}}},
        {"channel 256", {{ChannelNumber, "256"}}, number},
        {"channel -1, del", {{ChannelNumber, "-1"}, {Scan, "del"}}, number},
        {"channel 127, del", {{ChannelNumber, "127"}, {Scan, "del"}}},
        {"channel 128, del", {{ChannelNumber, "128"}, {Scan, "del"}}, number},
        {"channel 1e30", {{ChannelNumber, "1e30"}}, number},
    };
        // clang-format on
        for (const Case &c : cases) {
            const auto result = encodeChannelFrame(recordWith(c.changes));
            QVERIFY2(result.error.fault == c.fault && result.ok() == (c.fault == EncodeFault::None), c.name);
            QVERIFY2(result.ok() || result.error.field == c.changes.begin()->first, c.name);
        }
    }
};

QTEST_GUILESS_MAIN(TestChannelFrame)
#include "tst_channelframe.moc"
