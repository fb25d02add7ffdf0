#include "files/ChannelFile.h"

#include "channels/Decimal.h"
#include "channels/FrequencyRules.h"
#include "files/Utf8.h"

namespace vq {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr int kItemsPerRow = kFieldCount - 1;

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool isControl(unsigned char c)
{
    return c < 0x20 || c == 0x7F;
}

bool isContinuation(unsigned char c)
{
    return (c & 0xC0) == 0x80;
}

std::size_t characterCount(std::string_view text)
{
    std::size_t count = 0;
    for (char c : text)
        if (!isContinuation(static_cast<unsigned char>(c)))
            ++count;
    return count;
}

std::string_view trimmed(std::string_view item)
{
    while (!item.empty() && isBlank(item.front()))
        item.remove_prefix(1);
    while (!item.empty() && isBlank(item.back()))
        item.remove_suffix(1);
    return item;
}

} // namespace

std::string writeChannelFile(std::span<const ChannelRecord, kChannelFileRows> rows)
{
    std::string out;
    for (const ChannelRecord &row : rows) {
        for (int field = RxFrequency; field <= Beat; ++field) {
            if (const FieldValue &value = row[static_cast<std::size_t>(field)])
                out += *value;
            out += ',';
        }
    }
    return out;
}

ChannelFileReading readChannelFile(std::string_view bytes)
{
    if (bytes.size() > kMaxChannelFileBytes)
        bytes = bytes.substr(0, kMaxChannelFileBytes);
    if (bytes.starts_with(kByteOrderMark))
        bytes.remove_prefix(kByteOrderMark.size());

    ChannelFileRows rows{};
    std::size_t pos = 0;
    for (int index = 0; index < kChannelFileItems; ++index) {
        const int itemNumber = index + 1;
        const std::size_t comma = bytes.find(',', pos);
        const std::string_view raw =
            bytes.substr(pos, comma == std::string_view::npos ? std::string_view::npos : comma - pos);
        const std::string_view item = trimmed(raw);
        // Binary data is named as such even when it also lacks commas.
        if (!isValidUtf8(raw))
            return {std::nullopt, ChannelFileError::NotText, itemNumber};
        for (char c : item)
            if (isControl(static_cast<unsigned char>(c)))
                return {std::nullopt, ChannelFileError::NotText, itemNumber};
        if (comma == std::string_view::npos)
            return {std::nullopt, ChannelFileError::TooFewItems, itemNumber};
        pos = comma + 1;

        const auto number = Decimal::parsePlain(item);
        std::string text = number ? number->toShortestText() : std::string(item);

        const auto row = static_cast<std::size_t>(index / kItemsPerRow);
        const auto field = static_cast<Field>(index % kItemsPerRow + 1);
        if (field == RxFrequency || field == TxFrequency) {
            if (!text.empty()) {
                if (!number)
                    return {std::nullopt, ChannelFileError::BadFrequency, itemNumber};
                const auto units = number->scaledRounded(kFrequencyDecimals);
                if (!units)
                    return {std::nullopt, ChannelFileError::BadFrequency, itemNumber};
                // A frequency of 0 means none, which is the empty text, not ".00000".
                text = *units == 0 ? std::string() : formatFrequency(*number).value_or("");
            }
        } else if (field == RxDcs || field == TxDcs) {
            // A code read as a number has lost its leading zero.
            if (characterCount(text) == 2)
                text.insert(0, 1, '0');
        }
        rows[row][static_cast<std::size_t>(field)] = std::move(text);
    }
    return {rows, ChannelFileError::None, 0};
}

} // namespace vq
