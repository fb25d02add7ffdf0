#include "channels/ValueDomains.h"
#include "radio/ChannelFrame.h"

#include <QtTest>

#include <random>

using vq::ChannelRecord;
using vq::DecodeFault;
using vq::EncodeFault;
using vq::FieldValue;

Q_DECLARE_METATYPE(vq::ChannelRecord)

namespace {

using Changes = std::initializer_list<std::pair<vq::Field, FieldValue>>;
using FieldTexts = std::initializer_list<std::pair<vq::Field, QString>>;

// Channel 1, 430.125 MHz both ways, no tones, scan "add", BCL and beat off,
// with the given fields changed.
ChannelRecord recordWith(Changes changes = {})
{
    ChannelRecord record = {"1", "430.12500", "", "", "430.12500", "", "", "add", "off", "off"};
    for (const auto &[field, value] : changes)
        record[field] = value;
    return record;
}

// What that record reads back as, with the given fields changed.
QStringList fieldsWith(FieldTexts changes = {})
{
    QStringList fields = {"430.12500", "", "", "430.12500", "", "", "add", "off", "off"};
    for (const auto &[field, value] : changes)
        fields[field - 1] = value;
    return fields;
}

QStringList fieldsOf(const vq::DecodedFields &fields)
{
    QStringList out;
    for (const auto &value : fields.values)
        out << QString::fromStdString(value);
    return out;
}

bool isWellFormed(const std::string &frame)
{
    static const QRegularExpression pattern("^[0-9A-F]{32}$");
    return pattern.match(QString::fromStdString(frame)).hasMatch();
}

// The four wire characters of a CTCSS tone: tenths of a hertz as BCD, low
// pair first.
QString toneWire(const QString &hertz)
{
    const QString digits = QString("%1").arg(qRound(hertz.toDouble() * 10), 4, 10, QChar('0'));
    return digits.mid(2, 2) + digits.left(2);
}

} // namespace

class TestChannelFrame : public QObject
{
    Q_OBJECT
private slots:
    void workedFrame();
    void roundTrip_data();
    void roundTrip();
    void emptyChannel();
    void unencodable_data();
    void unencodable();
    void malformed_data();
    void malformed();
    void tolerantDecoding();
    void generatedRecords();
};

void TestChannelFrame::workedFrame()
{
    const std::string worked = "01000025874085080000002501430000";
    auto encoded = vq::encodeChannelFrame(recordWith({{vq::RxTone, "88.5"}}));
    QVERIFY(encoded.ok());
    QCOMPARE(*encoded.frame, worked);

    auto decoded = vq::decodeChannelFrame(worked);
    QVERIFY(decoded.ok());
    QCOMPARE(fieldsOf(*decoded.fields), fieldsWith({{vq::RxTone, "88.5"}}));

    // Decoding never touches the channel number.
    ChannelRecord target = recordWith({{vq::ChannelNumber, "7"}});
    decoded.fields->applyTo(target);
    QCOMPARE(target[vq::ChannelNumber], FieldValue("7"));
    QCOMPARE(target[vq::RxTone], FieldValue("88.5"));

    QCOMPARE(vq::kProbeCommand, '6');
    QCOMPARE(vq::kReadyReply, 'C');
    QCOMPARE(vq::kWriteCommand, 'A');
    QCOMPARE(vq::kReadCommand, 'B');
}

