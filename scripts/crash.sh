#!/usr/bin/env bash
# The long crash run: builds the crash test with the sanitizers into
# build-crash/, then kills the saver at every step of several rounds of saves
# and at many random moments. CRASH_ROUNDS (default 4) and CRASH_KILLS
# (default 1000) set how many; CRASH_SEED repeats a run.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh
scripts/deps.sh "${CRASH_PACKAGES[@]}"

cmake -S . -B build-crash -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPIMVESK_SANITIZE=ON \
      -DPIMVESK_TESTS=ON -DPIMVESK_UI=OFF
cmake --build build-crash --target crash_tests crash_saver

export ASAN_OPTIONS="halt_on_error=1:detect_leaks=1:${ASAN_OPTIONS:-}"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1:${UBSAN_OPTIONS:-}"
export PIMVESK_CRASH_ROUNDS="${CRASH_ROUNDS:-4}"
export PIMVESK_CRASH_KILLS="${CRASH_KILLS:-1000}"
if [ -n "${CRASH_SEED:-}" ]; then
    export PIMVESK_CRASH_SEED="$CRASH_SEED"
fi
build-crash/tests/crash_tests
