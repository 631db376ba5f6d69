// Loading and saving the settings file: the cost must grow linearly with the
// number of starts, and a stored count must cost nothing by itself.
#include <benchmark/benchmark.h>

#include <memory>

#include "BenchFiles.h"
#include "store/Settings.h"

namespace pimvesk::bench {
namespace {

VeskState StateOn(const std::string& path, FileSystem& fs) {
    VeskState state;
    OpenDefaultState(state, path, fs);
    return state;
}

void LoadAll(VeskState& state) {
    LoadReport report;
    LoadSettings(state, report);
    if (!report.Empty()) {
        throw std::runtime_error(report.Text());
    }
}

// A settings file holding `count` starts, as saves lay it out.
void StoreStarts(const std::string& path, int64_t count) {
    VeskState state = StateOn(path, DefaultFileSystem());
    for (int64_t i = 0; i < count; ++i) {
        state.Periods.push_back(static_cast<TDateTime>(36000 + i * 28));
    }
    SaveSettings(state);
    SaveSettings(state);  // the second save settles the key order
}

void ReportWrites(benchmark::State& run, const CountingFileSystem& fs) {
    run.counters["writes/iter"] =
        benchmark::Counter(static_cast<double>(fs.Writes()), benchmark::Counter::kAvgIterations);
    run.counters["replacements/iter"] =
        benchmark::Counter(static_cast<double>(fs.Renames()), benchmark::Counter::kAvgIterations);
}

// Start-up's four loads and the save at close, nothing changed in between.
void BM_LoadSaveStarts(benchmark::State& run) {
    ScratchDir dir;
    const std::string path = dir.File("PIMVESK.ini");
    StoreStarts(path, run.range(0));
    CountingFileSystem fs;
    for (auto _ : run) {
        VeskState state = StateOn(path, fs);
        LoadAll(state);
        SaveSettings(state);
        benchmark::DoNotOptimize(state.Periods.data());
    }
    run.SetComplexityN(run.range(0));
    ReportWrites(run, fs);
}
BENCHMARK(BM_LoadSaveStarts)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

// The same with one option changed, so that every save writes a new file
// (written, fsynced, renamed, directory fsynced).
void BM_LoadChangeSaveStarts(benchmark::State& run) {
    ScratchDir dir;
    const std::string path = dir.File("PIMVESK.ini");
    StoreStarts(path, run.range(0));
    CountingFileSystem fs;
    bool fixed = false;
    for (auto _ : run) {
        VeskState state = StateOn(path, fs);
        LoadAll(state);
        fixed = !fixed;
        state.FixedAverage = fixed;
        SaveSettings(state);
        benchmark::DoNotOptimize(state.Periods.data());
    }
    run.SetComplexityN(run.range(0));
    ReportWrites(run, fs);
}
BENCHMARK(BM_LoadChangeSaveStarts)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

// count=2147483647 with two keys: loaded, then saved (which rewrites the count,
// so the file is put back before each round).
void BM_HugeStoredCount(benchmark::State& run) {
    ScratchDir dir;
    const std::string path = dir.File("PIMVESK.ini");
    const std::string bytes = "[date]\r\ncount=2147483647\r\n0=36022\r\n1=35994\r\n";
    CountingFileSystem fs;
    size_t loaded = 0;
    for (auto _ : run) {
        run.PauseTiming();
        WriteBytes(path, bytes);
        run.ResumeTiming();
        VeskState state = StateOn(path, fs);
        LoadAll(state);
        loaded = state.Periods.size();
        SaveSettings(state);
    }
    if (loaded != 2) {
        run.SkipWithError("the two starts did not load");
    }
    ReportWrites(run, fs);
}
BENCHMARK(BM_HugeStoredCount)->Unit(benchmark::kMicrosecond);

// The load alone, which the save above does not hide.
void BM_HugeStoredCountLoad(benchmark::State& run) {
    ScratchDir dir;
    const std::string path = dir.File("PIMVESK.ini");
    WriteBytes(path, "[date]\r\ncount=2147483647\r\n0=36022\r\n1=35994\r\n");
    for (auto _ : run) {
        VeskState state = StateOn(path, DefaultFileSystem());
        LoadAll(state);
        benchmark::DoNotOptimize(state.Periods.data());
    }
}
BENCHMARK(BM_HugeStoredCountLoad)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace pimvesk::bench
