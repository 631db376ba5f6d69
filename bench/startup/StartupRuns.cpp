// Start-up of the program against the bare window with the same controls, as
// whole processes under the offscreen platform: the time from fork to the
// first painted window and the peak resident memory of each run, many runs
// taken in turn, medians compared. startup_runs [RUNS] [STARTS]
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "Clock.h"
#include "DataSet.h"

namespace {

struct Run {
    double ms = 0;
    long maxRssKb = 0;
    std::string loaded;  // what the probe reported it held
};

// One whole process; false when it did not report its first paint.
bool RunOnce(const std::vector<std::string>& command, Run& run) {
    int out[2];
    if (pipe(out) != 0) {
        return false;
    }
    std::vector<std::string> args = command;
    args.push_back(std::to_string(pimvesk::bench::MonotonicNs()));
    const pid_t child = fork();
    if (child == 0) {
        dup2(out[1], STDOUT_FILENO);
        close(out[0]);
        close(out[1]);
        std::vector<char*> argv;
        for (std::string& arg : args) {
            argv.push_back(arg.data());
        }
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    close(out[1]);
    std::string text;
    char buffer[256];
    for (ssize_t n; (n = read(out[0], buffer, sizeof buffer)) > 0;) {
        text.append(buffer, static_cast<size_t>(n));
    }
    close(out[0]);
    int status = 0;
    rusage usage{};
    if (wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0) {
        return false;
    }
    long long ns = 0;
    int paints = 0;
    char loaded[64] = {};
    if (std::sscanf(text.c_str(), "%lld %d %63s", &ns, &paints, loaded) != 3 || paints == 0) {
        return false;
    }
    run.loaded = loaded;
    run.ms = static_cast<double>(ns) / 1e6;
    run.maxRssKb = usage.ru_maxrss;
    return true;
}

template <typename T>
T Quantile(std::vector<T> values, double q) {
    std::sort(values.begin(), values.end());
    return values[static_cast<size_t>(q * static_cast<double>(values.size() - 1) + 0.5)];
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::atoi(argv[1]) : 41;
    const int starts = argc > 2 ? std::atoi(argv[2]) : 300;
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    const std::string home = pimvesk::bench::MakeScratchHome();
    pimvesk::bench::WriteDataSet(home, starts);
    const std::vector<std::string> window = {WINDOW_PROBE, home};
    const std::vector<std::string> bare = {BARE_PROBE};

    const std::string expected =
        std::to_string(starts) + "/" + std::to_string(pimvesk::bench::MemosThisMonth());
    std::vector<double> windowMs, bareMs;
    std::vector<long> windowKb, bareKb;
    bool ok = true;
    for (int i = -3; i < runs && ok; ++i) {  // three warm-up rounds, not counted
        Run w, b;
        // Taken in turn, each first every other time, so drift hits both alike.
        ok = i % 2 == 0 ? RunOnce(window, w) && RunOnce(bare, b)
                        : RunOnce(bare, b) && RunOnce(window, w);
        if (ok && w.loaded != expected) {
            std::fprintf(stderr, "the window held %s, not %s\n", w.loaded.c_str(),
                         expected.c_str());
            ok = false;
        }
        if (ok && i >= 0) {
            windowMs.push_back(w.ms);
            bareMs.push_back(b.ms);
            windowKb.push_back(w.maxRssKb);
            bareKb.push_back(b.maxRssKb);
        }
    }
    pimvesk::bench::RemoveScratchHome(home);
    if (!ok) {
        std::fprintf(stderr, "a run failed: no first paint, or not the data set\n");
        return 1;
    }
    const double wMs = Quantile(windowMs, 0.5);
    const double bMs = Quantile(bareMs, 0.5);
    const long wKb = Quantile(windowKb, 0.5);
    const long bKb = Quantile(bareKb, 0.5);
    std::printf(
        "start-up to the first painted window, %d runs each, %d starts, two months "
        "of daily memos\n",
        runs, starts);
    std::printf("  PimVesk       median %7.1f ms  (quartiles %.1f .. %.1f)\n", wMs,
                Quantile(windowMs, 0.25), Quantile(windowMs, 0.75));
    std::printf("  bare window   median %7.1f ms  (quartiles %.1f .. %.1f)\n", bMs,
                Quantile(bareMs, 0.25), Quantile(bareMs, 0.75));
    std::printf("  ratio %.2f (goal at most 1.10)\n", wMs / bMs);
    std::printf("peak resident memory\n");
    std::printf("  PimVesk       median %7ld kB\n", wKb);
    std::printf("  bare window   median %7ld kB\n", bKb);
    std::printf("  ratio %.2f (goal at most 1.10)\n",
                static_cast<double>(wKb) / static_cast<double>(bKb));
    return 0;
}
