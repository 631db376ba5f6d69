#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace pimvesk {

// CP932, the Microsoft variant of Shift-JIS, is the encoding of every stored text.

// A byte that opens a double-byte character.
inline bool IsCp932LeadByte(unsigned char byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

// For display: a byte that does not decode becomes U+FFFD; the rest is kept.
std::string Cp932ToUtf8(std::string_view cp932);

// Nothing when the text holds a character CP932 cannot hold (or is not UTF-8).
std::optional<std::string> Utf8ToCp932(std::string_view utf8);

}  // namespace pimvesk
