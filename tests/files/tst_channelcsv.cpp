#include "channels/Decimal.h"
#include "channels/FrequencyRules.h"
#include "channels/PickerRules.h"
#include "files/ChannelCsv.h"
#include "plan/FileTexts.h"

#include <QtTest>

#include <random>

using namespace vq;

namespace {

std::vector<ChannelRecord> applied(std::vector<ChannelRecord> rows, const CsvImport &import)
{
    for (const CsvChange &change : import.changes)
        rows[std::size_t(change.row)][change.field] = change.value;
    return rows;
}

std::vector<ChannelRecord> tableOf(const ChannelRecord &row)
{
    return std::vector<ChannelRecord>(kChannelCount, row);
}

const QByteArray kCommonHeader = "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,"
                                 "DtcsPolarity,RxDtcsCode,CrossMode,Mode,TStep,Skip,Power,Comment\r\n";

} // namespace

class TestChannelCsv : public QObject {
    Q_OBJECT

private slots:
    void csvText()
    {
        // Mixed line ends, quotes across lines, Null against "", lines counted as a person sees them.
        const CsvText csv = parseCsv("\xEF\xBB\xBF"
                                     "a,\"b\r\nc\",\"\"\r\rx,\"say \"\"hi\"\"\"\n\r\n"
                                     "\"\n\",,\ty \r\n,\r");
        const std::vector<CsvRecord> expected = {{"a", "b\r\nc", ""},
                                                 {"x", "say \"hi\""},
                                                 {"\n", std::nullopt, "\ty "},
                                                 {std::nullopt, std::nullopt}};
        QVERIFY(csv.ok() && csv.records.size() == expected.size());
        for (std::size_t k = 0; k < expected.size(); ++k)
            QVERIFY(csv.records[k].fields == expected[k] &&
                    csv.records[k].line == (std::array{1, 4, 6, 8}[k]));
        // Written back: quoted only where needed, CRLF after each record, read back the same.
        const std::string written = writeCsv(expected);
        QCOMPARE(written, std::string("\xEF\xBB\xBF"
                                      "a,\"b\r\nc\",\"\"\r\nx,\"say \"\"hi\"\"\"\r\n"
                                      "\"\n\",,\"\ty \"\r\n,\r\n"));

        // The byte limit is on the whole text, looked at before anything else.
        const std::string big(kMaxCsvBytes, 'a');
        QVERIFY(parseCsv(big).ok() && parseCsv(big + "\x01").fault.why == CsvFault::TooLarge);

        // What a spreadsheet would run as a formula gets a ' in front; every text comes back.
        for (std::string text : {"=1", "+86", "-3", "@a", "\tx", "\r=y", "'q"})
            QVERIFY(guardFormula(text) == "'" + text && unguardFormula("'" + text) == text);
        for (std::string text : {"a=b", " -", ""})
            QVERIFY(guardFormula(text) == text && unguardFormula(text) == text);
    }

    void ownLayoutRoundTrip()
    {
        // Any table of acceptable values comes back as it was, Null and "" included.
        std::mt19937 random(7);
        for (int n = 0; n < 50; ++n) {
            std::vector<ChannelRecord> rows(kChannelCount);
            for (std::size_t r = 0; r < rows.size(); ++r) {
                rows[r][ChannelNumber] = std::to_string(r + 1);
                for (Field f : {RxFrequency, TxFrequency})
                    rows[r][f] = stepFrequency(Decimal::fromScaled(13000000 + random() % 37000001, -5));
                for (int picker = 1; picker <= 7; ++picker) {
                    const auto entries = pickerEntries(picker);
                    rows[r][*pickerField(picker)] = std::string(entries[random() % entries.size()]);
                }
                for (int f = RxFrequency; f < kFieldCount; ++f)
                    if (random() % 6 == 0)
                        rows[r][std::size_t(f)] = random() % 2 ? FieldValue() : FieldValue("");
            }
            const std::string file = writeOwnCsv(rows);
            const CsvImport import = readOwnCsv(file, kChannelCount);
            QVERIFY2(import.ok() && import.warnings.empty(), file.c_str());
            QVERIFY(applied(tableOf({"x", "x", "x", "x", "x", "x", "x", "x", "x", "x"}), import) == rows);
        }

        const ChannelRecord row = {"=1",  "145.00000", std::nullopt, "",  "145.60000",
                                   "@67", "",          "del",        "1", "on"};
        const std::string file = writeOwnCsv(std::span(&row, 1));
        QCOMPARE(file, std::string("\xEF\xBB\xBF信道号,接收频率,收哑音,收数字哑音,发送频率,发哑音,发数字哑音,"
                                   "扫描,BCL,拍频\r\n1,145.00000,,\"\",145.60000,'@67,\"\",del,1,on\r\n"));

        // Columns by name in any order, an unknown one only warned about; each record's number picks its
        // row, written as a person would, and rows not named keep theirs.
        const CsvImport reordered =
            readOwnCsv("拍频,备注,BCL,扫描,发数字哑音,发哑音,发送频率,收数字哑音,收哑音,接收频率,信道号\n"
                       ",x,2,add,023,,145,023,,145.005,\"\xEF\xBC\x93\"\n,,off,del,,,,,,,' 1\n",
                       kChannelCount);
        QVERIFY(reordered.ok() &&
                reordered.warnings == (std::vector<CsvWarning>{{CsvNote::UnknownColumns, 1, {"备注"}}}));
        const auto rows = applied(tableOf({"x", "x", "x", "x", "x", "x", "x", "x", "x", "x"}), reordered);
        QVERIFY(rows[2] == (ChannelRecord{"3", "145.00500", std::nullopt, "023", "145.00000", std::nullopt,
                                          "023", "add", "2", std::nullopt}));
        QVERIFY(rows[0][ChannelNumber] == "1" && rows[0][Scan] == "del" && rows[1][Scan] == "x");
    }

