#include "platform/Cp932.h"

#include <gtest/gtest.h>

namespace pimvesk {
namespace {

TEST(Cp932, RoundTripsTheProgramsOwnTexts) {
    // The marks, the ASCII range (0x5C stays a backslash), an NEC row character.
    const std::string samples[] = {"☆×！", "ぴむべ～すく ばーじょん 1.0", "C:\\Tools\\~", "①",
                                   "メモ1"};
    for (const std::string& utf8 : samples) {
        const auto cp932 = Utf8ToCp932(utf8);
        ASSERT_TRUE(cp932) << utf8;
        EXPECT_EQ(Cp932ToUtf8(*cp932), utf8);
    }
    EXPECT_EQ(*Utf8ToCp932("☆"), "\x81\x99");
    EXPECT_EQ(*Utf8ToCp932("×"), "\x81\x7E");
    EXPECT_EQ(*Utf8ToCp932("！"), "\x81\x49");
}

TEST(Cp932, RefusesWhatItCannotHold) {
    EXPECT_FALSE(Utf8ToCp932("memo 😀"));
    EXPECT_FALSE(Utf8ToCp932("\xFF"));  // not UTF-8
}

TEST(Cp932, UndecodableBytesShowAsReplacement) {
    EXPECT_EQ(Cp932ToUtf8("a\x83"), "a\xEF\xBF\xBD");  // a double-byte character cut off
    EXPECT_EQ(Cp932ToUtf8(std::string("a\0b", 3)), std::string("a\0b", 3));
    EXPECT_EQ(Cp932ToUtf8(""), "");
}

TEST(Cp932, LeadBytes) {
    EXPECT_TRUE(IsCp932LeadByte(0x81));
    EXPECT_TRUE(IsCp932LeadByte(0x9F));
    EXPECT_TRUE(IsCp932LeadByte(0xE0));
    EXPECT_TRUE(IsCp932LeadByte(0xFC));
    EXPECT_FALSE(IsCp932LeadByte(0x80));
    EXPECT_FALSE(IsCp932LeadByte(0xA0));
    EXPECT_FALSE(IsCp932LeadByte(0xB1));  // half-width katakana is one byte
    EXPECT_FALSE(IsCp932LeadByte(']'));
}

}  // namespace
}  // namespace pimvesk
