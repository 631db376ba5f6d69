#include "platform/IntText.h"

#include <gtest/gtest.h>

#include "platform/Error.h"

namespace pimvesk {
namespace {

TEST(StrToInt, AcceptedTexts) {
    struct Case {
        const char* text;
        int32_t value;
    };
    const Case cases[] = {
        {"0", 0},
        {"36022", 36022},
        {"036022", 36022},
        {"+7", 7},
        {"-7", -7},
        {"  12", 12},
        {"\t12", 12},
        {"$1F", 31},
        {"x1f", 31},
        {"X1F", 31},
        {"0x10", 16},
        {"0X10", 16},
        {"-$10", -16},
        {"2147483647", 2147483647},
        {"-2147483648", -2147483647 - 1},
        {"0x7FFFFFFF", 2147483647},
        {"-0x80000000", -2147483647 - 1},
        {"00000000000000000001", 1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(TryStrToInt(c.text), c.value) << c.text;
    }
}

TEST(StrToInt, RefusedTexts) {
    const char* cases[] = {"",    " ",          "-",           "+",          "abc",
                           "1a",  "12 ",        "1 2",         "$",          "0x",
                           "x",   "2147483648", "-2147483649", "0x80000000", "99999999999999999999",
                           "--1", "1.5",        "１",          "0b1",        "$-1"};
    for (const char* text : cases) {
        EXPECT_FALSE(TryStrToInt(text)) << text;
    }
}

TEST(StrToInt, ErrorShowsTheTextDecoded) {
    try {
        StrToInt("1a");
        FAIL() << "no error";
    } catch (const Error& error) {
        EXPECT_STREQ(error.what(), "'1a' は整数ではありません");
    }
    try {
        StrToInt("\x83\x81\x83\x82");  // メモ in CP932
        FAIL() << "no error";
    } catch (const Error& error) {
        EXPECT_STREQ(error.what(), "'メモ' は整数ではありません");
    }
    // A NUL would end the message as a C string, before its reason.
    try {
        StrToInt(std::string_view("1\0 2", 4));
        FAIL() << "no error";
    } catch (const Error& error) {
        EXPECT_STREQ(error.what(), "'1\uFFFD 2' は整数ではありません");
    }
}

}  // namespace
}  // namespace pimvesk
