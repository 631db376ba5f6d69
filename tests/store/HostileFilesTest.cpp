// Files no save of ours writes, as a broken disk, another editor or a hand
// edit may leave them. Each loads through the real loaders, the same way every
// time, without a crash or a sanitizer report; what each yields is stated in
// its row.
#include <gtest/gtest.h>

#include "platform/Error.h"
#include "store/Memos.h"
#include "store/Settings.h"
#include "support/StateFixture.h"

namespace pimvesk {
namespace {

using test::J;
using test::ReadBytes;
using test::WriteBytes;

std::string Repeat(std::string_view piece, size_t times) {
    std::string text;
    text.reserve(piece.size() * times);
    for (size_t i = 0; i < times; ++i) {
        text += piece;
    }
    return text;
}

std::string Utf16Le(std::string_view ascii) {
    std::string bytes = "\xFF\xFE";
    for (char c : ascii) {
        bytes += c;
        bytes += '\0';
    }
    return bytes;
}

// A 10 MB section of 1,000-byte lines that no loader reads.
std::string TenMegabytes() {
    const std::string line = "junk=" + std::string(993, 'x') + "\r\n";
    return "[junk]\r\n" + Repeat(line, 10 * 1024 * 1024 / line.size());
}

// A literal with NULs in it, whole.
template <size_t N>
std::string Bytes(const char (&literal)[N]) {
    return std::string(literal, N - 1);
}

std::string DuplicateSections(const char* name, size_t count, const char* body) {
    std::string text;
    for (size_t i = 0; i < count; ++i) {
        text += std::string("[") + name + "]\r\n" + body + std::to_string(i) + "\r\n";
    }
    return text;
}

struct SettingsCase {
    const char* name;
    std::string bytes;
    // What it yields:
    int32_t ovulationDay;
    std::vector<TDateTime> starts;
    std::string category1;  // "" for the default name
    std::string report;     // part of the one message reported, "" for none
    bool saves;             // whether a save may write over it
};

class HostileFiles : public ::testing::Test, protected test::StateFixture {
protected:
    struct Settings {
        int32_t ovulationDay;
        std::vector<TDateTime> starts;
        std::string category1;
        std::vector<std::string> report;
        bool operator==(const Settings&) const = default;
    };
    Settings LoadSettings() {
        VeskState fresh;
        OpenDefaultState(fresh, state.IniPath, fs);
        LoadReport report;
        pimvesk::LoadSettings(fresh, report);
        Settings settings{fresh.OvulationDay, fresh.Periods, fresh.CategoryNames[0],
                          report.Messages()};
        state = std::move(fresh);
        return settings;
    }

