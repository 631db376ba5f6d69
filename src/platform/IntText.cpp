#include "platform/IntText.h"

#include "platform/Cp932.h"
#include "platform/Error.h"

namespace pimvesk {

namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

}  // namespace

std::optional<int32_t> TryStrToInt(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    int base = 10;
    if (i < text.size() && (text[i] == '$' || text[i] == 'x' || text[i] == 'X')) {
        base = 16;
        ++i;
    } else if (i + 1 < text.size() && text[i] == '0' &&
               (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i == text.size()) {
        return std::nullopt;
    }
    // The magnitude is kept below 2^32, so it never overflows.
    constexpr int64_t kMax = int64_t{1} << 31;
    int64_t value = 0;
    for (; i < text.size(); ++i) {
        const int digit = base == 16 ? HexDigit(text[i])
                                     : (text[i] >= '0' && text[i] <= '9' ? text[i] - '0' : -1);
        if (digit < 0) {
            return std::nullopt;
        }
        value = value * base + digit;
        if (value > kMax) {
            return std::nullopt;
        }
    }
    if (negative) {
        value = -value;
    }
    if (value >= kMax) {
        return std::nullopt;
    }
    return static_cast<int32_t>(value);
}

int32_t StrToInt(std::string_view cp932Text) {
    if (auto value = TryStrToInt(cp932Text)) {
        return *value;
    }
    throw Error(NotAnIntegerMessage(Cp932ToUtf8(cp932Text)));
}

std::string IntToStr(int64_t value) {
    return std::to_string(value);
}

}  // namespace pimvesk