    void commonLayoutRoundTrip_data()
    {
        QTest::addColumn<QByteArray>("row");  // the nine fields after the number
        QTest::addColumn<QByteArray>("line"); // as written for row 4, after "4,,"
        // clang-format off
        auto add = [](const char *name, QByteArray row, QByteArray line) { QTest::newRow(name) << row << line; };
        add("none", "145.50000,,,145.50000,,,add,off,off", "145.500000,,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,FM,5.00,,,");
        add("Tone", "438.50000,,,438.50000,100.0,,add,off,off", "438.500000,,0.000000,Tone,100.0,88.5,023,NN,023,Tone->Tone,FM,5.00,,,");
        add("TSQL", "145.50000,67.0,,145.50000,67.0,,add,off,off", "145.500000,,0.000000,TSQL,88.5,67.0,023,NN,023,Tone->Tone,FM,5.00,,,");
        add("DTCS", "145.50000,,754,145.50000,,754,add,off,off", "145.500000,,0.000000,DTCS,88.5,88.5,754,NN,754,Tone->Tone,FM,5.00,,,");
        add("DTCS first code", "145.50000,,023,145.50000,,023,add,off,off", "145.500000,,0.000000,DTCS,88.5,88.5,023,NN,023,Tone->Tone,FM,5.00,,,");
        add("Tone->Tone", "145.50000,250.3,,145.50000,67.0,,add,off,off", "145.500000,,0.000000,Cross,67.0,250.3,023,NN,023,Tone->Tone,FM,5.00,,,");
        add("Tone->DTCS", "145.50000,,115,145.50000,71.9,,add,off,off", "145.500000,,0.000000,Cross,71.9,88.5,023,NN,115,Tone->DTCS,FM,5.00,,,");
        add("DTCS->Tone", "145.50000,97.4,,145.50000,,116,add,off,off", "145.500000,,0.000000,Cross,88.5,97.4,116,NN,023,DTCS->Tone,FM,5.00,,,");
        add("DTCS->DTCS", "145.50000,,025,145.50000,,026,add,off,off", "145.500000,,0.000000,Cross,88.5,88.5,026,NN,025,DTCS->DTCS,FM,5.00,,,");
        add("DTCS->", "145.50000,,,145.50000,,031,add,off,off", "145.500000,,0.000000,Cross,88.5,88.5,031,NN,023,DTCS->,FM,5.00,,,");
        add("->DTCS", "145.50000,,032,145.50000,,,add,off,off", "145.500000,,0.000000,Cross,88.5,88.5,023,NN,032,->DTCS,FM,5.00,,,");
        add("->Tone", "145.50000,69.3,,145.50000,,,add,off,off", "145.500000,,0.000000,Cross,88.5,69.3,023,NN,023,->Tone,FM,5.00,,,");
        add("+ and 6.25", "145.00625,,,145.60625,,,add,off,off", "145.006250,+,0.600000,,88.5,88.5,023,NN,023,Tone->Tone,FM,6.25,,,");
        add("- at 50 MHz", "438.50000,,,388.50000,,,add,off,off", "438.500000,-,50.000000,,88.5,88.5,023,NN,023,Tone->Tone,FM,5.00,,,");
        add("split", "145.00000,,,435.01000,,,add,off,off", "145.000000,split,435.010000,,88.5,88.5,023,NN,023,Tone->Tone,FM,5.00,,,");
        add("off, BCL, beat, del", "145.00000,,,,,,del,1,on", "145.000000,off,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,FM,5.00,S,,BCL=1 拍频=on");
        add("BCL 2", "145.00000,,,145.00000,,,add,2,off", "145.000000,,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,FM,5.00,,,BCL=2");
        // clang-format on
    }