    struct Month {
        MemoList memos;
        std::vector<std::string> report;
        bool operator==(const Month& other) const {
            if (memos.size() != other.memos.size() || report != other.report) {
                return false;
            }
            for (size_t i = 0; i < memos.size(); ++i) {
                if (memos[i].Date != other.memos[i].Date ||
                    memos[i].Category != other.memos[i].Category ||
                    memos[i].Text != other.memos[i].Text) {
                    return false;
                }
            }
            return true;
        }
    };
    Month LoadAugust() {
        state.ViewDate = EncodeDate(1998, 8, 1);
        LoadReport report;
        LoadMonthMemos(state, report);
        return {state.Memos, report.Messages()};
    }
};

TEST_F(HostileFiles, SettingsFiles) {
    const SettingsCase cases[] = {
        {"double-byte character cut at the end: the lone lead byte is kept as stored",
         "[option]\r\novuave=20\r\n[memo]\r\ncat1=" + J("仕事") + "\x83",
         20,
         {},
         J("仕事") + "\x83",
         "",
         true},
        {"NULs: a number with a NUL is no number; a header behind NULs is no header, so the "
         "starts under it fall into [option] and none loads",
         Bytes("[option]\r\novuave=2\0"
               "0\r\nperiod=7\r\n\0\0[date]\r\ncount=1\r\n0=1\r\n"),
         14,
         {},
         "",
         "",
         true},
        {"UTF-8 byte-order mark: read past, the first section found",
         "\xEF\xBB\xBF[option]\r\novuave=20\r\n",
         20,
         {},
         "",
         "",
         true},
        {"UTF-16LE byte-order mark: not CP932, reported, defaults, never saved over",
         Utf16Le("[option]\r\novuave=20\r\n"),
         14,
         {},
         "",
         "（CP932 でない文字コードのファイルです）",
         false},
        {"CR-only lines: read as lines",
         "[option]\rovuave=20\r[date]\rcount=2\r0=35994\r1=36022\r",
         20,
         {35994, 36022},
         "",
         "",
         true},
        {"a 10 MB file: read whole, its unknown section ignored",
         "[option]\r\novuave=20\r\n" + TenMegabytes() + "[date]\r\ncount=1\r\n0=36022\r\n",
         20,
         {36022},
         "",
         "",
         true},
        {"a 100,000-character line: the value comes back whole",
         "[memo]\r\ncat1=" + std::string(100000, 'a') + "\r\n",
         14,
         {},
         std::string(100000, 'a'),
         "",
         true},
        {"5,000 sections of one name: the first wins",
         DuplicateSections("option", 5000, "ovuave=1"),
         10,
         {},
         "",
         "",
         true},
        {"a count of 2147483647 with two keys: the two starts, at once",
         "[date]\r\ncount=2147483647\r\n0=36022\r\n1=35994\r\n",
         14,
         {36022, 35994},
         "",
         "",
         true},
    };
    for (const SettingsCase& c : cases) {
        WriteBytes(state.IniPath, c.bytes);
        const Settings first = LoadSettings();
        EXPECT_EQ(first.ovulationDay, c.ovulationDay) << c.name;
        EXPECT_EQ(first.starts, c.starts) << c.name;
        EXPECT_EQ(first.category1, c.category1.empty() ? J("メモ1") : c.category1) << c.name;
        if (c.report.empty()) {
            EXPECT_TRUE(first.report.empty()) << c.name << ": " << first.report.front();
        } else {
            ASSERT_EQ(first.report.size(), 1u) << c.name;
            EXPECT_NE(first.report[0].find(c.report), std::string::npos) << c.name;
        }
        // The same bytes load the same way again.
        EXPECT_EQ(LoadSettings(), first) << c.name;

        // A save either refuses, leaving the file, or writes what then loads
        // back as it was loaded.
        if (c.saves) {
            EXPECT_NO_THROW(SaveSettings(state)) << c.name;
            Settings reloaded = LoadSettings();
            SortDates(reloaded.starts);
            std::vector<TDateTime> sorted = first.starts;
            SortDates(sorted);
            EXPECT_EQ(reloaded.ovulationDay, first.ovulationDay) << c.name;
            EXPECT_EQ(reloaded.starts, sorted) << c.name;
            EXPECT_EQ(reloaded.category1, first.category1) << c.name;
        } else {
            EXPECT_THROW(SaveSettings(state), Error) << c.name;
            EXPECT_EQ(ReadBytes(state.IniPath), c.bytes) << c.name;
        }
    }
}

struct MonthCase {
    const char* name;
    std::string bytes;
    // What it yields:
    size_t memos;
    std::string text;                 // the first memo's text
    std::vector<std::string> report;  // a part of each message reported, in order
    bool rewritten;                   // whether the load's write-back changed the file
};

TEST_F(HostileFiles, MonthFiles) {
    const std::string notAnInteger = "は整数ではありません";
    const std::string badDate = "日付に変換できない値が渡されました";
    const MonthCase cases[] = {
        {"double-byte character cut at the end: the text keeps the lone lead byte, "
         "nothing written",
         "[36022]\r\ncategory=1\r\nmemo=" + J("通院") + "\x83",
         1,
         J("通院") + "\x83",
         {},
         false},
        {"NULs: a NUL inside a text is kept; a section name with a NUL is no day, reported",
         Bytes("[36022]\r\ncategory=1\r\nmemo=a\0b\r\n[360\0"
               "23]\r\nmemo=c\r\n"),
         1,
         std::string("a\0b", 3),
         {notAnInteger},
         false},
        {"UTF-8 byte-order mark: read past",
         "\xEF\xBB\xBF[36022]\r\ncategory=1\r\nmemo=x\r\n",
         1,
         "x",
         {},
         false},
        {"UTF-16LE byte-order mark: not CP932, reported, no memo, nothing written",
         Utf16Le("[36022]\r\ncategory=1\r\nmemo=x\r\n"),
         0,
         "",
         {"（CP932 でない文字コード"},
         false},
        {"CR-only lines: read as lines",
         "[36022]\rcategory=2\rmemo=x\r[36023]\rcategory=0\rmemo=y\r",
         2,
         "x",
         {},
         false},
        {"a 10 MB memo text: comes back whole",
         "[36022]\r\ncategory=1\r\nmemo=" + std::string(10 * 1024 * 1024, 'm') + "\r\n",
         1,
         std::string(10 * 1024 * 1024, 'm'),
         {},
         false},
        {"a 100,000-character line of a header: the name is no day, reported",
         "[" + std::string(100000, '9') + "]\r\nmemo=x\r\n[36022]\r\ncategory=1\r\nmemo=y\r\n",
         1,
         "y",
         {notAnInteger},
         false},
        {"3,000 sections of one day: the first wins, nothing written",
         DuplicateSections("36022", 3000, "category=1\r\nmemo=v"),
         1,
         "v0",
         {},
         false},
        {"section names past 32 bits: each reported, the day beside them loads",
         "[4294967296]\r\nmemo=a\r\n[2147483648]\r\nmemo=b\r\n[-2147483649]\r\nmemo=c\r\n"
         "[99999999999999999999]\r\nmemo=d\r\n[0x100000000]\r\nmemo=e\r\n"
         "[2147483647]\r\nmemo=f\r\n[36022]\r\ncategory=1\r\nmemo=ok\r\n",
         1,
         "ok",
         {notAnInteger, notAnInteger, notAnInteger, notAnInteger, notAnInteger, badDate},
         false},
    };
    for (const MonthCase& c : cases) {
        WriteBytes(MonthFile(1998, 8), c.bytes);
        fs.ResetCounts();
        const Month first = LoadAugust();
        EXPECT_EQ(fs.Replacements() > 0, c.rewritten) << c.name;
        ASSERT_EQ(first.memos.size(), c.memos) << c.name;
        if (c.memos > 0) {
            EXPECT_EQ(first.memos[0].Text, c.text) << c.name;
        }
        ASSERT_EQ(first.report.size(), c.report.size()) << c.name;
        for (size_t i = 0; i < c.report.size(); ++i) {
            EXPECT_NE(first.report[i].find(c.report[i]), std::string::npos)
                << c.name << ": " << first.report[i];
        }
        WriteBytes(MonthFile(1998, 8), c.bytes);
        EXPECT_EQ(LoadAugust(), first) << c.name;
    }
}

}  // namespace
}  // namespace pimvesk
