#pragma once

// Real faults for the fault tests: mounts that only this process sees, and
// running a test again as an unprivileged user, for whom permission bits
// stop writes as they do for her.

#include <string>

namespace pimvesk::test {

// Moves this process into a mount namespace of its own, once, so that its
// mounts vanish with it. "" when done, else why it cannot.
std::string PrivateMounts();

// Mounts a tmpfs of `bytes` bytes on `directory`; "" or why not.
std::string MountTmpfs(const std::string& directory, long bytes);
// Mounts `directory` read-only over itself; "" or why not.
std::string BindReadOnly(const std::string& directory);
void Unmount(const std::string& directory);

// As root, runs the current test again in a child process as user nobody and
// records the child's outcome (passed, failed with its output, or skipped),
// returning true: the caller then returns. Not root: returns false and the
// caller runs the test body itself.
bool RerunUnprivileged();

// Whether permission bits stop this process's writes (they do not for root
// or a process with CAP_DAC_OVERRIDE); "" when they do, else why not.
std::string PermissionBitsBind(const std::string& scratchDirectory);

}  // namespace pimvesk::test
