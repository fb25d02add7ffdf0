#include "channels/Decimal.h"
#include "channels/ValueDomains.h"
#include "files/ChannelFile.h"

#include <QtTest>

using vq::ChannelFileError;
using vq::ChannelRecord;
using vq::FieldValue;

namespace {

constexpr auto kRows = static_cast<std::size_t>(vq::kChannelFileRows);

std::string_view bytesOf(const QByteArray &bytes)
{
    return {bytes.constData(), std::size_t(bytes.size())};
}

// A file of 144 empty items with some items (1-based) replaced.
QByteArray fileWith(const QMap<int, QByteArray> &items)
{
    QByteArray out;
    for (int item = 1; item <= vq::kChannelFileItems; ++item)
        out += items.value(item) + ',';
    return out;
}

// What reading a stored cell back gives: blanks around it dropped, numbers
// in their shortest form.
std::string readBack(const FieldValue &cell)
{
    const std::string text = vq::textOf(cell) == " " ? "" : vq::textOf(cell);
    if (auto number = vq::Decimal::parsePlain(text))
        return number->toShortestText();
    return text;
}

} // namespace

class TestChannelFile : public QObject {
    Q_OBJECT
private slots:
    void roundTrip();
    void handWritten();
    void refusals_data();
    void refusals();
};

void TestChannelFile::roundTrip()
{
    std::array<ChannelRecord, kRows> table{};
    table[0] = {"1", "145.00000", "67.0", "", "146.01250", "", "023", "add", "off", "on"};
    table[1] = {"2", "438.50000", "", "754", "438.50000", "100.0", "", "del", "1", "off"};
    table[2] = {"3", "462.56250", "69.3", " ", "462.56250", " ", "", " ", "2", " "};
    table[3] = {}; // all Null
    table[4] = {"5", "", "", "", "", "", "", "", "", ""};
    for (std::size_t r = 5; r < kRows; ++r) {
        const std::string mhz = std::to_string(130 + 30 * r) + ".00625";
        const std::string tone(vq::ctcssTones()[r * 2]);
        const std::string code(vq::dcsCodes()[r * 5]);
        table[r] = {"CH" + std::to_string(r), mhz, tone, "", mhz, "", code, "add", "2", "off"};
    }

    const std::string file = vq::writeChannelFile(table);
    QVERIFY(file.starts_with("145.00000,67.0,,146.01250,,023,add,off,on,"
                             "438.50000,,754,438.50000,100.0,,del,1,off,"
                             "462.56250,69.3, ,462.56250, ,, ,2, ,"
                             ",,,,,,,,,,,,,,,,,,"));
    QCOMPARE(std::count(file.begin(), file.end(), ','), 144);
    QVERIFY(file.find_first_of("\r\n") == std::string::npos);
    QCOMPARE(file.back(), ',');
    QVERIFY2(file.find("CH") == std::string::npos, "no channel numbers in the file");

    const auto reading = vq::readChannelFile(file);
    QCOMPARE(reading.error, ChannelFileError::None);
    QVERIFY(reading.rows);
    const auto &rows = *reading.rows;
    QCOMPARE(rows[0], (ChannelRecord{std::nullopt, "145.00000", "67", "", "146.01250", "", "023",
                                     "add", "off", "on"}));
    QCOMPARE(rows[1], (ChannelRecord{std::nullopt, "438.50000", "", "754", "438.50000", "100", "",
                                     "del", "1", "off"}));
    QCOMPARE(rows[2], (ChannelRecord{std::nullopt, "462.56250", "69.3", "", "462.56250", "", "", "",
                                     "2", ""}));
    for (std::size_t r = 3; r < kRows; ++r) {
        QVERIFY(!rows[r][vq::ChannelNumber]);
        for (std::size_t f = vq::RxFrequency; f <= vq::Beat; ++f) {
            const bool frequency = f == vq::RxFrequency || f == vq::TxFrequency;
            const std::string expected =
                frequency ? vq::textOf(table[r][f]) : readBack(table[r][f]);
            QVERIFY2(rows[r][f] == expected,
                     qPrintable(QStringLiteral("row %1 field %2: %3").arg(r + 1).arg(f).arg(
                         QString::fromStdString(vq::textOf(rows[r][f])))));
        }
    }

    // What was read saves and reads again unchanged.
    const std::string again = vq::writeChannelFile(rows);
    QCOMPARE(vq::readChannelFile(again).rows, reading.rows);
}