void TestChannelFrame::roundTrip_data()
{
    QTest::addColumn<ChannelRecord>("record");
    QTest::addColumn<int>("position"); // 1-based character position of `wire`
    QTest::addColumn<QString>("wire");
    QTest::addColumn<QStringList>("expected");
    auto row = [](const QString &name, Changes changes, int position, const QString &wire,
                  const QStringList &expected) {
        QTest::addRow("%s", qPrintable(name))
            << recordWith(changes) << position << wire << expected;
    };

    for (std::string_view tone : vq::ctcssTones()) {
        const QString text = QString::fromLatin1(tone.data(), qsizetype(tone.size()));
        const QString shortest = QString::number(text.toDouble());
        const std::string value(tone);
        row("rx " + text, {{vq::RxTone, value}}, 13, toneWire(text),
            fieldsWith({{vq::RxTone, shortest}}));
        row("tx " + text, {{vq::TxTone, value}}, 29, toneWire(text),
            fieldsWith({{vq::TxTone, shortest}}));
    }
    for (int slot = 1; slot <= vq::kDcsCodeCount; ++slot) {
        const std::string code(vq::dcsCodes()[std::size_t(slot)]);
        const QString text = QString::fromStdString(code);
        const QString wire = QString("%1").arg(slot, 2, 16, QChar('0')).toUpper() + "55";
        row("rx dcs " + text, {{vq::RxDcs, code}}, 13, wire, fieldsWith({{vq::RxDcs, text}}));
        row("tx dcs " + text, {{vq::TxDcs, code}}, 29, wire, fieldsWith({{vq::TxDcs, text}}));
    }

    const auto ch40 = std::pair{vq::ChannelNumber, FieldValue("40")};
    row("scan add", {ch40}, 1, "28", fieldsWith());
    row("scan del", {ch40, {vq::Scan, "del"}}, 1, "A8", fieldsWith({{vq::Scan, "del"}}));
    row("scan del, blanks", {ch40, {vq::Scan, " del "}}, 1, "A8", fieldsWith({{vq::Scan, "del"}}));
    row("scan blank", {ch40, {vq::Scan, " "}}, 1, "28", fieldsWith());
    row("scan null", {ch40, {vq::Scan, std::nullopt}}, 1, "28", fieldsWith());

    row("bcl off", {}, 17, "00", fieldsWith());
    row("bcl 1", {{vq::Bcl, "1"}}, 17, "01", fieldsWith({{vq::Bcl, "1"}}));
    row("bcl 2", {{vq::Bcl, "2"}}, 17, "02", fieldsWith({{vq::Bcl, "2"}}));
    row("bcl blank", {{vq::Bcl, " "}}, 17, "00", fieldsWith());
    row("bcl null", {{vq::Bcl, std::nullopt}}, 17, "00", fieldsWith());
    row("bcl ' 2.0'", {{vq::Bcl, " 2.0"}}, 17, "02", fieldsWith({{vq::Bcl, "2"}}));

    row("beat on", {{vq::Beat, "on"}}, 19, "80", fieldsWith({{vq::Beat, "on"}}));
    row("beat off", {}, 19, "00", fieldsWith());
    row("beat ON is not on", {{vq::Beat, "ON"}}, 19, "00", fieldsWith());
    row("beat null", {{vq::Beat, std::nullopt}}, 19, "00", fieldsWith());

    row("split tx", {{vq::RxFrequency, "145.0075"}, {vq::TxFrequency, "145.6075"}}, 21, "50075614",
        fieldsWith({{vq::RxFrequency, "145.00750"}, {vq::TxFrequency, "145.60750"}}));
    row("no tx", {{vq::TxFrequency, ""}}, 21, "00000000", fieldsWith({{vq::TxFrequency, ""}}));
    row("rx 130", {{vq::RxFrequency, "130"}}, 5, "00008610",
        fieldsWith({{vq::RxFrequency, "130.00000"}}));
    row("tx 130", {{vq::TxFrequency, "130"}}, 21, "00000013",
        fieldsWith({{vq::TxFrequency, "130.00000"}}));
    row("rx 500", {{vq::RxFrequency, "500"}}, 5, "00008647",
        fieldsWith({{vq::RxFrequency, "500.00000"}}));
    row("tx 500", {{vq::TxFrequency, "500"}}, 21, "00000050",
        fieldsWith({{vq::TxFrequency, "500.00000"}}));
    row("ctcss wins over dcs", {{vq::RxTone, "100.0"}, {vq::RxDcs, "023"}}, 13, "0010",
        fieldsWith({{vq::RxTone, "100"}}));
    row("unknown dcs goes as 0", {{vq::TxDcs, "024"}}, 29, "0055", fieldsWith());

    // Values short of 8 or 4 digits are zero-filled on the left.
    row("short rx value", {{vq::RxFrequency, "30"}}, 5, "00008600",
        fieldsWith({{vq::RxFrequency, "30.00000"}}));
    row("short tx value", {{vq::TxFrequency, "99.5"}}, 21, "00009509",
        fieldsWith({{vq::TxFrequency, "99.50000"}}));
    row("short tone", {{vq::TxTone, "9.5"}}, 29, "9500", fieldsWith({{vq::TxTone, "9.5"}}));
}

