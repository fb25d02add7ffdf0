#include "channels/Decimal.h"
#include "channels/FrequencyRules.h"
#include "channels/PickerRules.h"
#include "files/ChannelFile.h"
#include "files/Utf8.h"

#include <QtTest>

#include <random>

using namespace vq;

namespace {

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
        text += QByteArray(",,,,,,,,,\r\n").repeated(kChannelFileRows - 2);
        text += QByteArray("145.00000,junk,\x00\xFF,", 19);
        const auto reading = readChannelFile(text.toStdString());
        QCOMPARE(reading.error, ChannelFileError::None);
        QCOMPARE((*reading.rows)[0], (ChannelRecord{std::nullopt, "438.50000", "67", "023", "438.50000", "",
                                                    "025", "del", "1", "off"}));
        // A zero frequency is none; a loaded one is not snapped to the raster.
        QCOMPARE((*reading.rows)[1],
                 (ChannelRecord{std::nullopt, "", "", "7", "145.00002", "", "1234", "开", "", "on"}));

        // Well-formed UTF-8 up to each edge of the ranges is text; overlong forms, surrogates, values past
        // U+10FFFF, cut sequences and bytes that lead nothing are not.
        // clang-format off
        for (const char *bad : {"\xE0\x9F\xBF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xF0\x8F\xBF\xBF", "\xE5\xBC",
                                "\xC1\xBF", "\xE5\xBC\x41", "\xF5\x80\x80\x80"})
            // clang-format on
            QVERIFY2(!isValidUtf8(bad), bad);
        const QByteArray edges =
            "\xC2\x80\xDF\xBF\xE0\xA0\x80\xED\x9F\xBF\xEF\xBF\xBF\xF0\x90\x80\x80\xF4\x8F\xBF\xBF";
        QCOMPARE((*readChannelFile(fileWith({{2, edges}}).toStdString()).rows)[0][RxTone],
                 edges.toStdString());

        // Nothing past the limit is looked at: reading just that much is the same.
        QByteArray padded = fileWith({{1, "145"}});
        padded.insert(0, QByteArray(int(kMaxChannelFileBytes) - padded.size(), ' '));
        const auto atLimit = readChannelFile(padded.toStdString());
        QCOMPARE((*atLimit.rows)[0][RxFrequency], FieldValue("145.00000"));
        QCOMPARE(readChannelFile((padded + "xxx").toStdString()).rows, atLimit.rows);
        QCOMPARE(readChannelFile((" " + padded).toStdString()).error, ChannelFileError::TooFewItems);
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
        {"frequency with unit", fileWith({{13, "145.5MHz"}}), frequency, 13},
        {"absurd frequency", fileWith({{139, "1" + QByteArray(40, '0')}}), frequency, 139},
        {"NUL inside", fileWith({{2, QByteArray("67\0.0", 5)}}), notText, 2},
        {"DEL", fileWith({{7, "add\x7F"}}), notText, 7},
        {"GB2312 text", fileWith({{9, "\xBF\xAA"}}), notText, 9},
        {"cut at the end", full.left(143) + "\xF0\x9F\x98", notText, 144},
        {"binary after a good start", full.left(20) + QByteArray("\xFF\xFE\x00\x01", 4) + full, notText, 21},
        {"unit separator", fileWith({{7, "a\x1F"}}), notText, 7},
    };
        // clang-format on
        for (const auto &[name, bytes, error, item] : cases) {
            const auto reading = readChannelFile(bytes.toStdString());
            QVERIFY2(reading.error == error && reading.item == item && !reading.rows, name);
        }
    }
};

QTEST_GUILESS_MAIN(TestChannelFile)
#include "tst_channelfile.moc"
