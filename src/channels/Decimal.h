#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vq {

// An exact decimal number, sign × digits × 10^exponent.
//
// Frequencies are typed as decimal text and must land on a 10 Hz raster;
// doing that arithmetic in binary floating point gets texts such as
// 145.0075 wrong by one step, so every number the program reads stays in
// decimal digits from the text to the stored result.
class Decimal {
public:
    Decimal() = default; // zero

    static Decimal fromInteger(std::int64_t value);
    // mantissa × 10^exponent, e.g. fromScaled(885, -1) is 88.5.
    static Decimal fromScaled(std::int64_t mantissa, int exponent);

    // The text with full-width digits and periods (as Chinese input methods
    // type them) written as their plain forms; every other byte as it is.
    static std::string asciiForms(std::string_view text);

    // The leading number of a text (full-width forms read as plain ones),
    // read the way every value in the channel
    // table is read: blanks, tabs and line feeds anywhere are skipped; an
    // optional sign, digits with at most one period and an optional exponent
    // are taken; reading stops at the first character that cannot continue
    // the number. A text without a leading number is 0.
    static Decimal leadingNumber(std::string_view text);

    // A text that is a plain decimal number as a whole (full-width forms
    // read as plain ones): optional sign,
    // digits, optional fraction ("023", "-1.50", ".5"). No blanks inside,
    // no exponent, nothing after it.
    static std::optional<Decimal> parsePlain(std::string_view text);

    bool isZero() const { return digits_.empty(); }
    bool isNegative() const { return negative_; }
    // -1, 0 or 1.
    int compare(const Decimal &other) const;
    bool operator==(const Decimal &other) const { return compare(other) == 0; }
    bool operator<(const Decimal &other) const { return compare(other) < 0; }
    bool operator>(const Decimal &other) const { return compare(other) > 0; }

    // value × 10^places, rounded to the nearest whole number with ties going
    // to the even one; nothing when the result does not fit in 18 digits.
    std::optional<std::int64_t> scaledRounded(int places) const;

    // Shortest decimal text: 67, 88.5, 100, -0.25.
    std::string toShortestText() const;

    // Fixed-point text with exactly `decimals` decimals, rounded as
    // scaledRounded does ("###.00000" with decimals = 5); nothing when the
    // value is too large to be a channel value.
    std::optional<std::string> toFixed(int decimals) const;

private:
    // Reads sign, digits and one period from the start of `text` into this
    // (zero) value, skipping blanks anywhere when asked; returns where it
    // stopped.
    std::size_t scanMantissa(std::string_view text, bool skipBlanks, bool &seenDigit);
    void normalise();

    bool negative_ = false;
    std::string digits_; // no leading or trailing zeros; empty means zero
    std::int64_t exponent_ = 0;
};

} // namespace vq
