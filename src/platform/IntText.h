#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace pimvesk {

// Optional leading blanks, an optional sign, then decimal digits (leading zeros
// allowed) or a hexadecimal number after "$", "x", "X", "0x" or "0X"; nothing may
// follow and the value must fit a signed 32-bit integer.
std::optional<int32_t> TryStrToInt(std::string_view text);

// As TryStrToInt, raising "'%s' は整数ではありません" on failure. The text is taken as
// CP932, the program's own encoding, and shown decoded in the message.
int32_t StrToInt(std::string_view cp932Text);

std::string IntToStr(int64_t value);

}  // namespace pimvesk
