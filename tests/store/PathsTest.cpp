#include "store/Paths.h"

#include <gtest/gtest.h>

namespace pimvesk {
namespace {

TEST(Paths, SettingsPathReplacesTheLastThreeCharacters) {
    EXPECT_EQ(SettingsPathFor("D:\\Tools\\PIMVESK.EXE"), "D:\\Tools\\PIMVESK.ini");
    EXPECT_EQ(SettingsPathFor("D:\\Tools\\PIMVESK.EXX"), "D:\\Tools\\PIMVESK.ini");
    EXPECT_EQ(SettingsPathFor("/home/a/.local/share/pimvesk/PIMVESK.EXE"),
              "/home/a/.local/share/pimvesk/PIMVESK.ini");
    EXPECT_EQ(SettingsPathFor("ab"), "ini");
}

TEST(Paths, MonthFilesLieElevenCharactersBack) {
    EXPECT_EQ(MonthMemoPath("D:\\Tools\\PIMVESK.ini", 1998, 8, '\\'),
              "D:\\Tools\\data\\1998_8.pim");
    EXPECT_EQ(MonthMemoPath("D:\\Tools\\PIMVESK.ini", 1998, 12, '\\'),
              "D:\\Tools\\data\\1998_12.pim");
    EXPECT_EQ(MonthMemoPath("D:\\Tools\\PIMVESK.ini", 1999, 1, '\\'),
              "D:\\Tools\\data\\1999_1.pim");
    EXPECT_EQ(MonthMemoPath("C:\\Tools\\AB.ini", 1998, 8, '\\'), "C:\\Tdata\\1998_8.pim");
    EXPECT_EQ(MonthMemoPath("AB.ini", 1998, 8), "data/1998_8.pim");
    EXPECT_EQ(MonthMemoPath("/home/a/pimvesk/PIMVESK.ini", 2026, 12),
              "/home/a/pimvesk/data/2026_12.pim");
}

TEST(Paths, DataHomeFollowsXdg) {
    EXPECT_EQ(DataHomeFor("/xdg/data", "/home/a"), "/xdg/data/pimvesk/");
    EXPECT_EQ(DataHomeFor("/xdg/data/", "/home/a"), "/xdg/data/pimvesk/");
    EXPECT_EQ(DataHomeFor(nullptr, "/home/a"), "/home/a/.local/share/pimvesk/");
    EXPECT_EQ(DataHomeFor("", "/home/a"), "/home/a/.local/share/pimvesk/");
    EXPECT_EQ(DataHomeFor("relative/dir", "/home/a"), "/home/a/.local/share/pimvesk/");
    EXPECT_EQ(SettingsPathFor(ProgramPathIn("/home/a/.local/share/pimvesk/")),
              "/home/a/.local/share/pimvesk/PIMVESK.ini");
    EXPECT_EQ(ProgramPathIn("/d"), "/d/PIMVESK.EXE");
}

}  // namespace
}  // namespace pimvesk
