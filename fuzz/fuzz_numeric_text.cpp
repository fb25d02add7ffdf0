// libFuzzer harness: the numeric reading of a text and the decimal
// arithmetic behind every stored number.
//
// Checked beyond "no crash", for the value of the whole input and for a
// second value read from the input's later half:
//  - reading is deterministic, ignores blanks, tabs and line feeds
//    anywhere, and a character that cannot continue a number changes
//    nothing when appended;
//  - a plain number reads the same through parsePlain and leadingNumber;
//  - the shortest text reads back to an equal value (parsePlain accepts it
//    when it has no exponent);
//  - compare is a total order: antisymmetric, agrees with equal shortest
//    texts, and flips under negation;
//  - scaledRounded lies within half a unit, ties go to the even result,
//    it fails only past 18 digits, and never reverses the order of two
//    values; toFixed writes exactly that number;
//  - a stepped frequency lies on the raster, at most one 5 kHz step below.
#include "FuzzCheck.h"
#include "channels/Decimal.h"
#include "channels/FrequencyRules.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

namespace {

using vq::Decimal;

constexpr std::int64_t kLargestScaled = 999'999'999'999'999'999; // 18 digits
// The reader caps exponents at this magnitude, so an exponent form is only
// expected to read back below it.
constexpr std::int64_t kReadableExponent = 100000;

bool same(const Decimal &a, const Decimal &b)
{
    return a.compare(b) == 0 && a.toShortestText() == b.toShortestText();
}

// The exponent of a shortest text in exponent form, when it is small
// enough to read back unchanged.
std::optional<std::int64_t> readableExponent(const std::string &text)
{
    const std::size_t e = text.find('e');
    if (e == std::string::npos)
        return std::nullopt;
    const std::string tail = text.substr(e + 1);
    if (tail.size() > 8)
        return std::nullopt;
    const std::int64_t value = std::stoll(tail);
    if (value > kReadableExponent || value < -kReadableExponent)
        return std::nullopt;
    return value;
}

Decimal negated(const Decimal &value)
{
    const std::string text = value.toShortestText();
    return Decimal::leadingNumber(text.front() == '-' ? text.substr(1) : "-" + text);
}

// mantissa × 10^-places for a mantissa wider than 64 bits.
Decimal wide(__int128 mantissa, int places)
{
    const bool negative = mantissa < 0;
    unsigned __int128 magnitude =
        negative ? -static_cast<unsigned __int128>(mantissa) : static_cast<unsigned __int128>(mantissa);
    std::string digits;
    do {
        digits.insert(digits.begin(), char('0' + int(magnitude % 10)));
        magnitude /= 10;
    } while (magnitude != 0);
    return Decimal::leadingNumber((negative ? "-" : "") + digits + "e" + std::to_string(-places));
}

void checkScaling(std::string_view input, const Decimal &value, int places)
{
    const std::optional<std::int64_t> scaled = value.scaledRounded(places);
    if (!scaled) {
        const Decimal magnitude = value.isNegative() ? negated(value) : value;
        CHECK(magnitude > Decimal::fromScaled(kLargestScaled, -places), input);
        if (places >= 0)
            CHECK(!value.toFixed(places).has_value(), input);
        return;
    }
    const std::int64_t v = *scaled;
    CHECK(v >= -kLargestScaled && v <= kLargestScaled, input);
    CHECK(v == 0 || (v < 0) == value.isNegative(), input);
    // v ± 0.5 units, in tenths of a unit so that both bounds are exact;
    // 10 × v may not fit 64 bits.
    const bool fits = v > -kLargestScaled / 10 && v < kLargestScaled / 10;
    const Decimal low =
        fits ? Decimal::fromScaled(v * 10 - 5, -(places + 1)) : wide(__int128(v) * 10 - 5, places + 1);
    const Decimal high =
        fits ? Decimal::fromScaled(v * 10 + 5, -(places + 1)) : wide(__int128(v) * 10 + 5, places + 1);
    CHECK(!(value < low) && !(value > high), input);
    if (value == low || value == high)
        CHECK(v % 2 == 0, input);

    if (places < 0)
        return;
    const std::optional<std::string> fixed = value.toFixed(places);
    CHECK(fixed.has_value(), input);
    const std::size_t point = fixed->find('.');
    if (places == 0)
        CHECK(point == std::string::npos, input);
    else
        CHECK(point != std::string::npos && fixed->size() - point - 1 == std::size_t(places), input);
    const std::optional<Decimal> back = Decimal::parsePlain(*fixed);
    CHECK(back.has_value() && *back == Decimal::fromScaled(v, -places), input);
}

void checkValue(std::string_view input, std::string_view text, const Decimal &value)
{
    // Deterministic.
    CHECK(same(Decimal::leadingNumber(text), value), input);
    CHECK(value.compare(value) == 0, input);

    // Blanks, tabs and line feeds are skipped wherever they are.
    std::string packed;
    for (char c : text)
        if (c != ' ' && c != '\t' && c != '\n')
            packed += c;
    CHECK(same(Decimal::leadingNumber(packed), value), input);
    // A comma never continues a number.
    CHECK(same(Decimal::leadingNumber(std::string(text) + ","), value), input);

    if (const auto plain = Decimal::parsePlain(text))
        CHECK(same(*plain, value), input);

    const std::string shortest = value.toShortestText();
    CHECK(!shortest.empty(), input);
    CHECK(value.isZero() == (shortest == "0"), input);
    CHECK(value.isNegative() == (shortest.front() == '-'), input);
    if (shortest.find('e') == std::string::npos) {
        CHECK(same(Decimal::leadingNumber(shortest), value), input);
        const auto plain = Decimal::parsePlain(shortest);
        CHECK(plain.has_value() && same(*plain, value), input);
        // Shortest: no leading zero before another digit, no trailing
        // zero after the point, no lone point.
        const std::string_view digits = std::string_view(shortest).substr(shortest.front() == '-' ? 1 : 0);
        CHECK(!(digits.size() > 1 && digits[0] == '0' && digits[1] != '.'), input);
        if (digits.find('.') != std::string_view::npos)
            CHECK(digits.back() != '0' && digits.back() != '.', input);
    } else if (readableExponent(shortest)) {
        CHECK(same(Decimal::leadingNumber(shortest), value), input);
        CHECK(!Decimal::parsePlain(shortest).has_value(), input);
    }

    if (!value.isZero() && shortest.find('e') == std::string::npos) {
        const Decimal minus = negated(value);
        CHECK(minus.isNegative() != value.isNegative(), input);
        CHECK(same(negated(minus), value), input);
    }

    // The channel values use 0, 1 and 5 places; a few around them catch
    // off-by-one slips in the rounding position.
    for (int places = -2; places <= 7; ++places)
        checkScaling(input, value, places);
}

void checkOrder(std::string_view input, const Decimal &a, const Decimal &b)
{
    const int ab = a.compare(b);
    const int ba = b.compare(a);
    CHECK(ab >= -1 && ab <= 1, input);
    CHECK(ab == -ba, input);
    CHECK((ab == 0) == (a.toShortestText() == b.toShortestText()), input);
    CHECK((a < b) == (ab < 0) && (a > b) == (ab > 0) && (a == b) == (ab == 0), input);
    if (a.toShortestText().find('e') == std::string::npos &&
        b.toShortestText().find('e') == std::string::npos)
        CHECK(negated(b).compare(negated(a)) == ab, input);
    for (int places : {0, 1, 5}) {
        const auto sa = a.scaledRounded(places);
        const auto sb = b.scaledRounded(places);
        if (sa && sb && ab < 0)
            CHECK(*sa <= *sb, input);
        if (sa && sb && ab == 0)
            CHECK(*sa == *sb, input);
    }
}

void checkStep(std::string_view input, const Decimal &mhz)
{
    const std::optional<std::string> stepped = vq::stepFrequency(mhz);
    const std::optional<std::int64_t> units = mhz.scaledRounded(vq::kFrequencyDecimals);
    if (!stepped) {
        CHECK(mhz.isZero() || mhz.isNegative() || !units, input);
        return;
    }
    CHECK(units.has_value() && *units >= 0, input);
    const auto back = Decimal::parsePlain(*stepped);
    CHECK(back.has_value(), input);
    const auto steppedUnits = back->scaledRounded(vq::kFrequencyDecimals);
    CHECK(steppedUnits && Decimal::fromScaled(*steppedUnits, -vq::kFrequencyDecimals) == *back, input);
    const std::int64_t s = *steppedUnits;
    CHECK(s % vq::kNarrowStep == 0 || s % vq::kWideStep == 0, input);
    CHECK(s <= *units && *units - s < vq::kWideStep, input);
    // A value on the raster stays as it is.
    if (*units % vq::kNarrowStep == 0 || *units % vq::kWideStep == 0)
        CHECK(s == *units, input);
    CHECK(vq::formatFrequency(*back) == *stepped, input);
    // Below one 5 kHz step the result is zero, which is not steppable.
    if (s > 0)
        CHECK(vq::stepFrequency(*back) == *stepped, input);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char *>(data), size);
    const Decimal whole = Decimal::leadingNumber(input);
    checkValue(input, input, whole);
    checkStep(input, whole);

    const std::string_view later = input.substr(size / 2);
    const Decimal second = Decimal::leadingNumber(later);
    checkValue(input, later, second);
    checkOrder(input, whole, second);
    checkOrder(input, second, whole);
    return 0;
}
