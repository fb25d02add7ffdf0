#include "radio/ChannelFrame.h"

#include "channels/Decimal.h"
#include "channels/FrequencyRules.h"
#include "channels/ValueDomains.h"

#include <cstdint>
#include <initializer_list>

namespace vq {

namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

// The radio keeps receive frequencies 21.4 MHz (2,140,000 × 10 Hz) below
// the dial: its first intermediate frequency.
constexpr std::int64_t kReceiveOffset = 2140000;
constexpr std::int64_t kEightDigitMax = 99999999;
constexpr std::int64_t kFourDigitMax = 9999;
constexpr std::string_view kDcsMarker = "55";

Decimal numericValue(const FieldValue &value)
{
    return Decimal::leadingNumber(textOf(value));
}

std::string_view trimBlanks(std::string_view text)
{
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

bool isNullOrZero(const FieldValue &value)
{
    return !value || numericValue(value).isZero();
}

std::string hexByte(int byte)
{
    return {kHexDigits[(byte >> 4) & 0xF], kHexDigits[byte & 0xF]};
}

// `width` decimal digits, zero-filled on the left, written as BCD bytes with
// the least significant pair first. The caller keeps value in range.
std::string bcdLittleEndian(std::int64_t value, std::size_t width)
{
    std::string digits = std::to_string(value);
    digits.insert(0, width - digits.size(), '0');
    std::string out;
    out.reserve(width);
    for (std::size_t pair = width; pair >= 2; pair -= 2)
        out.append(digits, pair - 2, 2);
    return out;
}

// One direction's tone. CTCSS wins over DCS so that a
// row holding both still sends one tone.
std::optional<EncodeError> encodeTone(const ChannelRecord &record, Field ctcssField, Field dcsField,
                                      std::string &out)
{
    const FieldValue &ctcss = record[ctcssField];
    if (!isNullOrZero(ctcss)) {
        auto tenths = numericValue(ctcss).scaledRounded(1);
        // 550.0 … 559.9 Hz would put "55" where the radio looks for the DCS
        // marker and be taken for a DCS code.
        const bool looksLikeDcs = tenths && *tenths / 100 == 55;
        if (!tenths || *tenths < 1 || *tenths > kFourDigitMax || looksLikeDcs)
            return EncodeError{ctcssField, EncodeFault::ToneOutOfRange};
        out += bcdLittleEndian(*tenths, 4);
        return std::nullopt;
    }
    const FieldValue &dcs = record[dcsField];
    if (!isNullOrZero(dcs)) {
        // An unknown code goes out as position 0 and reads back as no code.
        out += hexByte(dcsPosition(*dcs));
        out += kDcsMarker;
        return std::nullopt;
    }
    out += "0000";
    return std::nullopt;
}

EncodeResult failure(Field field, EncodeFault fault)
{
    return {std::nullopt, {field, fault}};
}

bool isHexDigit(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

bool isDecimalDigit(char c)
{
    return c >= '0' && c <= '9';
}

int hexValue(char c)
{
    return c <= '9' ? c - '0' : c - 'A' + 10;
}

// Frame positions below are 1-based character positions, as the layout
// table of the frame counts them.
struct Reader {
    std::string frame; // upper-cased

    std::string_view chars(std::size_t position, std::size_t count = 2) const
    {
        return std::string_view(frame).substr(position - 1, count);
    }
    int byteAt(std::size_t position) const
    {
        return hexValue(frame[position - 1]) * 16 + hexValue(frame[position]);
    }

    // The pairs starting at `positions` (most significant first) joined as
    // decimal digits; a pair holding A-F is a malformed frame.
    std::optional<DecodeError> bcd(std::initializer_list<std::size_t> positions, Field field,
                                   std::int64_t &value) const
    {
        value = 0;
        for (std::size_t position : positions) {
            for (std::size_t k = position; k < position + 2; ++k) {
                const char c = frame[k - 1];
                if (!isDecimalDigit(c))
                    return DecodeError{DecodeFault::NotDecimal, frame.size(), k, c, field};
                value = value * 10 + (c - '0');
            }
        }
        return std::nullopt;
    }

    std::optional<DecodeError> tone(std::size_t position, Field ctcssField, Field dcsField,
                                    DecodedFields &out) const
    {
        if (chars(position + 2) == kDcsMarker) {
            const int slot = byteAt(position);
            // Slot 0 and slots past the codes are empty texts; positions past
            // the table read the same way rather than failing the whole read.
            out.at(dcsField) = slot < kDcsSlots ? std::string(dcsCodes()[std::size_t(slot)]) : "";
            out.at(ctcssField).clear();
            return std::nullopt;
        }
        out.at(dcsField).clear();
        std::int64_t tenths = 0;
        if (auto error = bcd({position + 2, position}, ctcssField, tenths))
            return error;
        out.at(ctcssField) = tenths == 0 ? "" : Decimal::fromScaled(tenths, -1).toShortestText();
        return std::nullopt;
    }
};

// At most 9 digits arrive here, which always fits.
std::string frequencyText(std::int64_t tensOfHertz)
{
    return formatFrequency(Decimal::fromScaled(tensOfHertz, -kFrequencyDecimals)).value();
}

DecodeResult malformed(DecodeError error)
{
    return {std::nullopt, error};
}

} // namespace

EncodeResult encodeChannelFrame(const ChannelRecord &record)
{
    // 1. Number and scan byte. Its faults only matter once the byte is used:
    //    an empty channel goes out as the empty frame whatever its number.
    std::optional<EncodeError> numberError;
    int numberByte = 0;
    {
        const Decimal number = numericValue(record[ChannelNumber]);
        const auto whole = number.scaledRounded(0);
        const bool del = trimBlanks(textOf(record[Scan])) == "del";
        if (!whole || *whole < 0 || *whole > 255) {
            // A negative number would also clear the "del" bit that +128 should set.
            numberError = EncodeError{ChannelNumber, EncodeFault::ChannelNumberOutOfRange};
        } else if (!(Decimal::fromInteger(*whole) == number)) {
            numberError = EncodeError{ChannelNumber, EncodeFault::ChannelNumberNotWhole};
        } else {
            numberByte = int(*whole) + (del ? 128 : 0);
            if (numberByte > 255)
                numberError = EncodeError{ChannelNumber, EncodeFault::ChannelNumberOutOfRange};
        }
    }

    // 2. Empty channel.
    if (isNullOrZero(record[RxFrequency]))
        return {ChannelFrame(kEmptyFrame), {}};
    if (numberError)
        return {std::nullopt, *numberError};

    ChannelFrame frame = hexByte(numberByte);
    frame += "00"; // reserved

    // 3. Receive frequency, stored below the dial by the receive offset.
    const auto rxSteps = numericValue(record[RxFrequency]).scaledRounded(kFrequencyDecimals);
    if (!rxSteps || *rxSteps - kReceiveOffset < 0 || *rxSteps - kReceiveOffset > kEightDigitMax)
        return failure(RxFrequency, EncodeFault::FrequencyOutOfRange);
    frame += bcdLittleEndian(*rxSteps - kReceiveOffset, 8);

    // 4. Receive tone.
    if (auto error = encodeTone(record, RxTone, RxDcs, frame))
        return {std::nullopt, *error};

    // 5. Transmit frequency, kept aside: on the wire it follows BCL and beat.
    std::string transmit = "00000000";
    if (!isNullOrZero(record[TxFrequency])) {
        const auto txSteps = numericValue(record[TxFrequency]).scaledRounded(kFrequencyDecimals);
        if (!txSteps || *txSteps < 0 || *txSteps > kEightDigitMax)
            return failure(TxFrequency, EncodeFault::FrequencyOutOfRange);
        transmit = bcdLittleEndian(*txSteps, 8);
    }

    // 6. Transmit tone, also kept aside.
    std::string transmitTone;
    if (auto error = encodeTone(record, TxTone, TxDcs, transmitTone))
        return {std::nullopt, *error};

    // 7. BCL byte. "off", the blank and Null all read as 0.
    const Decimal bcl = numericValue(record[Bcl]);
    if (bcl.isZero())
        frame += "00";
    else if (bcl == Decimal::fromInteger(1))
        frame += "01";
    else if (bcl == Decimal::fromInteger(2))
        frame += "02";
    else
        return failure(Bcl, EncodeFault::BclInvalid);

    // 8. Beat-shift byte: only the exact picker text switches it on.
    frame += textOf(record[Beat]) == "on" ? "80" : "00";

    // 9. Transmit frequency and tone close the frame.
    frame += transmit;
    frame += transmitTone;
    return {frame, {}};
}

void DecodedFields::applyTo(ChannelRecord &record) const
{
    for (int field = RxFrequency; field < kFieldCount; ++field)
        record[std::size_t(field)] = at(Field(field));
}

DecodeResult decodeChannelFrame(std::string_view frame)
{
    if (frame.size() != kFrameLength)
        return malformed({DecodeFault::WrongLength, frame.size(), 0, '\0', std::nullopt});
    Reader in{std::string(frame)};
    for (std::size_t k = 0; k < kFrameLength; ++k) {
        char &c = in.frame[k];
        if (!isHexDigit(c))
            return malformed({DecodeFault::NotHexadecimal, frame.size(), k + 1, c, std::nullopt});
        if (c >= 'a' && c <= 'f')
            c = char(c - 'a' + 'A');
    }

    DecodedFields out;

    // 1. Number byte 00: an empty channel, whatever the other bytes hold.
    if (in.chars(1) == "00")
        return {out, {}};

    // 2. Receive value; zero also marks an empty channel.
    std::int64_t rx = 0;
    if (auto error = in.bcd({11, 9, 7, 5}, RxFrequency, rx))
        return malformed(*error);
    if (rx == 0)
        return {out, {}};

    // 3. Receive frequency, back above the receive offset.
    out.at(RxFrequency) = frequencyText(rx + kReceiveOffset);

    // 4. Scan: the top bit of the number byte.
    out.at(Scan) = hexValue(in.frame[0]) >= 8 ? "del" : "add";

    // 5. Receive tone.
    if (auto error = in.tone(13, RxTone, RxDcs, out))
        return malformed(*error);

    // 6. Transmit frequency.
    std::int64_t tx = 0;
    if (auto error = in.bcd({27, 25, 23, 21}, TxFrequency, tx))
        return malformed(*error);
    out.at(TxFrequency) = tx == 0 ? "" : frequencyText(tx);

    // 7. Transmit tone.
    if (auto error = in.tone(29, TxTone, TxDcs, out))
        return malformed(*error);

    // 8. BCL: the setting's digit, or "off".
    const Decimal bcl = Decimal::leadingNumber(in.chars(17));
    out.at(Bcl) = bcl.isZero() ? "off" : bcl.toShortestText();

    // 9. Beat shift.
    out.at(Beat) = Decimal::leadingNumber(in.chars(19)).isZero() ? "off" : "on";

    return {out, {}};
}

} // namespace vq
