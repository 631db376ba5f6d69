#include "platform/DateTime.h"

#include <gtest/gtest.h>

#include "platform/Error.h"

namespace pimvesk {
namespace {

TEST(DateTime, KnownSerials) {
    EXPECT_EQ(EncodeDate(1899, 12, 30), 0);
    EXPECT_EQ(EncodeDate(1998, 8, 15), 36022);
    EXPECT_EQ(EncodeDate(1998, 6, 3), 35949);
    EXPECT_EQ(EncodeDate(1, 1, 1), -693593);
    EXPECT_EQ(EncodeDate(9999, 12, 31), 2958465);
    EXPECT_EQ(DayOfWeek(0), 7);      // 1899-12-30 was a Saturday
    EXPECT_EQ(DayOfWeek(36022), 7);  // so was 1998-08-15
    EXPECT_EQ(DayOfWeek(EncodeDate(2010, 8, 1)), 1);
}

// Every day of years 1..9999: the encoding round-trips, serials are consecutive
// and the weekday steps through 1..7 without a gap.
TEST(DateTime, EveryDayOfYears1To9999) {
    TDateTime expected = EncodeDate(1, 1, 1);
    int weekday = DayOfWeek(expected);
    int failures = 0;
    for (int year = 1; year <= 9999; ++year) {
        for (int month = 1; month <= 12; ++month) {
            for (int day = 1; day <= 31; ++day) {
                const auto date = TryEncodeDate(year, month, day);
                if (!date) {
                    continue;
                }
                uint16_t y = 0;
                uint16_t m = 0;
                uint16_t d = 0;
                DecodeDate(*date, y, m, d);
                const bool ok = *date == expected && y == year && m == month && d == day &&
                                DayOfWeek(*date) == weekday;
                if (!ok && ++failures < 5) {
                    ADD_FAILURE() << year << "-" << month << "-" << day << " serial " << *date;
                }
                expected += 1;
                weekday = weekday % 7 + 1;
            }
        }
    }
    EXPECT_EQ(failures, 0);
    EXPECT_EQ(expected, EncodeDate(9999, 12, 31) + 1);
}

TEST(DateTime, ImpossibleDatesAreRefused) {
    struct Case {
        int year, month, day;
    };
    const Case cases[] = {{1900, 2, 29}, {2100, 2, 29}, {2001, 2, 29}, {1998, 4, 31}, {1998, 13, 1},
                          {1998, 0, 1},  {1998, 1, 0},  {0, 12, 31},   {10000, 1, 1}, {-5, 1, 1}};
    for (const Case& c : cases) {
        EXPECT_FALSE(TryEncodeDate(c.year, c.month, c.day))
            << c.year << "-" << c.month << "-" << c.day;
    }
    EXPECT_TRUE(TryEncodeDate(2000, 2, 29));
    EXPECT_TRUE(TryEncodeDate(2004, 2, 29));
    try {
        EncodeDate(1998, 2, 30);
        FAIL() << "no error";
    } catch (const Error& error) {
        EXPECT_STREQ(error.what(), "日付に変換できない値が渡されました");
    }
}

TEST(DateTime, ShortDateTextFormatsAnySerial) {
    EXPECT_EQ(DateToStr(36022), "1998/08/15");
    EXPECT_EQ(DateToStr(0), "1899/12/30");
    EXPECT_EQ(DateToStr(EncodeDate(1, 1, 1)), "0001/01/01");
    EXPECT_EQ(DateToStr(36022.75), "1998/08/15");  // the time of day plays no part
    // Far beyond the years the encoding accepts, as a stored start can be.
    EXPECT_EQ(DateToStr(2147483647), "5881510/07/10");
    EXPECT_EQ(DateToStr(-2147483648.0), "-5877711/06/20");
    EXPECT_FALSE(DateToStr(1e300).empty());
}

TEST(DateTime, TruncationWrapsTo32Bits) {
    EXPECT_EQ(TruncToInt32(27.9), 27);
    EXPECT_EQ(TruncToInt32(-27.9), -27);
    EXPECT_EQ(TruncToInt32(2147483648.0), -2147483647 - 1);
    EXPECT_EQ(TruncToInt32(4294967296.0 + 5), 5);
    EXPECT_EQ(WrapToInt32(int64_t{2147483647} + 1), -2147483647 - 1);
}

TEST(DateTime, TodayIsAWholeDayInRange) {
    const TDateTime today = Today();
    EXPECT_EQ(today, static_cast<double>(WholeDay(today)));
    EXPECT_GT(today, EncodeDate(2020, 1, 1));
    EXPECT_LT(today, EncodeDate(9999, 12, 31));
}

}  // namespace
}  // namespace pimvesk
