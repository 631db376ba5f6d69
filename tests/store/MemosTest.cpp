#include "store/Memos.h"

#include <gtest/gtest.h>

#include <cerrno>

#include "platform/Error.h"
#include "support/StateFixture.h"

namespace pimvesk {
namespace {

using test::Exists;
using test::FaultyFileSystem;
using test::J;
using test::ReadBytes;
using test::WriteBytes;

class MemosTest : public ::testing::Test, protected test::StateFixture {
protected:
    MemosTest() { state.ViewDate = EncodeDate(1998, 8, 1); }

    std::string August() const { return MonthFile(1998, 8); }
    LoadReport Load() {
        LoadReport report;
        LoadMonthMemos(state, report);
        return report;
    }
    std::string TextOf(TDateTime date) {
        std::string text;
        FindMemo(state.Memos, date, text);
        return text;
    }
};

TEST_F(MemosTest, AnEmptyMonthCreatesNoFile) {
    EXPECT_TRUE(Load().Empty());
    EXPECT_TRUE(state.Memos.empty());
    SaveMonthMemos(state);
    EXPECT_FALSE(Exists(dir.File("data")));
    std::string text = "stale";
    EXPECT_EQ(FindMemo(state.Memos, 36022, text), -1);
    EXPECT_EQ(text, "");
}

TEST_F(MemosTest, PutReplacesAndWritesAtOnceIntoANewDataDirectory) {
    PutMemo(state, 36022, 1, J("通院"));
    EXPECT_EQ(ReadBytes(August()), J("[36022]\r\ncategory=1\r\nmemo=通院\r\n"));
    PutMemo(state, 36010, 0, "");
    PutMemo(state, 36022, 3, J("薬"));
    ASSERT_EQ(state.Memos.size(), 2u);
    EXPECT_EQ(state.Memos[0].Date, 36010);  // kept in date order
    std::string text;
    EXPECT_EQ(FindMemo(state.Memos, 36022, text), 3);
    EXPECT_EQ(text, J("薬"));
    EXPECT_EQ(FindMemo(state.Memos, 36010, text), 0);
    EXPECT_EQ(text, "");
    EXPECT_EQ(ReadBytes(August()),
              J("[36022]\r\ncategory=3\r\nmemo=薬\r\n[36010]\r\ncategory=0\r\nmemo=\r\n"));
    EXPECT_EQ(fs.Replacements(), 3);  // one per registration, both keys together
}

TEST_F(MemosTest, DeleteErasesTheSectionOrTouchesNothing) {
    PutMemo(state, 36022, 1, "a");
    PutMemo(state, 36023, 2, "b");
    fs.ResetCounts();
    DeleteMemo(state, 36030);
    EXPECT_EQ(fs.Replacements(), 0);
    DeleteMemo(state, 36022);
    EXPECT_EQ(state.Memos.size(), 1u);
    EXPECT_EQ(ReadBytes(August()), "[36023]\r\ncategory=2\r\nmemo=b\r\n");
}

TEST_F(MemosTest, LoadingWritesEachMemoBackCanonically) {
    WriteBytes(August(), "[36022]\r\n[036023]\r\ncategory=2\r\nmemo=x\r\n[36030]\r\nmemo=y\r\n");
    EXPECT_TRUE(Load().Empty());
    ASSERT_EQ(state.Memos.size(), 3u);
    EXPECT_EQ(state.Memos[1].Date, 36023);
    EXPECT_EQ(state.Memos[1].Category, 2);
    EXPECT_EQ(ReadBytes(August()),
              "[36022]\r\ncategory=0\r\nmemo=\r\n"
              "[036023]\r\ncategory=2\r\nmemo=x\r\n"
              "[36030]\r\nmemo=y\r\ncategory=0\r\n"
              "[36023]\r\ncategory=2\r\nmemo=x\r\n");
    EXPECT_EQ(fs.Replacements(), 1);  // one batch for the file
    // Deleting erases only the canonical section, so the memo comes back.
    DeleteMemo(state, 36023);
    EXPECT_TRUE(Load().Empty());
    EXPECT_EQ(TextOf(36023), "x");
}

// A text that cannot be written under the canonical name is written not at
// all: a section holding only the category would hide the text at the next load.
TEST_F(MemosTest, AWriteBackRefusedForItsTextWritesNeitherKey) {
    const std::string file = std::string("[036022]\r\ncategory=1\r\nmemo=a\0b\r\n", 32);
    WriteBytes(August(), file);
    for (int load = 0; load < 2; ++load) {
        const LoadReport report = Load();
        ASSERT_EQ(report.Messages().size(), 1u);
        EXPECT_NE(report.Messages()[0].find("NUL"), std::string::npos);
        ASSERT_EQ(state.Memos.size(), 1u);
        EXPECT_EQ(state.Memos[0].Text, std::string("a\0b", 3)) << "load " << load;
        EXPECT_EQ(ReadBytes(August()), file);
    }
    // Nor does it stop the month's save, which would keep her in this month:
    // the memo stays where it was, and the rest is saved.
    PutMemo(state, 36023, 2, "b");
    state.Memos.push_back({36024, 3, "c"});  // a registration whose write failed
    EXPECT_NO_THROW(SaveMonthMemos(state));
    EXPECT_EQ(TIniFile(August()).ReadText("36024", "memo", ""), "c");
    EXPECT_EQ(TIniFile(August()).ReadText("036022", "memo", ""), std::string("a\0b", 3));
    EXPECT_EQ(TIniFile(August()).ReadText("36022", "memo", "none"), "none");
}

// Whichever comes first, a later section of the same day whose text cannot be
// written back leaves the day as the file will keep it, load after load.
TEST_F(MemosTest, AnUnwritableLaterSectionDoesNotReplaceTheDay) {
    const std::string unwritable("[0x8CB6]\r\ncategory=2\r\nmemo=a\0b\r\n", 32);
    const std::string files[] = {"[036022]\r\ncategory=1\r\nmemo=first\r\n" + unwritable,
                                 "[36022]\r\ncategory=1\r\nmemo=first\r\n" + unwritable};
    for (const std::string& file : files) {
        WriteBytes(August(), file);
        for (int load = 0; load < 2; ++load) {
            EXPECT_EQ(Load().Messages().size(), 1u);
            ASSERT_EQ(state.Memos.size(), 1u);
            EXPECT_EQ(state.Memos[0].Category, 1) << file << " load " << load;
            EXPECT_EQ(state.Memos[0].Text, "first") << file << " load " << load;
        }
    }
}

TEST_F(MemosTest, ALeadingZeroSectionWinsWhicheverComesFirst) {
    const std::string files[] = {
        "[036022]\r\ncategory=1\r\nmemo=old0\r\n[36022]\r\ncategory=2\r\nmemo=new\r\n",
        "[36022]\r\ncategory=2\r\nmemo=new\r\n[036022]\r\ncategory=1\r\nmemo=old0\r\n"};
    for (const std::string& file : files) {
        WriteBytes(August(), file);
        Load();
        ASSERT_EQ(state.Memos.size(), 1u);
        EXPECT_EQ(state.Memos[0].Category, 1);
        EXPECT_EQ(state.Memos[0].Text, "old0");
        TIniFile check(August());
        EXPECT_EQ(check.ReadText("36022", "memo", ""), "old0");
    }
}

TEST_F(MemosTest, AMemoOfAnotherMonthGoesToItsOwnFileToo) {
    const TDateTime september3 = EncodeDate(1998, 9, 3);
    WriteBytes(August(),
               "[" + std::to_string(WholeDay(september3)) + "]\r\ncategory=4\r\nmemo=s\r\n");
    Load();
    ASSERT_EQ(state.Memos.size(), 1u);
    EXPECT_EQ(ReadBytes(MonthFile(1998, 9)),
              "[" + std::to_string(WholeDay(september3)) + "]\r\ncategory=4\r\nmemo=s\r\n");
}

TEST_F(MemosTest, SectionsThatAreNoDayAreReportedAndSkipped) {
    WriteBytes(August(), "[abc]\r\nmemo=1\r\n[]\r\n[99999999]\r\nmemo=2\r\n[36022]\r\nmemo=ok\r\n");
    const LoadReport report = Load();
    ASSERT_EQ(report.Messages().size(), 3u);
    EXPECT_NE(report.Messages()[0].find("'abc' は整数ではありません"), std::string::npos);
    EXPECT_NE(report.Messages()[1].find("'' は整数ではありません"), std::string::npos);
    EXPECT_NE(report.Messages()[2].find("日付に変換できない値が渡されました"), std::string::npos);
    ASSERT_EQ(state.Memos.size(), 1u);
    EXPECT_EQ(state.Memos[0].Text, "ok");
}

TEST_F(MemosTest, ACanonicalMonthLoadsAndSavesWithoutAWrite) {
    for (int day = 0; day < 31; ++day) {
        PutMemo(state, 36008 + day, day % 5, J("メモ ") + std::to_string(day));
    }
    fs.ResetCounts();
    EXPECT_TRUE(Load().Empty());
    SaveMonthMemos(state);
    EXPECT_EQ(state.Memos.size(), 31u);
    EXPECT_EQ(fs.Replacements(), 0);
    EXPECT_EQ(fs.Calls(FaultyFileSystem::kCreate), 0);
}

TEST_F(MemosTest, LongTextsAndHighCategoriesComeBackWhole) {
    const std::string text = J("あ") + std::string(3000, 'm') + " ";
    PutMemo(state, 36022, 1, text);
    WriteBytes(MonthFile(1998, 8),
               ReadBytes(MonthFile(1998, 8)) + "[36023]\r\ncategory=7\r\nmemo=  \"x\"  \r\n");
    state.Memos.clear();
    Load();
    EXPECT_EQ(TextOf(36022), text);
    std::string quoted;
    EXPECT_EQ(FindMemo(state.Memos, 36023, quoted), 7);
    EXPECT_EQ(quoted, "x");
}

TEST_F(MemosTest, AFailedWriteKeepsTheMemoInMemoryAndTheFileAsItWas) {
    PutMemo(state, 36022, 1, "a");
    fs.FailAt(FaultyFileSystem::kWrite, fs.Calls(FaultyFileSystem::kWrite) + 1, ENOSPC);
    EXPECT_THROW(PutMemo(state, 36023, 2, "b"), Error);
    EXPECT_EQ(TextOf(36023), "b");
    EXPECT_EQ(ReadBytes(August()), "[36022]\r\ncategory=1\r\nmemo=a\r\n");
    // The month change's save then writes it once the fault is gone.
    SaveMonthMemos(state);
    EXPECT_NE(ReadBytes(August()).find("[36023]"), std::string::npos);
}

// A delete that could not reach the file is not undone by the next save:
// the month save erases the section, unless the day got a memo again.
TEST_F(MemosTest, AFailedDeleteIsCarriedOutByTheNextMonthSave) {
    const TDateTime september3 = EncodeDate(1998, 9, 3);
    struct Case {
        const char* name;
        TDateTime day;
        bool putAgain;  // a new memo for the day before the save
        bool kept;      // whether the day's section survives the save
    };
    const Case cases[] = {
        {"day of the month shown", 36022, false, false},
        {"registered again first", 36022, true, true},
        {"day of another month", september3, false, false},
    };
    for (const Case& c : cases) {
        state.Memos.clear();
        state.PendingDeletions.clear();
        PutMemo(state, c.day, 1, "a");
        PutMemo(state, 36023, 2, "b");
        const std::string file = MonthMemoPath(state, c.day);
        const std::string before = ReadBytes(file);
        fs.FailAt(FaultyFileSystem::kSync, fs.Calls(FaultyFileSystem::kSync) + 1, EIO);
        EXPECT_THROW(DeleteMemo(state, c.day), Error) << c.name;
        EXPECT_EQ(TextOf(c.day), "") << c.name;
        EXPECT_EQ(ReadBytes(file), before) << c.name;
        fs.Heal();
        if (c.putAgain) {
            PutMemo(state, c.day, 4, "again");
        }
        SaveMonthMemos(state);
        EXPECT_EQ(TIniFile(file).ReadText(std::to_string(WholeDay(c.day)), "memo", "gone"),
                  c.kept ? "again" : "gone")
            << c.name;
        EXPECT_EQ(TIniFile(August()).ReadText("36023", "memo", ""), "b") << c.name;
        EXPECT_TRUE(state.PendingDeletions.empty()) << c.name;
    }
}

TEST_F(MemosTest, AnUnreadableMonthFileIsReportedAndNeverWrittenOver) {
    WriteBytes(August(), "[36022]\r\nmemo=precious\r\n");
    fs.FailFrom(FaultyFileSystem::kRead, 1, EIO);
    const LoadReport report = Load();
    ASSERT_EQ(report.Messages().size(), 1u);
    EXPECT_EQ(report.Messages()[0], August() + " を読み込めません（入出力エラーです）");
    EXPECT_TRUE(state.Memos.empty());
    SaveMonthMemos(state);  // nothing to write
    EXPECT_THROW(PutMemo(state, 36023, 0, "new"), Error);
    EXPECT_EQ(ReadBytes(August()), "[36022]\r\nmemo=precious\r\n");
}

}  // namespace
}  // namespace pimvesk
