// A month change with nothing edited: the month's memos are loaded and saved
// back, and the file must not be written at all.
#include <benchmark/benchmark.h>

#include <memory>

#include "BenchFiles.h"
#include "store/Memos.h"

namespace pimvesk::bench {
namespace {

void BM_MonthOf31MemosUnchanged(benchmark::State& run) {
    ScratchDir dir;
    CountingFileSystem fs;
    VeskState state;
    state.IniPath = dir.File("PIMVESK.ini");
    state.Files = &fs;
    state.ViewDate = EncodeDate(2024, 1, 1);
    for (int day = 0; day < 31; ++day) {
        // "通院 n" in CP932, a text of the kind she types
        PutMemo(state, state.ViewDate + day, day % 5, "\x92\xCA\x89\x40 " + std::to_string(day));
    }
    const long setupWrites = fs.Writes();
    const long setupRenames = fs.Renames();
    for (auto _ : run) {
        LoadReport report;
        LoadMonthMemos(state, report);
        SaveMonthMemos(state);
        benchmark::DoNotOptimize(state.Memos.data());
    }
    if (state.Memos.size() != 31) {
        run.SkipWithError("the month did not load whole");
    }
    // Totals over every round, not rates: anything but 0 is a bug.
    run.counters["file_writes"] = static_cast<double>(fs.Writes() - setupWrites);
    run.counters["replacements"] = static_cast<double>(fs.Renames() - setupRenames);
}
BENCHMARK(BM_MonthOf31MemosUnchanged)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace pimvesk::bench
