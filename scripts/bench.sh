#!/usr/bin/env bash
# Installs what is missing, builds the benchmarks without sanitizers (Release)
# into build-bench/ and runs them. Extra arguments go to the benchmark program,
# for example --benchmark_filter=LoadSave.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh
scripts/deps.sh "${BENCH_PACKAGES[@]}"

cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DPIMVESK_BENCHMARKS=ON \
      -DPIMVESK_TESTS=OFF -DPIMVESK_UI=OFF
cmake --build build-bench --target pimvesk_bench

json=build-bench/bench.json
build-bench/bench/pimvesk_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
    --benchmark_out="$json" --benchmark_out_format=json "$@"

# Linear growth means about 10 for ten times the starts (medians of the runs).
awk '
    /"name":/ { name = $2; gsub(/[",]/, "", name) }
    /"real_time":/ { time = $2; gsub(/,/, "", time); median[name] = time + 0 }
    END {
        split("BM_LoadSaveStarts BM_LoadChangeSaveStarts", names, " ")
        for (i in names) {
            small = median[names[i] "/10000_median"]
            large = median[names[i] "/100000_median"]
            if (small > 0) printf "%s: 100,000 / 10,000 starts = %.1f\n", names[i], large / small
        }
    }' "$json"
