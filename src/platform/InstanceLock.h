#pragma once

#include <string>

namespace pimvesk {

// One running program per data home: an exclusive lock on a file there, held
// while the process lives. The kernel drops it when the process ends, however
// it ends, so a crashed instance leaves nothing to clean up.
class InstanceLock {
public:
    enum class State { kHeld, kTakenByAnother, kUnavailable };

    explicit InstanceLock(const std::string& path);
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // kUnavailable when the lock file cannot be made (a read-only home, say):
    // then nothing stops a second start, but nothing stops this one either.
    State Result() const { return state_; }

private:
    int fd_ = -1;
    State state_ = State::kUnavailable;
};

}  // namespace pimvesk
