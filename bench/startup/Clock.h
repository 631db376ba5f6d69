#pragma once

#include <cstdint>
#include <ctime>

namespace pimvesk::bench {

// The clock the runner and its probes share: it counts across a fork and exec.
inline int64_t MonotonicNs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return int64_t{now.tv_sec} * 1'000'000'000 + now.tv_nsec;
}

}  // namespace pimvesk::bench
