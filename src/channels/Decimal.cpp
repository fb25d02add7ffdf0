#include "channels/Decimal.h"

#include <algorithm>

namespace vq {

namespace {

bool isSkipped(char c)
{
    return c == ' ' || c == '\t' || c == '\n';
}
bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Exponents past this cannot matter to any channel value and would only
// make texts such as "1e999999999" expensive.
constexpr std::int64_t kExponentLimit = 100000;

} // namespace

Decimal Decimal::fromInteger(std::int64_t value)
{
    return fromScaled(value, 0);
}

Decimal Decimal::fromScaled(std::int64_t mantissa, int exponent)
{
    Decimal d;
    d.negative_ = mantissa < 0;
    // Through unsigned so that the most negative value does not overflow.
    std::uint64_t magnitude =
        d.negative_ ? 0 - static_cast<std::uint64_t>(mantissa) : static_cast<std::uint64_t>(mantissa);
    d.digits_ = std::to_string(magnitude);
    d.exponent_ = exponent;
    d.normalise();
    return d;
}

void Decimal::normalise()
{
    auto first = digits_.find_first_not_of('0');
    if (first == std::string::npos) {
        digits_.clear();
        exponent_ = 0;
        negative_ = false;
        return;
    }
    digits_.erase(0, first);
    auto last = digits_.find_last_not_of('0');
    exponent_ += static_cast<std::int64_t>(digits_.size() - 1 - last);
    digits_.erase(last + 1);
}

std::size_t Decimal::scanMantissa(std::string_view text, bool skipBlanks, bool &seenDigit)
{
    std::size_t i = 0;
    auto skip = [&] {
        while (skipBlanks && i < text.size() && isSkipped(text[i]))
            ++i;
    };

    skip();
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative_ = text[i] == '-';
        ++i;
    }
    bool seenPoint = false;
    for (;; ++i) {
        skip();
        if (i >= text.size())
            break;
        const char c = text[i];
        if (isDigit(c)) {
            seenDigit = true;
            // Leading zeros carry nothing; dropping them keeps long texts of
            // zeros from growing the digit string.
            if (!(digits_.empty() && c == '0'))
                digits_.push_back(c);
            if (seenPoint)
                --exponent_;
        } else if (c == '.' && !seenPoint) {
            seenPoint = true;
        } else {
            break;
        }
    }
    return i;
}

std::string Decimal::asciiForms(std::string_view text)
{
    // Chinese input methods type full-width digits (U+FF10 … U+FF19, EF BC
    // 90 … 99), the full-width period (U+FF0E, EF BC 8E) and the ideographic
    // full stop (U+3002, E3 80 82) where a person means 0-9 and ".".
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto rest = text.substr(i);
        if (rest.size() >= 3 && rest[0] == '\xEF' && rest[1] == '\xBC' && rest[2] >= '\x90' &&
            rest[2] <= '\x99') {
            out += static_cast<char>('0' + (rest[2] - '\x90'));
            i += 2;
        } else if (rest.starts_with("\xEF\xBC\x8E") || rest.starts_with("\xE3\x80\x82")) {
            out += '.';
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

Decimal Decimal::leadingNumber(std::string_view original)
{
    // Blanks go first: one between the bytes of a full-width character must
    // read the same as anywhere else.
    std::string unblanked;
    for (char c : original)
        if (!isSkipped(c))
            unblanked += c;
    const std::string ascii = asciiForms(unblanked);
    const std::string_view text = ascii;
    Decimal d;
    bool seenDigit = false;
    std::size_t i = d.scanMantissa(text, true, seenDigit);

    std::int64_t exponent = 0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        auto skipAt = [&] {
            while (j < text.size() && isSkipped(text[j]))
                ++j;
        };
        skipAt();
        bool negativeExponent = false;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) {
            negativeExponent = text[j] == '-';
            ++j;
        }
        for (;; ++j) {
            skipAt();
            if (j >= text.size() || !isDigit(text[j]))
                break;
            exponent = std::min(exponent * 10 + (text[j] - '0'), kExponentLimit);
        }
        if (negativeExponent)
            exponent = -exponent;
    }

    d.exponent_ += exponent;
    d.normalise();
    return d;
}

