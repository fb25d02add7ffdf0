#include "channels/FrequencyRules.h"
#include "channels/PickerRules.h"
#include "channels/ValueDomains.h"

#include <QtTest>

using vq::FieldValue;

namespace {

// Data tables write a Null cell as "<null>" and a field the check leaves
// alone as "<keep>"; both are nothing on the C++ side.
FieldValue cell(const QString &text)
{
    if (text == "<null>" || text == "<keep>")
        return std::nullopt;
    return text.toStdString();
}

QString shown(const FieldValue &value)
{
    return value ? QString::fromStdString(*value) : QStringLiteral("<keep>");
}

} // namespace

class TestFrequencyRules : public QObject {
    Q_OBJECT
private slots:
    void stepping_data();
    void stepping();
    void receiveCheck_data();
    void receiveCheck();
    void transmitCheck_data();
    void transmitCheck();
    void formatting();
    void pickers();
};

void TestFrequencyRules::stepping_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("stored");
    QTest::newRow("whole MHz") << "145" << "145.00000";
    QTest::newRow("6.25 kHz raster") << "145.00625" << "145.00625";
    QTest::newRow("6.25 kHz raster, odd step") << "145.01875" << "145.01875";
    QTest::newRow("6.25 kHz raster, four decimals") << "462.5625" << "462.56250";
    QTest::newRow("both rasters") << "433.0125" << "433.01250";
    QTest::newRow("off raster, down") << "145.0075" << "145.00500";
    QTest::newRow("off raster, down to MHz") << "145.0025" << "145.00000";
    QTest::newRow("off raster, many decimals") << "145.1234" << "145.12000";
    QTest::newRow("lowest") << "130" << "130.00000";
    QTest::newRow("highest") << "500" << "500.00000";
    QTest::newRow("trailing unit") << "145.5MHz" << "145.50000";
    QTest::newRow("blank inside digits") << "14 5.5" << "145.50000";
    QTest::newRow("leading blanks") << "  145.5" << "145.50000";
    QTest::newRow("exponent") << "1.45e2" << "145.00000";
    // Half-way at 10 Hz goes to the even unit; that unit then decides the step.
    QTest::newRow("tie to even, on raster") << "145.000005" << "145.00000";
    QTest::newRow("tie to even, off raster") << "145.000015" << "145.00000";
    QTest::newRow("tie up to even 5 kHz step") << "145.004995" << "145.00500";
    QTest::newRow("tie stays below 6.25 kHz step") << "145.006245" << "145.00500";
    QTest::newRow("rounds up onto raster") << "145.006249" << "145.00625";
    QTest::newRow("kept value written on raster") << "145.005005" << "145.00500";
}

void TestFrequencyRules::stepping()
{
    QFETCH(QString, typed);
    QFETCH(QString, stored);

    const auto rx = vq::checkReceiveEdit(cell(typed), std::string("146.00000"));
    QVERIFY(!rx.warnOutOfRange);
    QCOMPARE(shown(rx.rx), stored);
    QCOMPARE(shown(rx.tx), stored);

    // The transmit column steps the same way.
    const auto tx = vq::checkTransmitEdit(std::string("145.00000"), cell(typed));
    QVERIFY(!tx.warnOutOfRange);
    QVERIFY(!tx.rx);
    QCOMPARE(shown(tx.tx), stored);
}

void TestFrequencyRules::receiveCheck_data()
{
    QTest::addColumn<QString>("rx");
    QTest::addColumn<QString>("tx");
    QTest::addColumn<QString>("newRx");
    QTest::addColumn<QString>("newTx");
    QTest::addColumn<bool>("warn");
    QTest::newRow("Null") << "<null>" << "146.00000" << "" << "" << false;
    QTest::newRow("nothing") << "" << "146.00000" << "" << "" << false;
    QTest::newRow("blank") << " " << "146.00000" << "" << "" << false;
    QTest::newRow("letters") << "abc" << "146.00000" << "" << "" << false;
    QTest::newRow("zero") << "0" << "146.00000" << "" << "" << false;
    QTest::newRow("zero with fraction") << "0.000" << "<null>" << "" << "" << false;
    QTest::newRow("below range") << "129.99999" << "146.00000" << "" << "<keep>" << true;
    QTest::newRow("above range") << "500.00001" << "146.00000" << "" << "<keep>" << true;
    QTest::newRow("above, rounds to 500") << "500.000001" << "<null>" << "" << "<keep>" << true;
    QTest::newRow("negative") << "-145" << "146.00000" << "" << "<keep>" << true;
    QTest::newRow("tiny, not zero") << "1e-9" << "146.00000" << "" << "<keep>" << true;
    QTest::newRow("huge") << "1e99999" << "146.00000" << "" << "<keep>" << true;
    QTest::newRow("split overwritten") << "145" << "146.01250" << "145.00000" << "145.00000"
                                       << false;
    QTest::newRow("transmit was Null") << "145" << "<null>" << "145.00000" << "145.00000"
                                       << false;
}

