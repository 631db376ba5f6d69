#include "model/Cycle.h"

#include <gtest/gtest.h>

#include <cmath>

namespace pimvesk {
namespace {

const CycleOptions kDefaults{14, 6};

TEST(CompareDates, OrdersAndTies) {
    EXPECT_EQ(CompareDates(35949, 35977), -1);
    EXPECT_EQ(CompareDates(35977, 35949), 1);
    EXPECT_EQ(CompareDates(35977, 35977), 0);
    EXPECT_EQ(CompareDates(std::nan(""), 1), 0);
}

TEST(CalcAverage, WholePartOfTheMeanGap) {
    struct Case {
        std::vector<TDateTime> starts;
        int32_t average;
    };
    const Case cases[] = {
        {{}, 28},
        {{35949}, 28},
        {{35949, 35977, 36006}, 28},  // gaps 28 and 29
        {{0, 28, 57, 88}, 29},        // gaps 28, 29, 31
        {{0, 27, 55}, 27},            // gaps 27, 28
        {{0, 0, 28}, 14},             // a duplicate adds a gap of 0
        {{36006, 35949, 35977}, 28},  // sorted first
        {{0, 2147483647.0, 2147483647.0 + 2147483647.0}, 2147483647},  // no 32-bit sum overflow
    };
    for (const Case& c : cases) {
        std::vector<TDateTime> starts = c.starts;
        EXPECT_EQ(CalcAverage(starts), c.average) << starts.size() << " starts";
        EXPECT_TRUE(std::is_sorted(starts.begin(), starts.end()));
    }
}

TEST(KindOfDay, DefaultCycleOf28) {
    for (int32_t index = 0; index <= 28; ++index) {
        TDayKind expected = dkNormal;
        if (index == 13) {
            expected = dkOvulation;
        } else if (index <= 5 || index == 28) {
            expected = dkPeriod;
        } else if ((index >= 9 && index <= 12) || (index >= 14 && index <= 18)) {
            expected = dkDanger;
        }
        EXPECT_EQ(KindOfDay(index, 28, kDefaults), expected) << "index " << index;
    }
}

TEST(KindOfDay, OrderOfTheTests) {
    // Ovulation first, even inside the period days or on the next start.
    EXPECT_EQ(KindOfDay(2, 28, {3, 6}), dkOvulation);
    EXPECT_EQ(KindOfDay(28, 28, {29, 6}), dkOvulation);
    EXPECT_EQ(KindOfDay(28, 28, {14, 6}), dkPeriod);
    EXPECT_EQ(KindOfDay(0, 0, {1, 6}), dkOvulation);
    EXPECT_EQ(KindOfDay(0, 0, {14, 6}), dkPeriod);
    // Extreme stored numbers wrap as 32-bit arithmetic does, without UB.
    EXPECT_EQ(KindOfDay(2147483647, 5, {-2147483647 - 1, 0}), dkOvulation);
    EXPECT_EQ(KindOfDay(0, 5, {2147483647, 0}), dkNormal);
}

TEST(KindOfDate, WorkedExample) {
    const std::vector<TDateTime> starts{35949, 35977};  // 1998-06-03, 1998-07-01
    struct Case {
        TDateTime date;
        TDayKind kind;
    };
    const Case cases[] = {
        {35948, dkNormal},    {35949, dkPeriod}, {35954, dkPeriod},    {35955, dkNormal},
        {35962, dkOvulation}, {35977, dkPeriod}, {35990, dkOvulation}, {36005, dkPeriod},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(KindOfDate(c.date, starts, 28, kDefaults), c.kind) << c.date;
    }
}

TEST(KindOfDate, ProjectedStartsAndTheirLimit) {
    const std::vector<TDateTime> one{35949};
    EXPECT_EQ(KindOfDate(35949, one, 28, kDefaults), dkPeriod);
    EXPECT_EQ(KindOfDate(35962, one, 28, kDefaults), dkOvulation);
    EXPECT_EQ(KindOfDate(35977, one, 28, kDefaults), dkPeriod);
    EXPECT_EQ(KindOfDate(35978, one, 28, kDefaults), dkPeriod);
    // Projected start 1000 is the last placed; every later date is normal.
    EXPECT_EQ(KindOfDate(63949, one, 28, kDefaults), dkPeriod);
    EXPECT_EQ(KindOfDate(63950, one, 28, kDefaults), dkNormal);
    EXPECT_EQ(KindOfDate(63962, one, 28, kDefaults), dkNormal);
    EXPECT_EQ(KindOfDate(63921 + 13, one, 28, kDefaults), dkOvulation);  // in cycle 999
}

TEST(KindOfDate, EmptyZeroAndNegativeAverages) {
    EXPECT_EQ(KindOfDate(35949, {}, 28, kDefaults), dkNormal);
    const std::vector<TDateTime> one{35949};
    for (int32_t average : {0, -7}) {
        EXPECT_EQ(KindOfDate(35949, one, average, kDefaults), dkPeriod) << average;
        EXPECT_EQ(KindOfDate(35950, one, average, kDefaults), dkNormal) << average;
        EXPECT_EQ(KindOfDate(40000, one, average, kDefaults), dkNormal) << average;
    }
}

TEST(KindOfDate, DuplicatesAndManyStarts) {
    const std::vector<TDateTime> twice{35949, 35949, 35977};
    EXPECT_EQ(KindOfDate(35962, twice, 28, kDefaults), dkOvulation);
    EXPECT_EQ(KindOfDate(35949, twice, 28, kDefaults), dkPeriod);

    std::vector<TDateTime> many;
    for (int i = 0; i < 1100; ++i) {
        many.push_back(30 * i);
    }
    EXPECT_EQ(KindOfDate(30 * 1000 + 13, many, 28, kDefaults), dkNormal);  // after s(1000)
    EXPECT_EQ(KindOfDate(30 * 999 + 13, many, 28, kDefaults), dkOvulation);
}

TEST(ProjectedStart, StepsOfTheAverage) {
    EXPECT_EQ(ProjectedStart(35977, 28, 0), 35977);
    EXPECT_EQ(ProjectedStart(35977, 28, 1), 36005);
    EXPECT_EQ(ProjectedStart(35977, -7, 2), 35963);
}

}  // namespace
}  // namespace pimvesk
