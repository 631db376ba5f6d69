#!/usr/bin/env bash
# Installs what is missing, builds the window's benchmarks without sanitizers
# (Release) into build-bench-ui/ and runs them under the offscreen platform:
# start-up as whole processes against a bare Qt window with the same controls
# (time to the first painted window and peak memory), then a change of month
# against one repaint of the grid and adding a start to 1,000 recorded. Every
# figure is a median; each ratio compares figures of this one run.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh
scripts/deps.sh "${BUILD_PACKAGES[@]}" libbenchmark-dev

cmake -S . -B build-bench-ui -G Ninja -DCMAKE_BUILD_TYPE=Release -DPIMVESK_BENCHMARKS=ON \
      -DPIMVESK_TESTS=OFF -DPIMVESK_UI=ON
cmake --build build-bench-ui --target pimvesk_startup_runs pimvesk_window_bench

export QT_QPA_PLATFORM=offscreen
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$(mktemp -d)}"
build-bench-ui/bench/startup/pimvesk_startup_runs "${STARTUP_RUNS:-41}" 300

json=build-bench-ui/window-bench.json
build-bench-ui/bench/startup/pimvesk_window_bench --benchmark_repetitions=5 \
    --benchmark_report_aggregates_only=true --benchmark_out="$json" \
    --benchmark_out_format=json "$@" >/dev/null

awk '
    /"name":/ { name = $2; gsub(/[",]/, "", name) }
    /"real_time":/ { time = $2; gsub(/,/, "", time); median[name] = time + 0 }
    END {
        change = median["BM_ChangeMonth_median"]; repaint = median["BM_RepaintGrid_median"]
        add = median["BM_AddStart/1000_median"]; add100 = median["BM_AddStart/100_median"]
        refill = median["BM_RefillPlainList/1000_median"]
        if (repaint > 0) printf "change of month %.0f us / one repaint of the grid %.0f us = %.2f\n", change, repaint, change / repaint
        if (refill > 0) printf "adding a start to 1,000 %.0f us / refilling a plain list of 1,000 dates %.0f us = %.2f\n", add, refill, add / refill
        if (add100 > 0) printf "adding a start to 1,000 / to 100 (%.0f us) = %.1f\n", add100, add / add100
    }' "$json"
