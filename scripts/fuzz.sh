#!/usr/bin/env bash
# Builds the libFuzzer targets with clang into build-fuzz/ and runs each for
# FUZZ_SECONDS (default 10), starting from the seeds in fuzz/corpus/ (new
# inputs go to build-fuzz/corpus/, never into the committed seeds). A finding
# fails the run; its input is kept in build-fuzz/artifacts/.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh
scripts/deps.sh "${FUZZ_PACKAGES[@]}"

seconds="${FUZZ_SECONDS:-10}"
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DPIMVESK_FUZZ=ON -DPIMVESK_TESTS=OFF -DPIMVESK_UI=OFF
cmake --build build-fuzz

mkdir -p build-fuzz/artifacts
for target in profile int_text month_file; do
    corpus="build-fuzz/corpus/$target"
    log="build-fuzz/fuzz_$target.log"
    mkdir -p "$corpus"
    if ! "build-fuzz/fuzz/fuzz_$target" -max_total_time="$seconds" -timeout=10 \
            -print_final_stats=1 -artifact_prefix="build-fuzz/artifacts/$target-" \
            "$corpus" "fuzz/corpus/$target" >"$log" 2>&1; then
        tail -n 40 "$log"
        echo "fuzz_$target found a fault; the input is in build-fuzz/artifacts/" >&2
        exit 1
    fi
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    echo "fuzz_$target: ${runs:-?} inputs in ${seconds}s, nothing found"
done
