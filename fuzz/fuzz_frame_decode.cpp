// libFuzzer harness: reading one channel frame.
//
// Checked beyond "no crash":
//  - a refused frame carries a fault that points at the first offending
//    character, and its message is not empty;
//  - case does not matter to a frame made of hexadecimal characters;
//  - a frame that reads puts back (under channel 1) into either a
//    well-formed 32-character upper-case frame or a clean encode error;
//  - a frame that was put back reads to the very same fields again.
// Inputs that are not frame-sized also serve as records (ten comma-separated
// texts, channel number first), so putting arbitrary cell texts into a
// frame is exercised too: the result is a well-formed frame that reads, or
// a clean error.
#include "FuzzCheck.h"
#include "radio/ChannelFrame.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

bool isHex(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

bool isUpperHex(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F');
}

char upper(char c)
{
    return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c;
}

bool isWellFormed(const std::string &frame)
{
    if (frame.size() != vq::kFrameLength)
        return false;
    for (char c : frame)
        if (!isUpperHex(c))
            return false;
    return true;
}

void checkRefusal(std::string_view input, const vq::DecodeResult &result)
{
    const vq::DecodeError &error = result.error;
    CHECK(error.fault != vq::DecodeFault::None, input);
    CHECK(error.length == input.size(), input);
    if (error.fault == vq::DecodeFault::WrongLength) {
        CHECK(input.size() != vq::kFrameLength, input);
        return;
    }
    CHECK(input.size() == vq::kFrameLength, input);
    CHECK(error.position >= 1 && error.position <= vq::kFrameLength, input);
    // The character is reported upper-cased for a decimal fault only, so
    // compare without case.
    CHECK(upper(error.character) == upper(input[error.position - 1]), input);
    if (error.fault == vq::DecodeFault::NotHexadecimal) {
        CHECK(!isHex(input[error.position - 1]), input);
        for (std::size_t k = 0; k + 1 < error.position; ++k)
            CHECK(isHex(input[k]), input);
        CHECK(!error.field.has_value(), input);
    } else {
        CHECK(error.fault == vq::DecodeFault::NotDecimal, input);
        CHECK(input[error.position - 1] < '0' || input[error.position - 1] > '9', input);
        CHECK(error.field.has_value(), input);
        for (char c : input)
            CHECK(isHex(c), input);
    }
}

// Ten texts separated by commas; missing ones are Null, so Null cells get
// exercised as well.
vq::ChannelRecord recordOf(std::string_view input)
{
    vq::ChannelRecord record{};
    std::size_t field = 0;
    std::size_t start = 0;
    while (field < record.size() && start <= input.size()) {
        const std::size_t comma = input.find(',', start);
        const std::size_t end = comma == std::string_view::npos ? input.size() : comma;
        record[field++] = std::string(input.substr(start, end - start));
        if (comma == std::string_view::npos)
            break;
        start = comma + 1;
    }
    return record;
}

void checkEncoding(std::string_view input)
{
    const vq::ChannelRecord record = recordOf(input);
    const vq::EncodeResult encoded = vq::encodeChannelFrame(record);
    if (!encoded.ok()) {
        CHECK(encoded.error.fault != vq::EncodeFault::None, input);
        CHECK(encoded.error.field >= vq::ChannelNumber && encoded.error.field < vq::kFieldCount, input);
        return;
    }
    CHECK(encoded.error.fault == vq::EncodeFault::None, input);
    CHECK(isWellFormed(*encoded.frame), input);
    // Whatever the program sends, it can read back.
    const vq::DecodeResult decoded = vq::decodeChannelFrame(*encoded.frame);
    CHECK(decoded.ok(), input);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char *>(data), size);
    const vq::DecodeResult first = vq::decodeChannelFrame(input);

    bool allHex = input.size() == vq::kFrameLength;
    for (char c : input)
        allHex = allHex && isHex(c);
    if (allHex) {
        // Upper- and lower-case spellings of one frame read alike.
        std::string flipped(input);
        for (char &c : flipped)
            c = (c >= 'a' && c <= 'f')   ? char(c - 'a' + 'A')
                : (c >= 'A' && c <= 'F') ? char(c - 'A' + 'a')
                                         : c;
        const vq::DecodeResult other = vq::decodeChannelFrame(flipped);
        CHECK(other.ok() == first.ok(), input);
        if (first.ok())
            CHECK(other.fields->values == first.fields->values, input);
        else
            CHECK(other.error.fault == first.error.fault && other.error.position == first.error.position,
                  input);
    }

    if (!first.ok()) {
        checkRefusal(input, first);
        if (first.error.fault == vq::DecodeFault::WrongLength)
            checkEncoding(input);
        return 0;
    }
    CHECK(first.error.fault == vq::DecodeFault::None, input);

    vq::ChannelRecord record{};
    record[vq::ChannelNumber] = "1";
    first.fields->applyTo(record);
    CHECK(!record[vq::ChannelNumber] || *record[vq::ChannelNumber] == "1", input);

    const vq::EncodeResult encoded = vq::encodeChannelFrame(record);
    if (!encoded.ok()) {
        CHECK(encoded.error.fault != vq::EncodeFault::None, input);
        CHECK(encoded.error.field >= vq::ChannelNumber && encoded.error.field < vq::kFieldCount, input);
        return 0;
    }
    CHECK(isWellFormed(*encoded.frame), input);

    const vq::DecodeResult second = vq::decodeChannelFrame(*encoded.frame);
    CHECK(second.ok(), input);
    CHECK(second.fields->values == first.fields->values, input);

    // Putting the same fields back gives the same frame again.
    const vq::EncodeResult again = vq::encodeChannelFrame(record);
    CHECK(again.ok() && *again.frame == *encoded.frame, input);
    return 0;
}
