#include "channels/Decimal.h"

#include <QtTest>

#include <random>

using vq::Decimal;

class TestDecimal : public QObject {
    Q_OBJECT

private slots:
    void leadingNumber()
    {
        // clang-format off
    const std::pair<std::string, std::string> cases[] = {
        {"\t1 4\n5.5", "145.5"}, {"145.5MHz", "145.5"}, {"1.2.3", "1.2"}, {"1\r2", "1"},
        {"  - 7", "-7"}, {"--5", "0"}, {"1.45e 2", "145"}, {"145E-3", "0.145"}, {"145e", "145"},
        {"023.50", "23.5"}, {".", "0"}, {"off", "0"}, {"1e999999999", "1e100000"},
        {"-2.5e-999999", "-25e-100001"}, {std::string(5000, '0') + "1", "1"},
        {"1e-401", "0." + std::string(400, '0') + "1"}, {"1e-402", "1e-402"}};
        // clang-format on
        for (const auto &[text, shortest] : cases)
            QCOMPARE(Decimal::leadingNumber(text).toShortestText(), shortest);
        for (const char *refused : {"", ".", "add", "1 2", "1e5", "+", "5-"})
            QVERIFY2(!Decimal::parsePlain(refused), refused);
        for (const char *taken : {"023", ".5", "-1.50", "+7."})
            QVERIFY2(Decimal::parsePlain(taken) == Decimal::leadingNumber(taken), taken);
    }

    void textRoundTripAndOrder()
    {
        // Integers × 10^e, e in -7 … 2: compared exactly once scaled by 10^7 in 64 bits.
        std::mt19937_64 random(4471);
        auto value = [&](std::int64_t &scaled) {
            const int exponent = int(random() % 10) - 7;
            scaled = std::int64_t(random() % 2000001) - 1000000;
            const Decimal d = Decimal::fromScaled(scaled, exponent);
            for (int e = -7; e < exponent; ++e)
                scaled *= 10;
            return d;
        };
        for (int n = 0; n < 2000; ++n) {
            std::int64_t a = 0, b = 0;
            const Decimal x = value(a), y = value(b);
            const std::string text = x.toShortestText();
            QVERIFY2(Decimal::leadingNumber(text) == x && Decimal::parsePlain(text) == x, text.c_str());
            QCOMPARE(x.isNegative(), a < 0);
            QCOMPARE(x.compare(y), (a > b) - (a < b));
            QVERIFY((x < y) == (a < b) && (x > y) == (a > b));
            QCOMPARE(Decimal().compare(x), (a < 0) - (a > 0));
            QCOMPARE(*Decimal::fromInteger(a).scaledRounded(0), a);
            // Fixed text has its decimals and reads back as the rounded value.
            const std::string fixed = *x.toFixed(3);
            QCOMPARE(fixed.size() - fixed.find('.'), std::size_t{4});
            QVERIFY(*Decimal::parsePlain(fixed) == Decimal::fromScaled(*x.scaledRounded(3), -3));
        }
        QCOMPARE(Decimal::fromScaled(885, -1).toShortestText(), "88.5");
        QCOMPARE(*Decimal::fromScaled(-1, -2).toFixed(2), "-0.01");
        QCOMPARE(*Decimal::fromScaled(5, -1).toFixed(2), "0.50"); // as many digits as decimals
        QCOMPARE(*Decimal::fromInteger(7).toFixed(0), "7");
    }

    void roundingAndLimits()
    {
        // k + d/10, both signs: below 5 down, above up, 5 to even, anything after the 5 up.
        for (std::int64_t k : {0, 1, 2, 7, 14500000, 99999999}) {
            for (int d = 0; d <= 9; ++d) {
                const std::int64_t nearest = d < 5 ? k : d > 5 ? k + 1 : k + k % 2;
                QCOMPARE(*Decimal::fromScaled(k * 10 + d, -1).scaledRounded(0), nearest);
                QCOMPARE(*Decimal::fromScaled(-(k * 10 + d), -1).scaledRounded(0), -nearest);
                QCOMPARE(*Decimal::fromScaled(k * 100 + d * 10 + 1, -2).scaledRounded(0), d < 5 ? k : k + 1);
            }
        }
        // The text binary floating point gets wrong by one 10 Hz step.
        QCOMPARE(*Decimal::leadingNumber("145.0075").scaledRounded(5), 14500750);
        QCOMPARE(*Decimal::leadingNumber("0.0004").scaledRounded(2), 0);
        QCOMPARE(*Decimal::leadingNumber("0.06").scaledRounded(1), 1);
        // 18 digits fit, 19 do not, however they arise.
        const std::int64_t most = 999999999999999999;
        QCOMPARE(*Decimal::fromInteger(-most).scaledRounded(0), -most);
        QCOMPARE(*Decimal::fromScaled(1, 17).scaledRounded(0), (most + 1) / 10);
        QVERIFY(!Decimal::fromScaled(1, 13).scaledRounded(5));
        QCOMPARE(*Decimal::fromScaled(most, -1).scaledRounded(1), most);
        QVERIFY(!Decimal::fromScaled(most, -1).scaledRounded(2));
        QVERIFY(!Decimal::leadingNumber("999999999999999999.5").scaledRounded(0));
        QVERIFY(!Decimal::leadingNumber("1e30").toFixed(5));
        QCOMPARE(Decimal::fromScaled(INT64_MIN, 0).toShortestText(), "-9223372036854775808");
    }
};

QTEST_GUILESS_MAIN(TestDecimal)
#include "tst_decimal.moc"