    void commonLayoutRoundTrip()
    {
        // Export and import are exact for every tone combination, duplex and flag.
        QFETCH(QByteArray, row);
        QFETCH(QByteArray, line);
        std::vector<ChannelRecord> table(kChannelCount);
        for (int r = 0; r < kChannelCount; ++r)
            table[std::size_t(r)][ChannelNumber] = std::to_string(r + 1);
        for (int f = RxFrequency; f < kFieldCount; ++f)
            table[3][std::size_t(f)] = row.split(',')[f - 1].toStdString();
        const CsvExport exported = writeCommonCsv(table);
        QVERIFY(exported.ok());
        QCOMPARE(QByteArray::fromStdString(exported.text),
                 "\xEF\xBB\xBF" + kCommonHeader + "4,," + line + "\r\n");

        const auto other = tableOf({"4", "430.00000", "", "023", "430.00000", "67.0", "", "add", "2", "on"});
        const CsvImport import = readCommonCsv(exported.text, other);
        QVERIFY(import.ok() && import.warnings.empty());
        const auto back = applied(other, import);
        QVERIFY(back[3] == table[3] && back[4] == other[4]);
    }

    void commonLayoutByName()
    {
        // Columns in another order, optional ones left out, comments, other tools' columns and values.
        // Comment lines never count toward the file's limit of records; values
        // the radio has no place for are named once.
        const QByteArray file =
            "# exported elsewhere\nComment,DtcsPolarity,DtcsCode,cToneFreq,rToneFreq,Tone,"
            "Offset,Duplex,Frequency,Location,URCALL,Bank,Power,Name\n" +
            QByteArray("# a note\n").repeated(kMaxCsvRecords) +
            "'x BCL=2,NN,23,88.50,100,DTCS,0.6,-,438.5,2,CQCQCQ,1,,\n"
            ",NN,,88.5,88.5,,0,,145,3,,,5.0W,CALL\n";
        const CsvImport import = readCommonCsv(file.toStdString(), tableOf({}));
        QVERIFY(import.ok() && import.warnings == (std::vector<CsvWarning>{
                                                      {CsvNote::UnknownColumns, 2, {"Bank"}},
                                                      {CsvNote::UnheldColumns, 2, {"Name", "Power", "Comment"}}}));
        const auto rows = applied(tableOf({}), import);
        QVERIFY(rows[1] ==
                (ChannelRecord{"2", "438.50000", "", "023", "437.90000", "", "023", "add", "2", "off"}));
        // A cross mode in the very first column is read, not taken as absent.
        const CsvImport cross = readCommonCsv(
            "CrossMode,Location,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity\n"
            "Tone->DTCS,1,145.000000,,0,Cross,88.5,88.5,754,NN\n",
            tableOf({}));
        QVERIFY(cross.ok());
        QVERIFY(applied(tableOf({}), cross)[0] ==
                (ChannelRecord{"1", "145.00000", "", "754", "145.00000", "88.5", "", "add", "off", "off"}));

        // What the radio cannot hold is named by row and field, and nothing is written.
        auto row = tableOf({"1", "145.00000", "", "", "145.00000", "", "", "add", "off", "off"});
        row[6][RxTone] = "88.4";
        row[9][TxFrequency] = "145.5MHz";
        row[10][RxTone] = "88.5"; // a tone wins over a code, as on the air
        row[10][RxDcs] = "999";
        const CsvExport refused = writeCommonCsv(row);
        QVERIFY(refused.text.empty());
        QCOMPARE(refused.problems, (std::vector<CsvProblem>{
                                       {7, "收哑音", "88.4", CsvReason::Value,
                                        ValueRefusal{RxTone, Refusal::NotTone, "88.4", {}}},
                                       {10, "发送频率", "145.5MHz", CsvReason::Value,
                                        ValueRefusal{TxFrequency, Refusal::NotFrequency, "145.5MHz", {}}}}));
    }

