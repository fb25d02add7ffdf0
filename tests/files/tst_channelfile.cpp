#include "channels/Decimal.h"
#include "channels/FrequencyRules.h"
#include "channels/PickerRules.h"
#include "files/ChannelFile.h"

#include <QtTest>

#include <random>

using namespace vq;

namespace {

std::string_view bytesOf(const QByteArray &bytes)
{
    return {bytes.constData(), std::size_t(bytes.size())};
}

// A file of 144 empty items with some items (1-based) replaced.
QByteArray fileWith(const QMap<int, QByteArray> &items)
{
    QByteArray out;
    for (int item = 1; item <= kChannelFileItems; ++item)
        out += items.value(item) + ',';
    return out;
}

} // namespace

class TestChannelFile : public QObject {
    Q_OBJECT

private slots:
    void storedRowsRoundTrip()
    {
        // Stored rows (picks, stepped frequencies, empty cells) come back unchanged, numbers aside.
        std::mt19937 random(16);
        auto pick = [&](Field field) -> std::string {
            if (random() % 5 == 0)
                return {};
            if (field == RxFrequency || field == TxFrequency)
                return *formatFrequency(Decimal::fromScaled(1 + random() % 99999999, -kFrequencyDecimals));
            int picker = 1;
            while (pickerField(picker) != field)
                ++picker;
            const auto entries = pickerEntries(picker);
            std::string_view entry = " "; // a blank reads back as nothing
            while (entry == " ")
                entry = entries[random() % entries.size()];
            return Decimal::parsePlain(entry) && picker % 2 ? Decimal::leadingNumber(entry).toShortestText()
                                                            : std::string(entry);
        };
        for (int n = 0; n < 200; ++n) {
            ChannelFileRows rows{};
            for (ChannelRecord &row : rows) {
                row[ChannelNumber] = std::to_string(random());
                for (int f = RxFrequency; f <= Beat; ++f)
                    row[std::size_t(f)] = pick(Field(f));
            }
            const std::string file = writeChannelFile(rows);
            for (ChannelRecord &row : rows)
                row[ChannelNumber].reset();
            QVERIFY2(readChannelFile(file).rows == rows, file.c_str());
        }
        // A Null cell is an empty item.
        QCOMPARE(writeChannelFile(ChannelFileRows{}), std::string(std::size_t(kChannelFileItems), ','));
    }

    void handWritten()
    {
        // BOM, blanks and line breaks round items, signs, leading zeros, anything after the 144th.
        QByteArray text = "\xEF\xBB\xBF 438.5 ,\t067.0 ,+023, 0438.500000 , , 25 ,del , 1,off,\r\n";
        text += "0,,7,145.000015,,1234,开,,on,\r\n";
        for (int r = 2; r < kChannelFileRows; ++r)
            text += ",,,,,,,,,\r\n";
        text += QByteArray("145.00000,junk,\x00\xFF,", 19);
        const auto reading = readChannelFile(bytesOf(text));
        QCOMPARE(reading.error, ChannelFileError::None);
        QCOMPARE((*reading.rows)[0], (ChannelRecord{std::nullopt, "438.50000", "67", "023", "438.50000", "",
                                                    "025", "del", "1", "off"}));
        // A zero frequency is none; a loaded one is not snapped to the raster.
        QCOMPARE((*reading.rows)[1],
                 (ChannelRecord{std::nullopt, "", "", "7", "145.00002", "", "1234", "开", "", "on"}));

        // Well-formed UTF-8 up to each edge of the ranges is text.
        const QByteArray edges =
            "\xC2\x80\xDF\xBF\xE0\xA0\x80\xED\x9F\xBF\xEF\xBF\xBF\xF0\x90\x80\x80\xF4\x8F\xBF\xBF";
        QCOMPARE((*readChannelFile(bytesOf(fileWith({{2, edges}}))).rows)[0][RxTone], edges.toStdString());

        // Nothing past the limit is looked at: reading just that much is the same.
        QByteArray padded = fileWith({{1, "145"}});
        padded.insert(0, QByteArray(int(kMaxChannelFileBytes) - padded.size(), ' '));
        const auto atLimit = readChannelFile(bytesOf(padded));
        QCOMPARE((*atLimit.rows)[0][RxFrequency], FieldValue("145.00000"));
        QCOMPARE(readChannelFile(bytesOf(padded + "xxx")).rows, atLimit.rows);
        QCOMPARE(readChannelFile(bytesOf(" " + padded)).error, ChannelFileError::TooFewItems);
    }

    void refusals()
    {
        // A refused file yields no rows at all, and names the item at fault.
        const auto tooFew = ChannelFileError::TooFewItems, notText = ChannelFileError::NotText;
        const auto frequency = ChannelFileError::BadFrequency;
        const QByteArray full = fileWith({});
        // clang-format off
    const std::tuple<const char *, QByteArray, ChannelFileError, int> cases[] = {
        {"empty file", {}, tooFew, 1},
        {"last comma missing", full.left(143) + "on", tooFew, 144},
        {"line break for a comma", QByteArray(full).replace(100, 1, "\n"), tooFew, 144},
        {"frequency is a word", fileWith({{1, "abc"}}), frequency, 1},
        {"frequency with unit", fileWith({{13, "145.5MHz"}}), frequency, 13},
        {"frequency with exponent", fileWith({{4, "1.45e2"}}), frequency, 4},
        {"absurd frequency", fileWith({{139, "1" + QByteArray(40, '0')}}), frequency, 139},
        {"NUL inside", fileWith({{2, QByteArray("67\0.0", 5)}}), notText, 2},
        {"DEL", fileWith({{7, "add\x7F"}}), notText, 7},
        {"tab inside", fileWith({{8, "o\tff"}}), notText, 8},
        {"GB2312 text", fileWith({{9, "\xBF\xAA"}}), notText, 9},
        {"overlong 3 bytes", fileWith({{5, "\xE0\x9F\xBF"}}), notText, 5},
        {"surrogate", fileWith({{5, "\xED\xA0\x80"}}), notText, 5},
        {"past U+10FFFF", fileWith({{6, "\xF4\x90\x80\x80"}}), notText, 6},
        {"overlong 4 bytes", fileWith({{6, "\xF0\x8F\xBF\xBF"}}), notText, 6},
        {"cut UTF-8", fileWith({{6, "\xE5\xBC"}}), notText, 6},
        {"cut at the end", full.left(143) + "\xF0\x9F\x98", notText, 144},
        {"binary after a good start", full.left(20) + QByteArray("\xFF\xFE\x00\x01", 4) + full, notText, 21},
        {"unit separator", fileWith({{7, "a\x1F"}}), notText, 7},
        {"overlong 2 bytes", fileWith({{5, "\xC1\xBF"}}), notText, 5},
        {"bad third byte", fileWith({{5, "\xE5\xBC" "A"}}), notText, 5},
        {"no such lead byte", fileWith({{5, "\xF5\x80\x80\x80"}}), notText, 5},
    };
        // clang-format on
        for (const auto &[name, bytes, error, item] : cases) {
            const auto reading = readChannelFile(bytesOf(bytes));
            QVERIFY2(reading.error == error && reading.item == item && !reading.rows, name);
        }
    }
};

QTEST_GUILESS_MAIN(TestChannelFile)
#include "tst_channelfile.moc"
