// Painting a month classifies its 42 cells against the whole history.
#include <benchmark/benchmark.h>

#include <vector>

#include "model/Cycle.h"
#include "model/MonthGrid.h"

namespace pimvesk::bench {
namespace {

void BM_KindOfDate42Cells(benchmark::State& run) {
    std::vector<TDateTime> periods;
    const TDateTime first = EncodeDate(1950, 1, 1);
    for (int i = 0; i < 1000; ++i) {
        periods.push_back(first + i * 28);
    }
    // The month after the last start: the walk passes every recorded start.
    const TDateTime view = periods.back() + 40;
    const MonthCells cells = BuildMonthGrid(view);
    uint16_t year = 0;
    uint16_t month = 0;
    uint16_t day = 0;
    DecodeDate(view, year, month, day);
    // The date each of the 42 cells stands for, day 1 in its cell.
    size_t firstCell = 0;
    while (cells[firstCell] != 1) {
        ++firstCell;
    }
    std::vector<TDateTime> dates;
    for (size_t cell = 0; cell < cells.size(); ++cell) {
        dates.push_back(EncodeDate(year, month, 1) + static_cast<double>(cell) -
                        static_cast<double>(firstCell));
    }
    const CycleOptions options{14, 6};
    const int32_t average = CalcAverage(periods);
    for (auto _ : run) {
        int kinds[4] = {};
        for (TDateTime date : dates) {
            ++kinds[KindOfDate(date, periods, average, options)];
        }
        benchmark::DoNotOptimize(kinds);
    }
    run.SetItemsProcessed(run.iterations() * 42);
}
BENCHMARK(BM_KindOfDate42Cells)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace pimvesk::bench