void TestChannelFile::handWritten()
{
    QByteArray text = "438.5,88.5,23,438.5,,23,del,1,off,";
    for (int r = 1; r < vq::kChannelFileRows; ++r)
        text += ",,,,,,,,,";
    const auto plain = vq::readChannelFile(bytesOf(text));
    QVERIFY(plain.rows);
    QCOMPARE((*plain.rows)[0], (ChannelRecord{std::nullopt, "438.50000", "88.5", "023", "438.50000",
                                              "", "023", "del", "1", "off"}));
    QCOMPARE((*plain.rows)[15][vq::RxFrequency], FieldValue(""));

    // Hand-edited: byte order mark, blanks and a line break around items,
    // signs and leading zeros, one record per line, extra items (binary
    // included) after the 144th.
    QByteArray edited = "\xEF\xBB\xBF 438.5 ,\t067.0 ,+023, 0438.500000 , , 25 ,del , 1,off,\r\n";
    edited += "0,,7,145.000015,,1234,开,,on,\r\n";
    for (int r = 2; r < vq::kChannelFileRows; ++r)
        edited += ",,,,,,,,,\r\n";
    edited += QByteArray("145.00000,junk,\x00\xFF,", 19);
    edited.append('\0');
    const auto reading = vq::readChannelFile(bytesOf(edited));
    QCOMPARE(reading.error, ChannelFileError::None);
    QCOMPARE((*reading.rows)[0], (ChannelRecord{std::nullopt, "438.50000", "67", "023", "438.50000",
                                                "", "025", "del", "1", "off"}));
    // A zero frequency is no frequency; an import is not snapped to the raster.
    QCOMPARE((*reading.rows)[1],
             (ChannelRecord{std::nullopt, "", "", "7", "145.00002", "", "1234", "开", "", "on"}));

    // The reader needs no more than its limit: a caller may read only that.
    QByteArray padded = fileWith({{1, "145"}});
    padded.insert(0, QByteArray(int(vq::kMaxChannelFileBytes) - padded.size(), ' '));
    QCOMPARE(std::size_t(padded.size()), vq::kMaxChannelFileBytes);
    const auto atLimit = vq::readChannelFile(bytesOf(padded));
    QVERIFY(atLimit.rows);
    QCOMPARE((*atLimit.rows)[0][vq::RxFrequency], FieldValue("145.00000"));
    padded += QByteArray(100000, 'x');
    QCOMPARE(vq::readChannelFile(bytesOf(padded)).rows, atLimit.rows);
}

void TestChannelFile::refusals_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<ChannelFileError>("error");
    QTest::addColumn<int>("item");

    const QByteArray full = fileWith({});
    QTest::newRow("empty file") << QByteArray() << ChannelFileError::TooFewItems << 1;
    QTest::newRow("143 items") << full.left(143) << ChannelFileError::TooFewItems << 144;
    QTest::newRow("last comma missing") << full.left(143) + "on" << ChannelFileError::TooFewItems
                                        << 144;
    QTest::newRow("line break for a comma")
        << QByteArray(full).replace(100, 1, "\n") << ChannelFileError::TooFewItems << 144;
    QTest::newRow("frequency is a word") << fileWith({{1, "abc"}})
                                         << ChannelFileError::BadFrequency << 1;
    QTest::newRow("frequency with unit") << fileWith({{13, "145.5MHz"}})
                                         << ChannelFileError::BadFrequency << 13;
    QTest::newRow("frequency with exponent") << fileWith({{1, "1.45e2"}})
                                             << ChannelFileError::BadFrequency << 1;
    QTest::newRow("two numbers in a frequency") << fileWith({{4, "145 146"}})
                                                << ChannelFileError::BadFrequency << 4;
    QTest::newRow("absurd frequency") << fileWith({{139, "1" + QByteArray(40, '0')}})
                                      << ChannelFileError::BadFrequency << 139;
    QTest::newRow("NUL byte") << fileWith({{2, QByteArray("67\0.0", 5)}})
                              << ChannelFileError::NotText << 2;
    QTest::newRow("NUL item") << fileWith({{3, QByteArray(1, '\0')}})
                              << ChannelFileError::NotText << 3;
    QTest::newRow("control character") << fileWith({{7, "ad\x01" "d"}})
                                       << ChannelFileError::NotText << 7;
    QTest::newRow("tab inside an item") << fileWith({{8, "o\tff"}}) << ChannelFileError::NotText
                                        << 8;
    QTest::newRow("GB2312 text") << fileWith({{9, "\xBF\xAA"}}) << ChannelFileError::NotText << 9;
    QTest::newRow("overlong UTF-8") << fileWith({{5, "\xC0\xAC"}}) << ChannelFileError::NotText
                                    << 5;
    QTest::newRow("cut UTF-8") << fileWith({{6, "\xE5\xBC"}}) << ChannelFileError::NotText << 6;

    QByteArray binary;
    quint32 seed = 12345;
    for (int i = 0; i < 4096; ++i) {
        seed = seed * 1103515245u + 12345u;
        const char byte = char(seed >> 24);
        binary += byte == ',' ? '\0' : byte;
    }
    QTest::newRow("binary, no comma") << binary << ChannelFileError::NotText << 1;
    QTest::newRow("binary after a good start")
        << full.left(20) + binary + full << ChannelFileError::NotText << 21;

    QByteArray tooLong = fileWith({});
    tooLong.insert(10, QByteArray(int(vq::kMaxChannelFileBytes), ' '));
    QTest::newRow("144th comma past the limit") << tooLong << ChannelFileError::TooFewItems << 11;
}

void TestChannelFile::refusals()
{
    QFETCH(QByteArray, bytes);
    QFETCH(ChannelFileError, error);
    QFETCH(int, item);
    const auto reading = vq::readChannelFile(bytesOf(bytes));
    QCOMPARE(reading.error, error);
    QCOMPARE(reading.item, item);
    QVERIFY2(!reading.rows, "a refused file yields no rows at all");
}

QTEST_GUILESS_MAIN(TestChannelFile)
#include "tst_channelfile.moc"