void TestChannelFrame::roundTrip()
{
    QFETCH(ChannelRecord, record);
    QFETCH(int, position);
    QFETCH(QString, wire);
    QFETCH(QStringList, expected);

    auto encoded = vq::encodeChannelFrame(record);
    QVERIFY2(encoded.ok(), vq::describe(encoded.error).c_str());
    QVERIFY(isWellFormed(*encoded.frame));
    QCOMPARE(QString::fromStdString(
                 encoded.frame->substr(std::size_t(position) - 1, std::size_t(wire.size()))),
             wire);
    auto decoded = vq::decodeChannelFrame(*encoded.frame);
    QVERIFY2(decoded.ok(), vq::describe(decoded.error).c_str());
    QCOMPARE(fieldsOf(*decoded.fields), expected);
}

void TestChannelFrame::emptyChannel()
{
    const QStringList empty(9, QString());
    for (const char *frame :
         {"00000000000000000000000000000000", "01000000000085080000002501430000",
          "A8FF0000000000000000000000000000",
          // Number byte 00: the rest is not even looked at.
          "00FFFFFFFFFFFFFFFFFFFFFFFFFFFFFF"}) {
        auto decoded = vq::decodeChannelFrame(frame);
        QVERIFY2(decoded.ok(), frame);
        QCOMPARE(fieldsOf(*decoded.fields), empty);
    }

    // No receive frequency: the empty frame, whatever else the row holds,
    // even a channel number that could not be sent.
    for (FieldValue rx : {FieldValue(), FieldValue(""), FieldValue(" "), FieldValue("off"),
                          FieldValue("0.000"), FieldValue("-0")}) {
        for (FieldValue number : {FieldValue("1"), FieldValue("1.5"), FieldValue("999")}) {
            auto encoded = vq::encodeChannelFrame(recordWith({{vq::RxFrequency, rx},
                                                              {vq::ChannelNumber, number},
                                                              {vq::RxTone, "88.5"},
                                                              {vq::TxDcs, "023"},
                                                              {vq::Scan, "del"},
                                                              {vq::Bcl, "2"},
                                                              {vq::Beat, "on"}}));
            QVERIFY(encoded.ok());
            QCOMPARE(*encoded.frame, std::string(vq::kEmptyFrame));
        }
    }
}

void TestChannelFrame::unencodable_data()
{
    QTest::addColumn<ChannelRecord>("record");
    QTest::addColumn<int>("field");
    QTest::addColumn<int>("fault");
    QTest::addColumn<QString>("message");

    // The first change names the field the error must name.
    auto row = [](const char *name, Changes changes, EncodeFault fault, const QString &message) {
        QTest::newRow(name) << recordWith(changes) << int(changes.begin()->first) << int(fault)
                            << message;
    };
    const auto frequency = EncodeFault::FrequencyOutOfRange;
    const auto tone = EncodeFault::ToneOutOfRange;
    const auto bcl = EncodeFault::BclInvalid;
    const auto channel = EncodeFault::ChannelNumberOutOfRange;
    const QString rxRange = "接收频率超出范围", txRange = "发送频率超出范围";
    row("rx below offset", {{vq::RxFrequency, "21.39999"}}, frequency, rxRange);
    row("rx negative", {{vq::RxFrequency, "-145"}}, frequency, rxRange);
    row("rx rounds to 0 steps", {{vq::RxFrequency, "0.000001"}}, frequency, rxRange);
    row("rx 9 digits", {{vq::RxFrequency, "1021.4"}}, frequency, rxRange);
    row("rx exponent", {{vq::RxFrequency, "1e30"}}, frequency, rxRange);
    row("tx 9 digits", {{vq::TxFrequency, "1000"}}, frequency, txRange);
    row("tx negative", {{vq::TxFrequency, "-430.125"}}, frequency, txRange);
    row("rx tone rounds to 0", {{vq::RxTone, "0.04"}}, tone, "收哑音超出范围");
    row("tx tone 5 digits", {{vq::TxTone, "1000"}}, tone, "发哑音超出范围");
    row("tx tone negative", {{vq::TxTone, "-88.5"}}, tone, "发哑音超出范围");
    row("rx tone that reads as DCS", {{vq::RxTone, "551.2"}}, tone, "收哑音超出范围");
    row("bcl 3", {{vq::Bcl, "3"}}, bcl, "BCL值无效");
    row("bcl 1.5", {{vq::Bcl, "1.5"}}, bcl, "BCL值无效");
    row("bcl -1", {{vq::Bcl, "-1"}}, bcl, "BCL值无效");
    row("channel 1.5", {{vq::ChannelNumber, "1.5"}}, EncodeFault::ChannelNumberNotWhole,
        "信道号不是整数");
    row("channel -1", {{vq::ChannelNumber, "-1"}}, channel, "信道号超出范围");
    row("channel -1 del", {{vq::ChannelNumber, "-1"}, {vq::Scan, "del"}}, channel,
        "信道号超出范围");
    row("channel 256", {{vq::ChannelNumber, "256"}}, channel, "信道号超出范围");
    row("channel 128 del", {{vq::ChannelNumber, "128"}, {vq::Scan, "del"}}, channel,
        "信道号超出范围");
    row("channel 1e3", {{vq::ChannelNumber, "1e3"}}, channel, "信道号超出范围");
}

