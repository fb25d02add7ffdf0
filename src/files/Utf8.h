#pragma once

#include <cstddef>
#include <string_view>

namespace vq {

// Length of the well-formed UTF-8 sequence at text[i], 0 if there is none.
std::size_t utf8Length(std::string_view text, std::size_t i);

// Well-formed UTF-8 without overlong forms, surrogates or values past
// U+10FFFF; anything else is taken for binary data.
bool isValidUtf8(std::string_view text);

} // namespace vq