std::optional<Decimal> Decimal::parsePlain(std::string_view original)
{
    const std::string ascii = asciiForms(original);
    const std::string_view text = ascii;
    Decimal d;
    bool seenDigit = false;
    if (d.scanMantissa(text, false, seenDigit) != text.size() || !seenDigit)
        return std::nullopt;
    d.normalise();
    return d;
}

int Decimal::compare(const Decimal &other) const
{
    if (negative_ != other.negative_)
        return negative_ ? -1 : 1;
    if (isZero() || other.isZero()) {
        if (isZero() && other.isZero())
            return 0;
        int magnitude = isZero() ? -1 : 1;
        return negative_ ? -magnitude : magnitude;
    }
    // Position of the most significant digit decides first.
    std::int64_t top = static_cast<std::int64_t>(digits_.size()) + exponent_;
    std::int64_t otherTop = static_cast<std::int64_t>(other.digits_.size()) + other.exponent_;
    int magnitude = 0;
    if (top != otherTop) {
        magnitude = top < otherTop ? -1 : 1;
    } else {
        // Same scale: the digit strings compare as left-aligned fractions.
        int c = digits_.compare(other.digits_);
        magnitude = c < 0 ? -1 : (c > 0 ? 1 : 0);
    }
    return negative_ ? -magnitude : magnitude;
}

std::optional<std::int64_t> Decimal::scaledRounded(int places) const
{
    if (isZero())
        return 0;
    constexpr std::int64_t kMaxDigits = 18;
    const std::int64_t e = exponent_ + places;
    const std::int64_t size = static_cast<std::int64_t>(digits_.size());
    std::int64_t magnitude = 0;

    if (e >= 0) {
        if (size + e > kMaxDigits)
            return std::nullopt;
        for (char c : digits_)
            magnitude = magnitude * 10 + (c - '0');
        for (std::int64_t k = 0; k < e; ++k)
            magnitude *= 10;
    } else {
        const std::int64_t whole = size + e; // digits left of the point
        if (whole > kMaxDigits)
            return std::nullopt;
        if (whole < 0)
            return 0; // below 0.1 units: rounds to zero
        for (std::int64_t k = 0; k < whole; ++k)
            magnitude = magnitude * 10 + (digits_[static_cast<std::size_t>(k)] - '0');
        const char next = digits_[static_cast<std::size_t>(whole)];
        // Trailing zeros are stripped, so any digit after `next` makes the
        // rest more than exactly half.
        const bool moreAfter = whole + 1 < size;
        bool up = next > '5' || (next == '5' && (moreAfter || magnitude % 2 == 1));
        if (up)
            ++magnitude;
        if (std::to_string(magnitude).size() > static_cast<std::size_t>(kMaxDigits))
            return std::nullopt;
    }
    return negative_ ? -magnitude : magnitude;
}

std::string Decimal::toShortestText() const
{
    if (isZero())
        return "0";
    std::string out = negative_ ? "-" : "";
    const std::int64_t size = static_cast<std::int64_t>(digits_.size());
    if (exponent_ >= 0) {
        if (exponent_ > 400)
            return out + digits_ + "e" + std::to_string(exponent_);
        out += digits_;
        out.append(static_cast<std::size_t>(exponent_), '0');
        return out;
    }
    const std::int64_t whole = size + exponent_;
    if (whole > 0) {
        out += digits_.substr(0, static_cast<std::size_t>(whole));
        out += '.';
        out += digits_.substr(static_cast<std::size_t>(whole));
    } else {
        if (-whole > 400)
            return out + digits_ + "e" + std::to_string(exponent_);
        out += "0.";
        out.append(static_cast<std::size_t>(-whole), '0');
        out += digits_;
    }
    return out;
}

std::optional<std::string> Decimal::toFixed(int decimals) const
{
    auto scaled = scaledRounded(decimals);
    if (!scaled)
        return std::nullopt;
    const bool negative = *scaled < 0;
    std::string digits = std::to_string(negative ? -*scaled : *scaled);
    if (digits.size() <= static_cast<std::size_t>(decimals))
        digits.insert(0, static_cast<std::size_t>(decimals) + 1 - digits.size(), '0');
    std::string out = negative ? "-" : "";
    out += digits.substr(0, digits.size() - static_cast<std::size_t>(decimals));
    if (decimals > 0) {
        out += '.';
        out += digits.substr(digits.size() - static_cast<std::size_t>(decimals));
    }
    return out;
}

} // namespace vq
