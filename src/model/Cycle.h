#pragma once

#include <cstdint>
#include <vector>

#include "platform/DateTime.h"

namespace pimvesk {

enum TDayKind : uint8_t { dkOvulation = 0, dkPeriod = 1, dkDanger = 2, dkNormal = 3 };

// The cycle numbers that classify days.
struct CycleOptions {
    int32_t OvulationDay = 14;  // day number of ovulation, 1 = the start day
    int32_t PeriodDays = 6;     // period days at the start of a cycle
};

// -1 when a is earlier, 1 when later, 0 when equal or unordered.
int32_t CompareDates(TDateTime a, TDateTime b);

void SortDates(std::vector<TDateTime>& dates);

// Whole part of the mean gap between consecutive starts; 28 for fewer than two.
// Sorts the list.
int32_t CalcAverage(std::vector<TDateTime>& periods);

// Projected start number k: the last recorded start plus k * averageDays days.
TDateTime ProjectedStart(TDateTime lastStart, int32_t averageDays, int32_t k);

TDayKind KindOfDay(int32_t index, int32_t length, const CycleOptions& options);

// The kind of a calendar day; `periods` must be sorted.
TDayKind KindOfDate(TDateTime date, const std::vector<TDateTime>& periods, int32_t averageDays,
                    const CycleOptions& options);

}  // namespace pimvesk