    void refusals_data()
    {
        QTest::addColumn<bool>("own");
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("line");
        QTest::addColumn<QString>("problem"); // column“value”why, or its start; empty for a fault of the file
        const QByteArray good = "1,,145.000000,,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,FM,5.00,,,\r\n";
        const QByteArray h = kCommonHeader;
        const QByteArray ownHeader =
            "信道号,接收频率,收哑音,收数字哑音,发送频率,发哑音,发数字哑音,扫描,BCL,拍频\n";
        // clang-format off
        auto bad = [&](const char *from, const QByteArray &to) { return h + QByteArray(good).replace(from, to); };
        auto add = [](const char *name, bool own, QByteArray file, int line, QString problem) {
            QTest::newRow(name) << own << file << line << problem;
        };
        add("polarity", false, bad(",NN,", ",RN,"), 2, "DtcsPolarity“RN”");
        add("narrow FM", false, bad(",FM,", ",NFM,"), 2, "Mode“NFM”");
        add("duplex", false, bad(",,0.000000", ",minus,0.000000"), 2, "Duplex“minus”");
        add("tone not listed", false, bad(",,88.5", ",Tone,88.4"), 2, "rToneFreq“88.4”");
        add("code not listed", false, bad(",,88.5,88.5,023", ",DTCS,88.5,88.5,024"), 2, "DtcsCode“024”");
        add("code of four digits", false, bad(",,88.5,88.5,023", ",DTCS,88.5,88.5,0754"), 2, "DtcsCode“0754”");
        add("reversed tone", false, bad(",,88.5", ",TSQL-R,88.5"), 2, "Tone“TSQL-R”");
        add("cross mode", false, bad(",,88.5", ",Cross,88.5").replace("Tone->Tone", "Tone=>DTCS"), 2, "CrossMode“Tone=>DTCS”");
        add("cross mode without its arrow", false, bad(",,88.5", ",Cross,88.5").replace("Tone->Tone", "Tone"), 2, "CrossMode“Tone”");
        add("off raster", false, bad("145.000000", "145.001000"), 2, "Frequency“145.001000”不在步进上，会变成145.00000");
        add("split off raster", false, bad(",,0.000000", ",split,435.001"), 2, "Offset“435.001”");
        add("offset out of range", false, bad(",,0.000000", ",+,400"), 2, "Offset“400”");
        add("negative offset", false, bad(",,0.000000", ",+,-0.6"), 2, "Offset“-0.6”");
        add("skip", false, bad(",,,\r", ",X,,\r"), 2, "Skip“X”");
        add("comment BCL", false, bad(",,,\r", ",,,BCL=3\r"), 2, "Comment“BCL=3”");
        add("location 0", false, bad("1,", "0,"), 2, "Location“0”");
        add("location twice", false, "#\n" + h + good + good, 4, "Location“1”");
        add("short record", false, bad(",,,\r", ",,\r"), 2, "“”");
        add("unterminated quote", false, h + good + "2,\"abc\r\n", 3, "");
        add("NUL", false, bad("FM", QByteArray("F\0M", 3)), 2, "");
        add("no rows", false, h, 1, "");
        add("10 000 rows", false, h + good.repeated(10000), kMaxCsvRecords + 1, "");
        add("missing column", false, QByteArray(h + good).replace("DtcsPolarity,", ""), 1, "");
        add("own: missing column", true, QByteArray(ownHeader).replace(",拍频", "") + ",,,,,,,,\n", 1, "");
        add("own: off raster", true, ownHeader + "1,,,,145.001,,,,,\n", 2, "发送频率“145.001”不在步进上，会变成145.00000");
        add("own: no number", true, ownHeader + "\n,145,,,,,,,,\n", 3, "信道号“”没有这个信道");
        add("own: number 51", true, ownHeader + "51,,,,,,,,,\n", 2, "信道号“51”");
        add("own: number 1.5", true, ownHeader + "1.5,,,,,,,,,\n", 2, "信道号“1.5”");
        add("own: number twice", true, ownHeader + "1,,,,,,,,,\n1.0,,,,,,,,,\n", 3, "信道号“1.0”信道重复");
        // clang-format on
    }

    void refusals()
    {
        // A refused file changes nothing and points at the line, column and value at fault.
        QFETCH(bool, own);
        QFETCH(QByteArray, file);
        QFETCH(int, line);
        QFETCH(QString, problem);
        const CsvImport import = own ? readOwnCsv(file.toStdString(), kChannelCount)
                                     : readCommonCsv(file.toStdString(), tableOf({}));
        QVERIFY(!import.ok() && import.changes.empty());
        const bool whole = import.fault.why != CsvFault::None;
        const CsvProblem first =
            whole ? CsvProblem{import.fault.line, {}, {}, {}, {}} : import.problems.front();
        const auto said =
            QString::fromStdString(first.column + "“" + first.value + "”") + csvProblemReason(first);
        QCOMPARE(first.line, line);
        QVERIFY2(whole == problem.isEmpty() && (whole || said.startsWith(problem)), qPrintable(said));
    }
};

QTEST_GUILESS_MAIN(TestChannelCsv)
#include "tst_channelcsv.moc"
