#!/usr/bin/env bash
# Installs what is missing, builds everything with AddressSanitizer and
# UndefinedBehaviorSanitizer into build/, runs every test through ctest, then
# runs each fuzz target for a short while (scripts/fuzz.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh
scripts/deps.sh "${BUILD_PACKAGES[@]}" "${TEST_PACKAGES[@]}"

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Debug -DPIMVESK_SANITIZE=ON -DPIMVESK_TESTS=ON
cmake --build build

# Any sanitizer report ends the process with an error, which fails its test.
export ASAN_OPTIONS="abort_on_error=0:halt_on_error=1:detect_leaks=1:${ASAN_OPTIONS:-}"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1:${UBSAN_OPTIONS:-}"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build --output-on-failure -j "$(nproc)"

# Then each fuzz target for a short while (clang and libFuzzer, its own build
# in build-fuzz/); FUZZ_SECONDS sets how long.
FUZZ_SECONDS="${FUZZ_SECONDS:-10}" scripts/fuzz.sh
