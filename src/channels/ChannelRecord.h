#pragma once

#include <array>
#include <optional>
#include <string>

namespace vq {

// One field of the channel table: a text (UTF-8), or no value at all
// (database Null). Null and the empty text are different things in the
// store and stay different here.
using FieldValue = std::optional<std::string>;

// The shape of a channel plan: the radio holds 50 channels of ten fields;
// frequencies are kept in MHz with five decimals (10 Hz units).
inline constexpr int kChannelCount = 50;
inline constexpr int kFieldCount = 10;
inline constexpr int kFrequencyDecimals = 5;

// Field positions of the channel record; every reader and writer addresses
// fields by these positions, never by name.
enum Field : int {
    ChannelNumber = 0, // 信道号
    RxFrequency = 1,   // 接收频率
    RxTone = 2,        // 收哑音
    RxDcs = 3,         // 收数字哑音
    TxFrequency = 4,   // 发送频率
    TxTone = 5,        // 发哑音
    TxDcs = 6,         // 发数字哑音
    Scan = 7,          // 扫描
    Bcl = 8,           // BCL
    Beat = 9,          // 拍频
};

using ChannelRecord = std::array<FieldValue, kFieldCount>;

// Null counts as the empty text wherever a field is tested.
inline std::string textOf(const FieldValue &value)
{
    return value.value_or(std::string());
}

} // namespace vq
