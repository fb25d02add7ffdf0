#include "channels/Decimal.h"
#include "channels/ValueDomains.h"

#include <QtTest>

using vq::Decimal;

class TestDecimal : public QObject {
    Q_OBJECT
private slots:
    void leadingNumber_data();
    void leadingNumber();
    void rounding();
    void dtscAndDomains();
};

void TestDecimal::leadingNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shortest");
    QTest::newRow("plain") << "145" << "145";
    QTest::newRow("fraction") << "145.0075" << "145.0075";
    QTest::newRow("blanks inside digits") << "14 5.5" << "145.5";
    QTest::newRow("tab and line feed") << "\t1\n45" << "145";
    QTest::newRow("trailing letters") << "145.5MHz" << "145.5";
    QTest::newRow("second period stops") << "1.2.3" << "1.2";
    QTest::newRow("sign") << "-12.50" << "-12.5";
    QTest::newRow("sign after blanks") << "  + 7" << "7";
    QTest::newRow("double sign") << "--5" << "0";
    QTest::newRow("exponent") << "1.45e2" << "145";
    QTest::newRow("negative exponent") << "145E-3" << "0.145";
    QTest::newRow("exponent without digits") << "145e" << "145";
    QTest::newRow("leading zeros") << "023" << "23";
    QTest::newRow("zero fraction") << "67.0" << "67";
    QTest::newRow("period only") << "." << "0";
    QTest::newRow("empty") << "" << "0";
    QTest::newRow("word") << "off" << "0";
    QTest::newRow("blank") << " " << "0";
    QTest::newRow("hex letter") << "A" << "0";
    QTest::newRow("carriage return stops") << "1\r2" << "1";
    QTest::newRow("huge exponent") << "1e999999999999" << "1e100000";
    QTest::newRow("long zeros") << QString(5000, '0') + "1" << "1";
}

void TestDecimal::leadingNumber()
{
    QFETCH(QString, text);
    QFETCH(QString, shortest);
    auto value = Decimal::leadingNumber(text.toStdString());
    QCOMPARE(QString::fromStdString(value.toShortestText()), shortest);
}

void TestDecimal::rounding()
{
    // Ties go to the even neighbour, at any scale.
    QCOMPARE(*Decimal::leadingNumber("145.000005").scaledRounded(5), 14500000);
    QCOMPARE(*Decimal::leadingNumber("145.000015").scaledRounded(5), 14500002);
    QCOMPARE(*Decimal::leadingNumber("145.0000150001").scaledRounded(5), 14500002);
    QCOMPARE(*Decimal::leadingNumber("145.0000049999").scaledRounded(5), 14500000);
    QCOMPARE(*Decimal::leadingNumber("0.5").scaledRounded(0), 0);
    QCOMPARE(*Decimal::leadingNumber("1.5").scaledRounded(0), 2);
    QCOMPARE(*Decimal::leadingNumber("-2.5").scaledRounded(0), -2);
    QCOMPARE(*Decimal::leadingNumber("0.04").scaledRounded(0), 0);
    // Exactness where binary floating point slips: 145.0075 × 100000.
    QCOMPARE(*Decimal::leadingNumber("145.0075").scaledRounded(5), 14500750);
    QCOMPARE(*Decimal::leadingNumber("88.5").scaledRounded(1), 885);
    QVERIFY(!Decimal::leadingNumber("1e30").scaledRounded(5));
    QVERIFY(!Decimal::leadingNumber("9999999999999999999").scaledRounded(0));

    QCOMPARE(QString::fromStdString(*Decimal::leadingNumber("438.5").toFixed(5)), "438.50000");
    QCOMPARE(QString::fromStdString(*Decimal::leadingNumber("0.5").toFixed(2)), "0.50");
    QCOMPARE(QString::fromStdString(Decimal::fromScaled(885, -1).toShortestText()), "88.5");
    QCOMPARE(QString::fromStdString(Decimal::fromScaled(1000, -1).toShortestText()), "100");

    QVERIFY(Decimal::leadingNumber("130") == Decimal::fromInteger(130));
    QVERIFY(Decimal::leadingNumber("129.99999") < Decimal::fromInteger(130));
    QVERIFY(Decimal::leadingNumber("500.00001") > Decimal::fromInteger(500));
    QVERIFY(Decimal::leadingNumber("-1") < Decimal());
    QVERIFY(Decimal::leadingNumber("-1") > Decimal::leadingNumber("-2"));

    QVERIFY(Decimal::parsePlain("023"));
    QVERIFY(Decimal::parsePlain(".5"));
    QVERIFY(!Decimal::parsePlain(""));
    QVERIFY(!Decimal::parsePlain("add"));
    QVERIFY(!Decimal::parsePlain("1 2"));
    QVERIFY(!Decimal::parsePlain("1e5"));
    QVERIFY(!Decimal::parsePlain("."));
}

void TestDecimal::dtscAndDomains()
{
    QCOMPARE(vq::dcsPosition("023"), 1);
    QCOMPARE(vq::dcsPosition("114"), 15);
    QCOMPARE(vq::dcsPosition("465"), 59);
    QCOMPARE(vq::dcsPosition("754"), 83);
    for (const char *miss : {"024", "23", "0230", " 023", "023 ", "", " "})
        QCOMPARE(vq::dcsPosition(miss), 0);
    QVERIFY(vq::dcsCodes()[0].empty());
    for (int slot = 84; slot <= 100; ++slot)
        QVERIFY(vq::dcsCodes()[static_cast<std::size_t>(slot)].empty());
    // Every code finds its own slot: no duplicate hides another.
    for (int slot = 1; slot <= vq::kDcsCodeCount; ++slot)
        QCOMPARE(vq::dcsPosition(vq::dcsCodes()[static_cast<std::size_t>(slot)]), slot);

    QVERIFY(vq::isNoTone(std::nullopt));
    QVERIFY(vq::isNoTone(std::string()));
    QVERIFY(vq::isNoTone(std::string(" ")));
    QVERIFY(!vq::isNoTone(std::string("67.0")));
}

QTEST_GUILESS_MAIN(TestDecimal)
#include "tst_decimal.moc"
