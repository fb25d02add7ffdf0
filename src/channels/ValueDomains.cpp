#include "channels/ValueDomains.h"

#include "channels/Decimal.h"

namespace vq {

const std::array<std::string_view, 39> &ctcssTones()
{
    static const std::array<std::string_view, 39> tones = {
        "67.0",  "69.3",  "71.9",  "74.4",  "77.0",  "79.7",  "82.5",  "85.4",  "88.5",  "91.5",
        "94.8",  "97.4",  "100.0", "103.5", "107.2", "110.9", "114.8", "118.8", "123.0", "127.3",
        "131.8", "136.5", "141.3", "146.2", "151.4", "156.7", "162.2", "167.9", "173.8", "179.9",
        "186.2", "192.8", "203.5", "210.7", "218.1", "225.7", "233.6", "241.8", "250.3"};
    return tones;
}

const std::array<std::string_view, kDcsSlots> &dcsCodes()
{
    static const std::array<std::string_view, kDcsSlots> codes = [] {
        static constexpr std::array<std::string_view, kDcsCodeCount> list = {
            "023", "025", "026", "031", "032", "043", "047", "051", "054", "065", "071", "072", "073", "074",
            "114", "115", "116", "125", "131", "132", "134", "143", "152", "155", "156", "162", "165", "172",
            "174", "205", "223", "226", "243", "244", "245", "251", "261", "263", "265", "271", "306", "311",
            "315", "331", "343", "346", "351", "364", "365", "371", "411", "412", "413", "423", "431", "432",
            "445", "464", "465", "466", "503", "506", "516", "532", "546", "565", "606", "612", "624", "627",
            "631", "632", "654", "662", "664", "703", "712", "723", "731", "732", "734", "743", "754"};
        std::array<std::string_view, kDcsSlots> slots{};
        for (int i = 0; i < kDcsCodeCount; ++i)
            slots[static_cast<std::size_t>(i) + 1] = list[static_cast<std::size_t>(i)];
        return slots;
    }();
    return codes;
}

int dcsPosition(std::string_view code)
{
    // Only slots 1 … 83 hold codes; an empty text must not match the empty
    // slots around them.
    for (int slot = 1; slot <= kDcsCodeCount; ++slot)
        if (dcsCodes()[static_cast<std::size_t>(slot)] == code)
            return slot;
    return 0;
}

const std::array<std::string_view, 3> &scanValues()
{
    static const std::array<std::string_view, 3> values = {"add", "del", " "};
    return values;
}

const std::array<std::string_view, 4> &bclValues()
{
    static const std::array<std::string_view, 4> values = {"off", "1", "2", " "};
    return values;
}

const std::array<std::string_view, 3> &beatValues()
{
    static const std::array<std::string_view, 3> values = {"off", "on", " "};
    return values;
}

const std::array<std::string_view, kFieldCount> &fieldNames()
{
    static const std::array<std::string_view, kFieldCount> names = {
        "信道号", "接收频率",   "收哑音", "收数字哑音", "发送频率",
        "发哑音", "发数字哑音", "扫描",   "BCL",        "拍频"};
    return names;
}

const std::array<std::string_view, kFieldCount> &columnCaptions()
{
    static const std::array<std::string_view, kFieldCount> captions = {
        "信道号        ", "接收频率 (MHz)    ", "哑音(Hz)          ", "数字哑音          ",
        "发送频率 (MHz)", "哑音(Hz)          ", "数字哑音          ", "扫描     ",
        "BCL     ",       "拍频      "};
    return captions;
}

const std::array<double, kFieldCount> &columnWidthsTwips()
{
    static const std::array<double, kFieldCount> widths = {824.88,  1214.93, 1019.91, 1035.21, 1244.98,
                                                           1035.21, 1019.91, 764.79,  720.00,  734.74};
    return widths;
}

bool isBlankText(std::string_view text)
{
    return text.find_first_not_of(" \t") == std::string_view::npos;
}

std::string_view trimmedText(std::string_view text)
{
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return text;
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

bool isNoTone(const FieldValue &value)
{
    return !value || Decimal::leadingNumber(*value).isZero();
}

} // namespace vq
