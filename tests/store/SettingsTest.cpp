#include "store/Settings.h"

#include <gtest/gtest.h>

#include <cerrno>

#include "platform/Error.h"
#include "support/StateFixture.h"

namespace pimvesk {
namespace {

using test::J;
using test::ReadBytes;
using test::WriteBytes;

class SettingsTest : public ::testing::Test, protected test::StateFixture {
protected:
    LoadReport LoadAll() {
        LoadReport report;
        LoadSettings(state, report);
        return report;
    }
    void Store(const std::string& bytes) { WriteBytes(state.IniPath, bytes); }
    std::string Stored() { return ReadBytes(state.IniPath); }
};

TEST_F(SettingsTest, FirstSaveLaysOutEveryKeyInOrder) {
    EXPECT_TRUE(LoadAll().Empty());
    EXPECT_EQ(state.OvulationDay, 14);
    EXPECT_EQ(state.PeriodDays, 6);
    EXPECT_FALSE(state.FixedAverage);
    EXPECT_EQ(state.AverageDays, 28);
    EXPECT_TRUE(state.Periods.empty());
    state.Periods = {36022, 35994};
    SaveSettings(state);
    const std::string expected =
        J("[option]\r\nsetaverage=0\r\naverageday=28\r\nperiod=6\r\novuave=14\r\n"
          "[date]\r\n0=35994\r\n1=36022\r\ncount=2\r\n"
          "[color]\r\nback=16777215\r\nperiod=10653819\r\ndanger=11050975\r\ndate=0\r\n"
          "saturday=12854854\r\nholiday=4597444\r\n"
          "[memo]\r\ncat1=メモ1\r\ncat1col=8421631\r\ncat2=メモ2\r\ncat2col=8454143\r\n"
          "cat3=メモ3\r\ncat3col=8454016\r\ncat4=メモ4\r\ncat4col=16777088\r\n"
          "cat5=メモ5\r\ncat5col=12615935\r\n");
    EXPECT_EQ(Stored(), expected);
    EXPECT_EQ(fs.Replacements(), 1);
    // The second save rewrites the starts after the count, as the removal of
    // the old keys leaves them; from then on a save that changes nothing
    // touches no file.
    SaveSettings(state);
    EXPECT_EQ(fs.Replacements(), 2);
    EXPECT_NE(Stored().find("[date]\r\ncount=2\r\n0=35994\r\n1=36022\r\n"), std::string::npos);
    SaveSettings(state);
    SaveSettings(state);
    EXPECT_EQ(fs.Replacements(), 2);
}

TEST_F(SettingsTest, OptionsReadLeniently) {
    Store("[option]\r\novuave=abc\r\nperiod=\r\nsetaverage=2\r\naverageday=-30\r\n");
    EXPECT_TRUE(LoadAll().Empty());
    EXPECT_EQ(state.OvulationDay, 14);
    EXPECT_EQ(state.PeriodDays, 6);
    EXPECT_TRUE(state.FixedAverage);
    EXPECT_EQ(state.AverageDays, -30);
    SaveSettings(state);
    EXPECT_NE(Stored().find("setaverage=1\r\n"), std::string::npos);
    EXPECT_NE(Stored().find("period=6\r\n"), std::string::npos);
}

struct StartsCase {
    const char* name;
    std::string date;  // the [date] section's lines
    std::vector<TDateTime> loaded;
    std::string saved;  // the [date] section after a save of what was loaded
};

TEST_F(SettingsTest, PeriodStartsLoadAndSaveAsTheKeyLoopWould) {
    const StartsCase cases[] = {
        {"gap in the keys",
         "0=35994\r\n2=36022\r\ncount=3\r\n",
         {35994, 36022},
         "count=2\r\n0=35994\r\n1=36022\r\n"},
        {"zero kept, negative skipped",
         "count=3\r\n0=0\r\n1=-1\r\n2=x\r\n",
         {0},
         "count=1\r\n0=0\r\n"},
        {"out of order",
         "0=36022\r\n1=35994\r\ncount=2\r\n",
         {36022, 35994},
         "count=2\r\n0=35994\r\n1=36022\r\n"},
        {"keys at or past the count stay",
         "0=1\r\n1=2\r\n3=3\r\n5=9\r\n7=8\r\ncount=5\r\n",
         {1, 2, 3},
         "5=9\r\n7=8\r\ncount=3\r\n0=1\r\n1=2\r\n2=3\r\n"},
        {"only canonical keys count",
         "00=5\r\n+1=6\r\n 2 = 7 \r\ncount=3\r\n",
         {7},
         "00=5\r\n+1=6\r\ncount=1\r\n0=7\r\n"},
        {"same day twice",
         "0=36022\r\n1=36022\r\ncount=2\r\n",
         {36022, 36022},
         "count=2\r\n0=36022\r\n1=36022\r\n"},
        {"huge count",
         "count=2147483647\r\n0=36022\r\n1=35994\r\n",
         {36022, 35994},
         "count=2\r\n0=35994\r\n1=36022\r\n"},
        {"negative count", "count=-1\r\n0=36022\r\n", {}, "count=0\r\n0=36022\r\n"},
    };
    for (const StartsCase& c : cases) {
        Store("[date]\r\n" + c.date);
        state.Periods.clear();
        LoadReport report;
        LoadPeriodStarts(state, report);
        EXPECT_EQ(state.Periods, c.loaded) << c.name;
        SaveSettings(state);
        const std::string stored = Stored();
        const size_t begin = stored.find("[date]\r\n") + 8;
        EXPECT_EQ(stored.substr(begin, stored.find('[', begin) - begin), c.saved) << c.name;
    }
}

TEST_F(SettingsTest, ABadColourIsReportedAndEverythingElseLoads) {
    Store(
        J("[color]\r\nback=abc\r\nperiod=-5\r\ndanger=$FF\r\n"
          "[memo]\r\ncat1=仕事\r\ncat2col=1x\r\ncat3col=255\r\n"
          "[date]\r\ncount=1\r\n0=36022\r\n"));
    const LoadReport report = LoadAll();
    ASSERT_EQ(report.Messages().size(), 2u);
    EXPECT_NE(report.Messages()[0].find("'abc' は整数ではありません"), std::string::npos);
    EXPECT_NE(report.Messages()[1].find("'1x' は整数ではありません"), std::string::npos);
    EXPECT_EQ(state.BackColor, 0xFFFFFF);  // kept
    EXPECT_EQ(state.PeriodColor, -5);
    EXPECT_EQ(state.DangerColor, 255);
    EXPECT_EQ(state.CategoryNames[0], J("仕事"));
    EXPECT_EQ(state.CategoryColors[1], 0x80FFFF);
    EXPECT_EQ(state.CategoryColors[2], 255);
    EXPECT_EQ(state.Periods, std::vector<TDateTime>{36022});
}

TEST_F(SettingsTest, CategoryNamesComeBackAsWritten) {
    state.CategoryNames = {J(" 通院 "), "\"quoted\"", std::string(2000, 'x'), "", J("ゾ]")};
    SaveSettings(state);
    VeskState loaded;
    loaded.IniFile = std::make_unique<TIniFile>(state.IniPath, fs);
    SetDefaultCategories(loaded);
    LoadReport report;
    LoadCategories(loaded, report);
    EXPECT_EQ(loaded.CategoryNames[0], J(" 通院 "));
    EXPECT_EQ(loaded.CategoryNames[1], "\"quoted\"");
    EXPECT_EQ(loaded.CategoryNames[2], std::string(2000, 'x'));
    EXPECT_EQ(loaded.CategoryNames[3], J("メモ4"));  // an emptied name comes back as its default
    EXPECT_EQ(loaded.CategoryNames[4], J("ゾ]"));
}

TEST_F(SettingsTest, AFailedSaveLeavesTheOldFileByteForByte) {
    Store("[date]\r\n0=35994\r\n1=36022\r\ncount=2\r\n");
    LoadAll();
    state.Periods.push_back(36050);
    fs.FailAt(test::FaultyFileSystem::kRename, 1, ENOSPC);
    EXPECT_THROW(SaveSettings(state), Error);
    EXPECT_EQ(Stored(), "[date]\r\n0=35994\r\n1=36022\r\ncount=2\r\n");
    fs.Heal();
    SaveSettings(state);
    EXPECT_NE(Stored().find("[date]\r\ncount=3\r\n0=35994\r\n1=36022\r\n2=36050\r\n"),
              std::string::npos);
}

TEST_F(SettingsTest, AnUnreadableFileIsReportedAndNeverSavedOver) {
    Store("[option]\r\novuave=20\r\n");
    fs.FailFrom(test::FaultyFileSystem::kRead, 1, EACCES);
    const LoadReport report = LoadAll();
    ASSERT_FALSE(report.Empty());
    EXPECT_EQ(report.Messages()[0], state.IniPath + " を読み込めません（権限がありません）");
    EXPECT_EQ(state.OvulationDay, 14);
    EXPECT_THROW(SaveSettings(state), Error);
    // Readable again later in the session: still no save over what was never loaded.
    fs.Heal();
    EXPECT_THROW(SaveSettings(state), Error);
    EXPECT_EQ(Stored(), "[option]\r\novuave=20\r\n");
}

}  // namespace
}  // namespace pimvesk
