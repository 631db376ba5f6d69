# The Debian packages the build, the program and the tests use.
BUILD_PACKAGES=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-qpa-plugins libgl-dev
                fonts-ipafont-gothic fonts-ipafont-mincho)
# strace kills the crash test's saver at chosen system calls.
# xvfb: a display that the process test can take away from the running program.
TEST_PACKAGES=(libgtest-dev libgmock-dev libbenchmark-dev strace xvfb)
# What scripts/bench.sh needs: the core alone, without Qt.
BENCH_PACKAGES=(cmake ninja-build g++ libbenchmark-dev)
# What scripts/crash.sh needs: the core, its tests and strace, without Qt.
CRASH_PACKAGES=(cmake ninja-build g++ libgtest-dev libgmock-dev strace)
# What scripts/fuzz.sh needs: clang with libFuzzer (in Debian 12's compiler-rt).
FUZZ_PACKAGES=(cmake ninja-build g++ clang libclang-rt-14-dev)
