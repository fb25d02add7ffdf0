// libFuzzer harness: reading a channel file.
//
// Checked beyond "no crash":
//  - a refusal names a fault and an item from 1 to 144 and gives no rows;
//  - an accepted file gives 16 rows with a text in fields 1 … 9 and no
//    value in field 0, and nothing after its 144th comma (or past the
//    reader's byte limit) matters;
//  - saving the rows back (field 0 set, as the store has it) writes
//    exactly 144 commas, ends on one, holds no control character and is
//    text the reader accepts again with the very same stored values, so a
//    second save writes the same bytes.
#include "FuzzCheck.h"
#include "files/ChannelFile.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

bool sameStoredValues(const vq::ChannelFileRows &a, const vq::ChannelFileRows &b)
{
    for (std::size_t row = 0; row < a.size(); ++row)
        for (int field = vq::RxFrequency; field < vq::kFieldCount; ++field)
            if (a[row][std::size_t(field)] != b[row][std::size_t(field)])
                return false;
    return true;
}

// Position just past the 144th comma, or npos.
std::size_t endOfItems(std::string_view bytes)
{
    std::size_t pos = 0;
    for (int item = 0; item < vq::kChannelFileItems; ++item) {
        const std::size_t comma = bytes.find(',', pos);
        if (comma == std::string_view::npos)
            return std::string_view::npos;
        pos = comma + 1;
    }
    return pos;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char *>(data), size);
    const vq::ChannelFileReading reading = vq::readChannelFile(input);

    // Reading only the first kMaxChannelFileBytes gives the same answer.
    if (input.size() > vq::kMaxChannelFileBytes) {
        const vq::ChannelFileReading head = vq::readChannelFile(input.substr(0, vq::kMaxChannelFileBytes));
        CHECK(head.error == reading.error && head.item == reading.item, input);
        CHECK(head.rows.has_value() == reading.rows.has_value(), input);
        if (head.rows)
            CHECK(sameStoredValues(*head.rows, *reading.rows), input);
    }

    if (!reading.rows) {
        CHECK(reading.error != vq::ChannelFileError::None, input);
        CHECK(reading.item >= 1 && reading.item <= vq::kChannelFileItems, input);
        return 0;
    }
    CHECK(reading.error == vq::ChannelFileError::None && reading.item == 0, input);
    for (const vq::ChannelRecord &row : *reading.rows) {
        CHECK(!row[vq::ChannelNumber].has_value(), input);
        for (int field = vq::RxFrequency; field < vq::kFieldCount; ++field)
            CHECK(row[std::size_t(field)].has_value(), input);
    }

    // Whatever follows the 144th comma is never read.
    const std::size_t end = endOfItems(input);
    CHECK(end != std::string_view::npos, input);
    if (end < input.size()) {
        const vq::ChannelFileReading head = vq::readChannelFile(input.substr(0, end));
        CHECK(head.rows && sameStoredValues(*head.rows, *reading.rows), input);
    }

    // Save, as the program does: rows from the store carry their number.
    vq::ChannelFileRows rows = *reading.rows;
    for (std::size_t row = 0; row < rows.size(); ++row)
        rows[row][vq::ChannelNumber] = std::to_string(row + 1);
    const std::string saved = vq::writeChannelFile(rows);

    CHECK(std::count(saved.begin(), saved.end(), ',') == vq::kChannelFileItems, input);
    CHECK(!saved.empty() && saved.back() == ',', input);
    for (char c : saved) {
        const auto byte = static_cast<unsigned char>(c);
        CHECK(byte >= 0x20 && byte != 0x7F, input);
    }

    const vq::ChannelFileReading again = vq::readChannelFile(saved);
    CHECK(again.rows.has_value(), input);
    CHECK(sameStoredValues(*again.rows, *reading.rows), input);
    CHECK(vq::writeChannelFile(*again.rows) == saved, input);
    return 0;
}
