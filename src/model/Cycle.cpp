#include "model/Cycle.h"

#include <algorithm>
#include <cstdlib>

namespace pimvesk {

namespace {

// The walk of KindOfDate tests at most this many starts of the sequence.
constexpr int32_t kWalkLimit = 1001;

int32_t Abs32(int32_t value) {
    return WrapToInt32(std::llabs(int64_t{value}));
}

}  // namespace

int32_t CompareDates(TDateTime a, TDateTime b) {
    if (a < b) {
        return -1;
    }
    if (a > b) {
        return 1;
    }
    return 0;
}

void SortDates(std::vector<TDateTime>& dates) {
    std::sort(dates.begin(), dates.end(),
              [](TDateTime a, TDateTime b) { return CompareDates(a, b) < 0; });
}

int32_t CalcAverage(std::vector<TDateTime>& periods) {
    SortDates(periods);
    if (periods.size() < 2) {
        return 28;
    }
    int64_t sum = 0;
    for (size_t i = 1; i < periods.size(); ++i) {
        sum += TruncToInt32(periods[i] - periods[i - 1]);
    }
    return WrapToInt32(sum / static_cast<int64_t>(periods.size() - 1));
}

TDateTime ProjectedStart(TDateTime lastStart, int32_t averageDays, int32_t k) {
    return lastStart + static_cast<double>(WrapToInt32(int64_t{k} * averageDays));
}

TDayKind KindOfDay(int32_t index, int32_t length, const CycleOptions& options) {
    const int64_t ovulation = options.OvulationDay;
    if (index == WrapToInt32(ovulation - 1)) {
        return dkOvulation;
    }
    if (index < options.PeriodDays) {
        return dkPeriod;
    }
    if (index == length) {
        return dkPeriod;
    }
    if (WrapToInt32(ovulation - 6) < index && index < WrapToInt32(ovulation + 5)) {
        return dkDanger;
    }
    return dkNormal;
}

TDayKind KindOfDate(TDateTime date, const std::vector<TDateTime>& periods, int32_t averageDays,
                    const CycleOptions& options) {
    if (periods.empty() || date < periods.front()) {
        return dkNormal;
    }
    const auto recorded = static_cast<int64_t>(periods.size());
    const TDateTime last = periods.back();
    int32_t previous = 0;
    for (int32_t position = 0; position < kWalkLimit; ++position) {
        const TDateTime start = position < recorded
                                    ? periods[static_cast<size_t>(position)]
                                    : last + static_cast<double>(WrapToInt32(
                                                 int64_t{position - recorded + 1} * averageDays));
        const int32_t offset = TruncToInt32(date - start);
        if (offset <= 0) {
            const int32_t length = WrapToInt32(int64_t{Abs32(offset)} + Abs32(previous));
            return KindOfDay(previous, length, options);
        }
        previous = offset;
    }
    return dkNormal;
}

}  // namespace pimvesk
