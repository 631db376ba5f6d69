# The Debian packages the build, the program and the tests use.
BUILD_PACKAGES=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-qpa-plugins libgl-dev
                fonts-ipafont-gothic fonts-ipafont-mincho)
TEST_PACKAGES=(libgtest-dev libgmock-dev libbenchmark-dev)
# What scripts/bench.sh needs: the core alone, without Qt.
BENCH_PACKAGES=(cmake ninja-build g++ libbenchmark-dev)