void TestChannelFrame::unencodable()
{
    QFETCH(ChannelRecord, record);
    QFETCH(int, field);
    QFETCH(int, fault);
    QFETCH(QString, message);

    auto encoded = vq::encodeChannelFrame(record);
    QVERIFY(!encoded.ok());
    QCOMPARE(int(encoded.error.field), field);
    QCOMPARE(int(encoded.error.fault), fault);
    QCOMPARE(QString::fromStdString(vq::describe(encoded.error)), message);
}

void TestChannelFrame::malformed_data()
{
    QTest::addColumn<QString>("frame");
    QTest::addColumn<int>("fault");
    QTest::addColumn<QString>("message");

    const QString worked = "01000025874085080000002501430000";
    auto at = [&](int position, QChar c) { return QString(worked).replace(position - 1, 1, c); };
    const int hex = int(DecodeFault::NotHexadecimal);
    const int decimal = int(DecodeFault::NotDecimal);
    const int length = int(DecodeFault::WrongLength);
    QTest::newRow("empty") << QString() << length << "数据块长度为0，应为32";
    QTest::newRow("31 chars") << worked.left(31) << length << "数据块长度为31，应为32";
    QTest::newRow("33 chars") << worked + "0" << length << "数据块长度为33，应为32";
    QTest::newRow("G") << at(20, 'G') << hex << "第20位字符“G”不是十六进制数字";
    QTest::newRow("blank in byte 0") << at(1, ' ') << hex << "第1位字符“ ”不是十六进制数字";
    QTest::newRow("rx digit") << at(8, 'A') << decimal << "第8位字符“A”不是十进制数字（接收频率）";
    QTest::newRow("rx ctcss digit")
        << at(13, 'b') << decimal << "第13位字符“B”不是十进制数字（收哑音）";
    QTest::newRow("tx digit") << at(24, 'F') << decimal
                              << "第24位字符“F”不是十进制数字（发送频率）";
    QTest::newRow("tx ctcss digit")
        << at(31, 'C') << decimal << "第31位字符“C”不是十进制数字（发哑音）";
}

void TestChannelFrame::malformed()
{
    QFETCH(QString, frame);
    QFETCH(int, fault);
    QFETCH(QString, message);

    auto decoded = vq::decodeChannelFrame(frame.toStdString());
    QVERIFY(!decoded.ok());
    QCOMPARE(int(decoded.error.fault), fault);
    QCOMPARE(QString::fromStdString(vq::describe(decoded.error)), message);
}

