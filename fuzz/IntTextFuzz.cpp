// Integer text: TryStrToInt against a reference written from the rules,
// StrToInt agreeing with it, and every value written reading back.
#include <cstdint>
#include <cstdlib>
#include <iostream>
#include <optional>
#include <string>

#include "platform/Error.h"
#include "platform/IntText.h"

namespace {

[[noreturn]] void Fail(const std::string& what, const std::string& text) {
    std::cerr << "int fuzz: " << what << " for '" << text << "'\n";
    std::abort();
}

int DigitValue(char c, int base) {
    int value = 99;
    if (c >= '0' && c <= '9') {
        value = c - '0';
    } else if (c >= 'a' && c <= 'f') {
        value = c - 'a' + 10;
    } else if (c >= 'A' && c <= 'F') {
        value = c - 'A' + 10;
    }
    return value < base ? value : -1;
}

// Blanks (space, tab), a sign, then decimal digits or "$", "x", "X", "0x",
// "0X" and hexadecimal digits, nothing after; the value fits 32 signed bits.
std::optional<int32_t> Reference(const std::string& text) {
    size_t i = text.find_first_not_of(" \t");
    if (i == std::string::npos) {
        return std::nullopt;
    }
    bool negative = false;
    if (text[i] == '+' || text[i] == '-') {
        negative = text[i] == '-';
        ++i;
    }
    int base = 10;
    if (text.compare(i, 2, "0x") == 0 || text.compare(i, 2, "0X") == 0) {
        base = 16;
        i += 2;
    } else if (i < text.size() && (text[i] == '$' || text[i] == 'x' || text[i] == 'X')) {
        base = 16;
        i += 1;
    }
    const std::string digits = text.substr(std::min(i, text.size()));
    if (digits.empty()) {
        return std::nullopt;
    }
    int64_t value = 0;
    for (char c : digits) {
        const int digit = DigitValue(c, base);
        if (digit < 0) {
            return std::nullopt;
        }
        value = value * base + digit;
        if (value > (int64_t{1} << 40)) {
            value = int64_t{1} << 40;  // far out of range; stop growing
        }
    }
    if (negative) {
        value = -value;
    }
    if (value < INT32_MIN || value > INT32_MAX) {
        return std::nullopt;
    }
    return static_cast<int32_t>(value);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    using namespace pimvesk;
    const std::string text(reinterpret_cast<const char*>(bytes), size);
    const std::optional<int32_t> got = TryStrToInt(text);
    if (got != Reference(text)) {
        Fail("TryStrToInt differs from the rules", text);
    }
    try {
        const int32_t strict = StrToInt(text);
        if (!got || strict != *got) {
            Fail("StrToInt accepted what TryStrToInt refuses", text);
        }
    } catch (const Error& error) {
        if (got) {
            Fail("StrToInt refused a number", text);
        }
        if (std::string(error.what()).find("は整数ではありません") == std::string::npos) {
            Fail("StrToInt's message", text);
        }
    }
    if (got && TryStrToInt(IntToStr(*got)) != got) {
        Fail("a written number does not read back", text);
    }
    return 0;
}
