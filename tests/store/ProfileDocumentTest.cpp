#include "store/ProfileDocument.h"

#include <gtest/gtest.h>

#include "platform/Error.h"
#include "support/TestFiles.h"

namespace pimvesk {
namespace {

using test::J;

struct ReadCase {
    const char* name;
    std::string file;
    std::string section;
    std::string key;
    std::optional<std::string> value;
};

// Files as the Windows profile functions write and read them.
TEST(ProfileDocument, ReadingRules) {
    const ReadCase cases[] = {
        {"plain", "[option]\r\novuave=14\r\n", "option", "ovuave", "14"},
        {"LF only", "[option]\novuave=14\n", "option", "ovuave", "14"},
        {"CR only", "[option]\rovuave=14\rperiod=6\r", "option", "period", "6"},
        {"no final break", "[option]\r\novuave=14", "option", "ovuave", "14"},
        {"blanks trimmed", "  [ option ]  \r\n\t ovuave \t=\v 14 \r\n", "option", "ovuave", "14"},
        {"empty value", "[a]\r\nk=\r\n", "a", "k", ""},
        {"double quotes", "[a]\r\nk=\" x \"\r\n", "a", "k", " x "},
        {"single quotes", "[a]\r\nk='x'\r\n", "a", "k", "x"},
        {"one quote pair only", "[a]\r\nk=\"\"x\"\"\r\n", "a", "k", "\"x\""},
        {"mismatched quotes", "[a]\r\nk=\"x'\r\n", "a", "k", "\"x'"},
        {"lone quote", "[a]\r\nk=\"\r\n", "a", "k", "\""},
        {"first = splits", "[a]\r\nk=b=c\r\n", "a", "k", "b=c"},
        {"section case", "[Option]\r\nOvuAve=3\r\n", "OPTION", "ovuave", "3"},
        {"first section wins", "[a]\r\nk=1\r\n[A]\r\nk=2\r\nj=3\r\n", "a", "k", "1"},
        {"later duplicate section unseen", "[a]\r\nk=1\r\n[a]\r\nj=3\r\n", "a", "j", std::nullopt},
        {"first key wins", "[a]\r\nk=1\r\nK=2\r\n", "a", "k", "1"},
        {"comment", "[a]\r\n;k=1\r\n", "a", ";k", std::nullopt},
        {"line without =", "[a]\r\nk\r\n", "a", "k", std::nullopt},
        {"key before any section", "k=1\r\n[a]\r\n", "a", "k", std::nullopt},
        {"rest of header ignored", "[a] trailing=1\r\nk=1\r\n", "a", "k", "1"},
        {"unclosed header", "[a b\r\nk=1\r\n", "a b", "k", "1"},
        {"trail byte ] in name", J("[ゾ]") + "\r\nk=1\r\n", J("ゾ"), "k", "1"},
        {"UTF-8 byte-order mark", "\xEF\xBB\xBF[a]\r\nk=1\r\n", "a", "k", "1"},
        {"NUL inside a value", std::string("[a]\r\nk=x\0y\r\n", 12), "a", "k",
         std::string("x\0y", 3)},
        {"missing section", "[a]\r\nk=1\r\n", "b", "k", std::nullopt},
    };
    for (const ReadCase& c : cases) {
        const ProfileDocument document(c.file);
        EXPECT_EQ(document.Find(c.section, c.key), c.value) << c.name;
    }
}

TEST(ProfileDocument, CaseFoldsAsciiLettersButNeverTrailBytes) {
    // ア is 0x83 0x41 and ヂ 0x83 0x61: they differ only in the "case" of the trail byte.
    const ProfileDocument document("[" + J("ア") + "]\r\nk=1\r\n[" + J("ヂ") + "]\r\nk=2\r\n");
    EXPECT_EQ(document.Find(J("ア"), "k"), "1");
    EXPECT_EQ(document.Find(J("ヂ"), "k"), "2");
    EXPECT_EQ(FoldName("Cat1Col"), "cat1col");
    EXPECT_EQ(FoldName(J("ア") + "A"), J("ア") + "a");
}

TEST(ProfileDocument, SectionNamesAndValuesInFileOrder) {
    const ProfileDocument document(
        "[b]\r\nx=1\r\ny=\"2\"\r\nX=3\r\n[a]\r\n[B]\r\nz=4\r\n[036022]\r\n");
    EXPECT_EQ(document.SectionNames(), (std::vector<std::string>{"b", "a", "036022"}));
    const ProfileDocument::KeyValues expected{{"x", "1"}, {"y", "2"}};
    EXPECT_EQ(document.SectionValues("B"), expected);
    EXPECT_TRUE(document.SectionValues("none").empty());
}

struct WriteCase {
    const char* name;
    std::string before;
    std::string after;
};

void ExpectWrite(const WriteCase& c, const std::function<bool(ProfileDocument&)>& change) {
    ProfileDocument document(c.before);
    const bool changed = change(document);
    EXPECT_EQ(document.Serialize(), c.after) << c.name;
    EXPECT_EQ(changed, c.before != c.after) << c.name;
    // What we write reads the same when parsed afresh.
    EXPECT_EQ(ProfileDocument(document.Serialize()).Serialize(), c.after) << c.name;
}

TEST(ProfileDocument, SetKeepsUntouchedLinesByteForByte) {
    const WriteCase cases[] = {
        {"new file", "", "[a]\r\nk=v\r\n"},
        {"replace keeps spelling and endings", "; hi\n[A]\nK = old\nj=1\r",
         "; hi\n[A]\nK =v\nj=1\r"},
        {"same value touches nothing", "[a]\nk = v \n", "[a]\nk = v \n"},
        {"quoted same value touches nothing", "[a]\nk=\"v\"\n", "[a]\nk=\"v\"\n"},
        {"new key after the last key line", "[a]\r\nx=1\r\n\r\n;c\r\n[b]\r\n",
         "[a]\r\nx=1\r\nk=v\r\n\r\n;c\r\n[b]\r\n"},
        {"new key in an empty section", "[a]\r\n[b]\r\n", "[a]\r\nk=v\r\n[b]\r\n"},
        {"new key, no final break", "[a]\r\nx=1", "[a]\r\nx=1\r\nk=v\r\n"},
        {"new section, no final break", "[b]\r\nx=1", "[b]\r\nx=1\r\n[a]\r\nk=v\r\n"},
        {"first of duplicate sections", "[a]\r\nx=1\r\n[a]\r\nk=2\r\n",
         "[a]\r\nx=1\r\nk=v\r\n[a]\r\nk=2\r\n"},
        {"first of duplicate keys", "[a]\r\nk=1\r\nk=2\r\n", "[a]\r\nk=v\r\nk=2\r\n"},
    };
    for (const WriteCase& c : cases) {
        ExpectWrite(c, [](ProfileDocument& d) { return d.Set("a", "k", "v"); });
    }
}

TEST(ProfileDocument, ValuesReadBackExactlyAsWritten) {
    const std::string values[] = {"",
                                  " lead",
                                  "trail ",
                                  "\tboth\t",
                                  "\"q\"",
                                  "'q'",
                                  "\"",
                                  "'",
                                  "\"\"",
                                  "a\"",
                                  "x=y",
                                  J("ぴむべ～すく"),
                                  std::string(3000, 'm'),
                                  J("ゾ") + "]"};
    for (const std::string& value : values) {
        ProfileDocument document;
        document.Set("memo", "cat1", value);
        EXPECT_EQ(ProfileDocument(document.Serialize()).Find("memo", "cat1"), value) << value;
    }
}

TEST(ProfileDocument, RefusesWhatWouldBreakTheFile) {
    struct Case {
        std::string section, key, value;
    };
    const Case cases[] = {
        {"a\r", "k", "v"},
        {"a\n", "k", "v"},
        {std::string("a\0", 2), "k", "v"},
        {"a]b", "k", "v"},
        {"", "k", "v"},
        {" a", "k", "v"},
        {"a", "", "v"},
        {"a", "k=x", "v"},
        {"a", ";k", "v"},
        {"a", "[k", "v"},
        {"a", "k\n", "v"},
        {"a", " k", "v"},
        {"a\x83", "k", "v"},
        {"a", "k", "v\r"},
        {"a", "k", "v\nw"},
        {"a", "k", std::string("v\0", 2)},
    };
    for (const Case& c : cases) {
        ProfileDocument document("[a]\r\nk=1\r\n");
        EXPECT_THROW(document.Set(c.section, c.key, c.value), Error) << c.section << "/" << c.key;
        EXPECT_EQ(document.Serialize(), "[a]\r\nk=1\r\n");
    }
    // A name that only looks like it has a ']' because of a trail byte is fine.
    ProfileDocument document;
    EXPECT_NO_THROW(document.Set(J("ゾ"), "k", "v"));
}

TEST(ProfileDocument, RemoveKeyAndSection) {
    const WriteCase keyCases[] = {
        {"only line", "[a]\r\nk=1\r\nj=2\r\n", "[a]\r\nj=2\r\n"},
        {"duplicates all go", "[a]\r\nk=1\r\nj=2\r\nK=3\r\n", "[a]\r\nj=2\r\n"},
        {"other section untouched", "[a]\r\nj=2\r\n[b]\r\nk=1\r\n", "[a]\r\nj=2\r\n[b]\r\nk=1\r\n"},
        {"missing", "[a]\r\nj=2\r\n", "[a]\r\nj=2\r\n"},
    };
    for (const WriteCase& c : keyCases) {
        ExpectWrite(c, [](ProfileDocument& d) { return d.RemoveKey("a", "k"); });
    }
    const WriteCase sectionCases[] = {
        {"header and keys", "[b]\r\nx=1\r\n[a]\r\nk=1\r\n;c\r\n[c]\r\n", "[b]\r\nx=1\r\n[c]\r\n"},
        {"every duplicate", "[a]\r\nk=1\r\n[b]\r\n[A]\r\nk=2\r\n", "[b]\r\n"},
        {"missing", "[b]\r\n", "[b]\r\n"},
    };
    for (const WriteCase& c : sectionCases) {
        ExpectWrite(c, [](ProfileDocument& d) { return d.RemoveSection("a"); });
    }
}

TEST(ProfileDocument, NewKeysFollowTheLastKeyAfterRemovals) {
    ProfileDocument document("[date]\r\n0=1\r\n1=2\r\ncount=2\r\n\r\n[color]\r\n");
    document.RemoveKey("date", "count");
    document.RemoveKey("date", "1");
    document.Set("date", "5", "9");
    document.RemoveKey("date", "0");
    document.RemoveKey("date", "5");
    document.Set("date", "count", "0");
    EXPECT_EQ(document.Serialize(), "[date]\r\ncount=0\r\n\r\n[color]\r\n");
}

// Removing many keys in one walk ends exactly where removing them one by one
// does: same bytes, same place for the next new key, same duplicates read.
TEST(ProfileDocument, RemoveKeysIfActsAsRemoveKeyOfEachPickedName) {
    const std::string files[] = {
        "[date]\r\n0=1\r\n1=2\r\ncount=2\r\n",
        "[date]\r\ncount=2\r\n0=1\r\n;c\r\n1=2\r\n\r\n[color]\r\nback=1\r\n",
        "[date]\r\n1=2\r\nx=9\r\n0=1\r\n1=dup\r\n7=8\r\n[DATE]\r\n0=other\r\n",
        "[date]\n0=1\n1=2",
        "[date]\r\n0=1\r\n1=2\r\n",
        "[color]\r\nback=1\r\n",
    };
    const auto picked = [](std::string_view key) { return key == "0" || key == "1"; };
    for (const std::string& file : files) {
        ProfileDocument oneByOne(file);
        for (const auto& [key, value] : ProfileDocument(file).SectionValues("date")) {
            if (picked(key)) {
                oneByOne.RemoveKey("date", key);
            }
        }
        ProfileDocument inOneWalk(file);
        EXPECT_EQ(inOneWalk.RemoveKeysIf("date", picked), oneByOne.Serialize() != file) << file;
        EXPECT_EQ(inOneWalk.Serialize(), oneByOne.Serialize()) << file;
        EXPECT_EQ(inOneWalk.SectionValues("date"), oneByOne.SectionValues("date")) << file;
        oneByOne.Set("date", "0", "new");
        inOneWalk.Set("date", "0", "new");
        oneByOne.Set("date", "x", "x2");
        inOneWalk.Set("date", "x", "x2");
        EXPECT_EQ(inOneWalk.Serialize(), oneByOne.Serialize()) << file;
    }
}

// Taking out the line between one that ends in a lone CR and an empty line
// ending in LF leaves CR LF: the document goes on as a fresh read of its bytes,
// one line ending in CRLF, and later writes land where they land in that read.
TEST(ProfileDocument, ARemovalThatJoinsCrAndLfActsAsTheFileReadsAfresh) {
    const std::string file = "[a]\rk=1\r\n\n[b]\r\n";
    const std::vector<std::function<void(ProfileDocument&)>> removals = {
        [](ProfileDocument& d) { d.RemoveKey("a", "k"); },
        [](ProfileDocument& d) {
            d.RemoveKeysIf("a", [](std::string_view key) { return key == "k"; });
        },
    };
    for (const auto& remove : removals) {
        ProfileDocument document(file);
        remove(document);
        EXPECT_EQ(document.Serialize(), "[a]\r\n[b]\r\n");
        // The new key follows the header's CRLF, not its CR.
        document.Set("a", "n", "3");
        EXPECT_EQ(document.Serialize(), "[a]\r\nn=3\r\n[b]\r\n");
    }
}

TEST(ProfileDocument, CopiesAreIndependent) {
    ProfileDocument original("[a]\r\nk=1\r\n");
    ProfileDocument copy = original;
    copy.Set("a", "k", "2");
    copy.Set("a", "j", "3");
    EXPECT_EQ(original.Find("a", "k"), "1");
    EXPECT_EQ(copy.Serialize(), "[a]\r\nk=2\r\nj=3\r\n");
}

}  // namespace
}  // namespace pimvesk