void TestChannelFrame::tolerantDecoding()
{
    auto fields = [](const char *frame) {
        auto decoded = vq::decodeChannelFrame(frame);
        return decoded.ok() ? fieldsOf(*decoded.fields) : QStringList{"malformed"};
    };
    // Lower case is read as upper case.
    QCOMPARE(fields("a8000025874085080000002501430000"),
             fieldsWith({{vq::RxTone, "88.5"}, {vq::Scan, "del"}}));

    // DCS positions outside the codes read as no DCS code rather than failing
    // the whole read.
    for (const char *position : {"00", "54", "64", "65", "FF", "fe"}) {
        const QString p = QLatin1String(position);
        const QString frame = "010000258740" + p + "55" + "0000" + "00250143" + p + "55";
        QCOMPARE(fields(frame.toLatin1().constData()), fieldsWith());
    }

    // The reserved byte is ignored; any non-zero BCL number is kept, any
    // non-zero beat byte reads as on.
    QCOMPARE(fields("01FF0025874085080201002501430000"),
             fieldsWith({{vq::RxTone, "88.5"}, {vq::Bcl, "2"}, {vq::Beat, "on"}}));

    // Below 1 MHz "###.00000" has no integer digit.
    QCOMPARE(fields("01000025874000000000010000000000"), fieldsWith({{vq::TxFrequency, ".00001"}}));
}

void TestChannelFrame::generatedRecords()
{
    std::mt19937 random(4471);
    auto pick = [&](int count) { return int(random() % unsigned(count)); };
    using Choice = std::pair<FieldValue, QString>; // stored text, text it reads back as
    auto frequency = [&]() -> Choice {
        // 130 … 500 MHz on the 10 Hz raster, typed with 0 to 5 decimals.
        const int steps = 13000000 + pick(37000001);
        const QString canonical =
            QString("%1.%2").arg(steps / 100000).arg(steps % 100000, 5, 10, QChar('0'));
        QString typed = canonical;
        while (pick(2) && typed.endsWith('0'))
            typed.chop(1);
        return {typed.toStdString(), canonical};
    };
    auto tone = [&]() -> Choice {
        const QString text = QString::fromLatin1(vq::ctcssTones()[std::size_t(pick(39))]);
        const QString shortest = QString::number(text.toDouble());
        return {(pick(2) ? text : shortest).toStdString(), shortest};
    };
    auto dcs = [&]() -> Choice {
        const std::string code(vq::dcsCodes()[std::size_t(1 + pick(vq::kDcsCodeCount))]);
        return {code, QString::fromStdString(code)};
    };
    const Choice noTone[] = {{std::nullopt, ""}, {"", ""}, {" ", ""}};
    const Choice noTx[] = {{std::nullopt, ""}, {"", ""}};
    const Choice scans[] = {{"add", "add"}, {"del", "del"}, {" ", "add"}, {std::nullopt, "add"}};
    const Choice bcls[] = {
        {"off", "off"}, {"1", "1"}, {"2", "2"}, {" ", "off"}, {std::nullopt, "off"}};
    const Choice beats[] = {{"off", "off"}, {"on", "on"}, {" ", "off"}, {std::nullopt, "off"}};

    for (int n = 0; n < 3000; ++n) {
        ChannelRecord record;
        QStringList expected(9, QString());
        auto set = [&](vq::Field field, const Choice &choice) {
            record[field] = choice.first;
            expected[field - 1] = choice.second;
        };
        record[vq::ChannelNumber] = std::to_string(1 + pick(127));
        set(vq::RxFrequency, frequency());
        set(vq::TxFrequency, pick(3) ? frequency() : noTx[pick(2)]);
        for (auto [ctcssField, dcsField] :
             {std::pair{vq::RxTone, vq::RxDcs}, std::pair{vq::TxTone, vq::TxDcs}}) {
            const int kind = pick(4); // none, CTCSS, DCS, both: CTCSS wins
            set(dcsField, kind & 2 ? dcs() : noTone[pick(3)]);
            set(ctcssField, kind & 1 ? tone() : noTone[pick(3)]);
            if (kind == 3)
                expected[dcsField - 1].clear();
        }
        set(vq::Scan, scans[pick(4)]);
        set(vq::Bcl, bcls[pick(5)]);
        set(vq::Beat, beats[pick(4)]);

        auto encoded = vq::encodeChannelFrame(record);
        QVERIFY2(encoded.ok(), vq::describe(encoded.error).c_str());
        QVERIFY2(isWellFormed(*encoded.frame), encoded.frame->c_str());
        auto decoded = vq::decodeChannelFrame(*encoded.frame);
        QVERIFY2(decoded.ok(), encoded.frame->c_str());
        QCOMPARE(fieldsOf(*decoded.fields), expected);
    }
}

QTEST_GUILESS_MAIN(TestChannelFrame)
#include "tst_channelframe.moc"
