#include "model/MonthGrid.h"

#include <gtest/gtest.h>

namespace pimvesk {
namespace {

std::vector<int32_t> Row(const MonthCells& cells, int row) {
    std::vector<int32_t> days;
    for (int col = 0; col < 7; ++col) {
        days.push_back(CellDay(cells, col, row));
    }
    return days;
}

using Days = std::vector<int32_t>;

TEST(MonthGrid, August1998StartsOnSaturday) {
    const MonthCells cells = BuildMonthGrid(EncodeDate(1998, 8, 15));
    EXPECT_EQ(Row(cells, 1), (Days{-1, -1, -1, -1, -1, 1, 2}));
    EXPECT_EQ(cells[35], 31);
    EXPECT_EQ(Row(cells, 6), (Days{31, -1, -1, -1, -1, -1, -1}));
}

TEST(MonthGrid, February2010FillsFourRows) {
    const MonthCells cells = BuildMonthGrid(EncodeDate(2010, 2, 1));
    EXPECT_EQ(Row(cells, 1), (Days{1, 2, 3, 4, 5, 6, 7}));
    EXPECT_EQ(Row(cells, 4), (Days{22, 23, 24, 25, 26, 27, 28}));
    EXPECT_EQ(Row(cells, 5), Days(7, -1));
    EXPECT_EQ(Row(cells, 6), Days(7, -1));
}

TEST(MonthGrid, August2010StartsOnSunday) {
    const MonthCells cells = BuildMonthGrid(EncodeDate(2010, 8, 20));
    EXPECT_EQ(Row(cells, 1), (Days{-1, -1, -1, -1, -1, -1, 1}));
    EXPECT_EQ(Row(cells, 6), (Days{30, 31, -1, -1, -1, -1, -1}));
}

TEST(MonthGrid, EveryMonthHoldsItsDaysInOrder) {
    for (int year : {1, 1900, 2000, 2024, 9999}) {
        for (int month = 1; month <= 12; ++month) {
            const MonthCells cells = BuildMonthGrid(EncodeDate(year, month, 1));
            int expected = 1;
            for (int32_t day : cells) {
                if (day > 0) {
                    EXPECT_EQ(day, expected++);
                }
            }
            EXPECT_TRUE(TryEncodeDate(year, month, expected - 1)) << year << "/" << month;
            EXPECT_FALSE(TryEncodeDate(year, month, expected)) << year << "/" << month;
        }
    }
}

TEST(MonthGrid, CellDayOutsideTheWeekRows) {
    const MonthCells cells = BuildMonthGrid(EncodeDate(2010, 2, 1));
    EXPECT_EQ(CellDay(cells, 0, 0), -1);
    EXPECT_EQ(CellDay(cells, 7, 1), -1);
    EXPECT_EQ(CellDay(cells, -1, 1), -1);
    EXPECT_EQ(CellDay(cells, 0, 7), -1);
    EXPECT_EQ(CellDay(cells, 0, 1), 1);
}

}  // namespace
}  // namespace pimvesk