void TestFrequencyRules::receiveCheck()
{
    QFETCH(QString, rx);
    QFETCH(QString, tx);
    QFETCH(QString, newRx);
    QFETCH(QString, newTx);
    QFETCH(bool, warn);
    const auto edit = vq::checkReceiveEdit(cell(rx), cell(tx));
    QCOMPARE(shown(edit.rx), newRx);
    QCOMPARE(shown(edit.tx), newTx);
    QCOMPARE(edit.warnOutOfRange, warn);
}

void TestFrequencyRules::transmitCheck_data()
{
    QTest::addColumn<QString>("rx");
    QTest::addColumn<QString>("tx");
    QTest::addColumn<QString>("newTx");
    QTest::addColumn<bool>("warn");
    QTest::newRow("transmit Null") << "145.00000" << "<null>" << "" << false;
    QTest::newRow("receive Null") << "<null>" << "146" << "" << false;
    QTest::newRow("receive empty") << "" << "146" << "" << false;
    QTest::newRow("receive not a number") << "abc" << "146" << "" << false;
    QTest::newRow("no receive, out of range: no message") << "" << "600" << "" << false;
    QTest::newRow("letters") << "145.00000" << "xyz" << "" << false;
    QTest::newRow("zero") << "145.00000" << "0" << "" << false;
    QTest::newRow("below range") << "145.00000" << "129.99999" << "" << true;
    QTest::newRow("above range") << "145.00000" << "500.00001" << "" << true;
    QTest::newRow("split kept") << "145.00000" << "146.0125" << "146.01250" << false;
    QTest::newRow("split stepped") << "145.00000" << "146.1234" << "146.12000" << false;
    QTest::newRow("odd receive value") << "9999" << "130" << "130.00000" << false;
}

void TestFrequencyRules::transmitCheck()
{
    QFETCH(QString, rx);
    QFETCH(QString, tx);
    QFETCH(QString, newTx);
    QFETCH(bool, warn);
    const auto edit = vq::checkTransmitEdit(cell(rx), cell(tx));
    QVERIFY2(!edit.rx, "a transmit edit never changes the receive frequency");
    QCOMPARE(shown(edit.tx), newTx);
    QCOMPARE(edit.warnOutOfRange, warn);
}

void TestFrequencyRules::formatting()
{
    using vq::Decimal;
    auto format = [](const char *text) {
        auto out = vq::formatFrequency(Decimal::leadingNumber(text));
        return out ? QString::fromStdString(*out) : QStringLiteral("<none>");
    };
    QCOMPARE(format("438.5"), "438.50000");
    QCOMPARE(format("438.123456"), "438.12346");
    QCOMPARE(format("9999"), "9999.00000");
    QCOMPARE(format("0.5"), ".50000");
    QCOMPARE(format("-145"), "-145.00000");
    QCOMPARE(format("1e30"), "<none>");

    QVERIFY(!vq::stepFrequency(Decimal()));
    QVERIFY(!vq::stepFrequency(Decimal::fromInteger(-145)));
    QVERIFY(vq::isFrequencyInRange(Decimal::fromInteger(130)));
    QVERIFY(!vq::isFrequencyInRange(Decimal::fromScaled(50000001, -5)));
}

void TestFrequencyRules::pickers()
{
    using namespace vq;

    // Entry lists, the blank first where the pickers have it.
    QCOMPARE(pickerEntries(1).size(), std::size_t{40});
    QCOMPARE(pickerEntries(2).size(), std::size_t{84});
    QVERIFY(pickerEntries(1) == pickerEntries(3));
    QVERIFY(pickerEntries(2) == pickerEntries(4));
    QCOMPARE(pickerEntries(1)[0], std::string_view(" "));
    QCOMPARE(pickerEntries(1)[1], std::string_view("67.0"));
    QCOMPARE(pickerEntries(1)[39], std::string_view("250.3"));
    QCOMPARE(pickerEntries(2)[0], std::string_view(" "));
    for (int slot = 1; slot <= kDcsCodeCount; ++slot)
        QCOMPARE(pickerEntries(2)[std::size_t(slot)], dcsCodes()[std::size_t(slot)]);
    QVERIFY(pickerEntries(5) == (std::vector<std::string_view>{"add", "del", " "}));
    QVERIFY(pickerEntries(6) == (std::vector<std::string_view>{"off", "1", "2", " "}));
    QVERIFY(pickerEntries(7) == (std::vector<std::string_view>{"off", "on", " "}));
    QVERIFY(pickerEntries(0).empty() && pickerEntries(8).empty());
    QCOMPARE(pickerField(4), std::optional<Field>(TxDcs));
    QCOMPARE(pickerField(0), std::optional<Field>());

    // The store sees the writes in this order: the picked field first.
    QVERIFY(pickerWrites(1, "88.5") == (std::vector<FieldWrite>{{RxTone, "88.5"},
                                                                {TxTone, "88.5"},
                                                                {RxDcs, ""},
                                                                {TxDcs, ""}}));

    // Each picker once, on a row that had the other tone kind set.
    auto row = [](const char *rxTone, const char *rxDcs, const char *txTone, const char *txDcs,
                  const char *scan = "add", const char *bcl = "off", const char *beat = "on") {
        return ChannelRecord{"1",   "145.00000", rxTone, rxDcs, "145.00000", txTone,
                             txDcs, scan,        bcl,    beat};
    };
    const ChannelRecord dcsRow = row("", "023", "", "023");
    const ChannelRecord toneRow = row("88.5", "", "88.5", "");
    struct Pick {
        int picker;
        const char *text;
        const ChannelRecord &before;
        ChannelRecord after;
    };
    const Pick picks[] = {
        {1, "88.5", dcsRow, row("88.5", "", "88.5", "")},
        {1, " ", dcsRow, row(" ", "", " ", "")},
        {2, " ", toneRow, row("", " ", "", " ")},
        {2, "754", toneRow, row("", "754", "", "754")},
        {3, "100.0", dcsRow, row("", "023", "100.0", "")},
        {3, " ", dcsRow, row("", "023", " ", "")},
        {4, " ", toneRow, row("88.5", "", "", " ")},
        {4, "023", toneRow, row("88.5", "", "", "023")},
        {5, "del", toneRow, row("88.5", "", "88.5", "", "del")},
        {6, "2", toneRow, row("88.5", "", "88.5", "", "add", "2")},
        {7, " ", toneRow, row("88.5", "", "88.5", "", "add", "off", " ")},
    };
    for (const Pick &pick : picks) {
        ChannelRecord row = pick.before;
        for (const FieldWrite &write : pickerWrites(pick.picker, pick.text))
            row[std::size_t(write.field)] = write.text;
        QVERIFY2(row == pick.after,
                 qPrintable(QStringLiteral("Combo%1 \"%2\"").arg(pick.picker).arg(pick.text)));
    }

    // Every code can be picked in both DCS pickers.
    for (int slot = 1; slot <= kDcsCodeCount; ++slot) {
        const std::string code(dcsCodes()[std::size_t(slot)]);
        QVERIFY(pickerWrites(2, code).front() == (FieldWrite{RxDcs, code}));
        QVERIFY(pickerWrites(4, code).front() == (FieldWrite{TxDcs, code}));
    }

    // Only listed entries reach the store.
    QVERIFY(pickerWrites(2, "23").empty());
    QVERIFY(pickerWrites(1, "88.50").empty());
    QVERIFY(pickerWrites(6, "add").empty());
    QVERIFY(pickerWrites(5, "").empty());
    QVERIFY(pickerWrites(0, " ").empty());
    QVERIFY(pickerWrites(8, " ").empty());
}

QTEST_GUILESS_MAIN(TestFrequencyRules)
#include "tst_frequencyrules.moc"
