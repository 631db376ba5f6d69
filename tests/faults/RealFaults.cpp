#include "RealFaults.h"

#include <fcntl.h>
#include <sched.h>
#include <spawn.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <vector>

extern char** environ;

namespace pimvesk::test {

namespace {

std::string Why(const char* what) {
    return std::string(what) + ": " + std::strerror(errno);
}

// Records the current test as skipped.
void Skip(const std::string& why) {
    GTEST_SKIP() << why;
}

}  // namespace

std::string PrivateMounts() {
    static const std::string result = [] {
        if (::unshare(CLONE_NEWNS) != 0) {
            return Why("unshare(CLONE_NEWNS)");
        }
        if (::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) {
            return Why("mount --make-rprivate /");
        }
        return std::string();
    }();
    return result;
}

std::string MountTmpfs(const std::string& directory, long bytes) {
    if (std::string why = PrivateMounts(); !why.empty()) {
        return why;
    }
    const std::string options = "size=" + std::to_string(bytes) + ",mode=0755";
    if (::mount("pimvesk-test", directory.c_str(), "tmpfs", 0, options.c_str()) != 0) {
        return Why("mount -t tmpfs");
    }
    return "";
}

std::string BindReadOnly(const std::string& directory) {
    if (std::string why = PrivateMounts(); !why.empty()) {
        return why;
    }
    if (::mount(directory.c_str(), directory.c_str(), nullptr, MS_BIND, nullptr) != 0) {
        return Why("mount --bind");
    }
    if (::mount(nullptr, directory.c_str(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) !=
        0) {
        const std::string why = Why("mount -o remount,bind,ro");
        ::umount2(directory.c_str(), MNT_DETACH);
        return why;
    }
    return "";
}

void Unmount(const std::string& directory) {
    ::umount2(directory.c_str(), MNT_DETACH);
}

bool RerunUnprivileged() {
    if (::geteuid() != 0) {
        return false;
    }
    char self[PATH_MAX];
    const ssize_t length = ::readlink("/proc/self/exe", self, sizeof self - 1);
    if (length <= 0) {
        ADD_FAILURE() << "cannot find this test program";
        return true;
    }
    self[length] = '\0';
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    const std::string filter =
        std::string("--gtest_filter=") + test->test_suite_name() + "." + test->name();
    std::vector<std::string> args = {"setpriv", "--reuid=65534", "--regid=65534", "--clear-groups",
                                     self,      filter};
    std::vector<char*> argv;
    for (std::string& arg : args) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);

    int out[2];
    if (::pipe(out) != 0) {
        ADD_FAILURE() << Why("pipe");
        return true;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDERR_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    pid_t pid = -1;
    const int error = posix_spawnp(&pid, "setpriv", &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    if (error != 0) {
        ::close(out[0]);
        Skip("setpriv cannot be started, so this test cannot run as an unprivileged user");
        return true;
    }
    std::string output;
    char buffer[4096];
    for (ssize_t got; (got = ::read(out[0], buffer, sizeof buffer)) != 0;) {
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            break;
        }
        output.append(buffer, static_cast<size_t>(got));
    }
    ::close(out[0]);
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    const bool exitedZero = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    if (exitedZero && output.find("[  SKIPPED ] 1 test") != std::string::npos) {
        Skip("as user nobody: " + output);
    } else if (!exitedZero || output.find("[  PASSED  ] 1 test") == std::string::npos) {
        ADD_FAILURE() << "as user nobody (setpriv --reuid=65534), the test failed:\n" << output;
    }
    return true;
}

std::string PermissionBitsBind(const std::string& scratchDirectory) {
    const std::string probe = scratchDirectory + "/.probe";
    const int created = ::open(probe.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0444);
    if (created < 0) {
        return Why("creating a probe file");
    }
    ::close(created);
    const int opened = ::open(probe.c_str(), O_WRONLY);
    const int error = errno;
    ::unlink(probe.c_str());
    if (opened >= 0) {
        ::close(opened);
        return "a file of mode 0444 opens for writing: permission bits do not stop this user";
    }
    return error == EACCES ? "" : std::string("unexpected: ") + std::strerror(error);
}

}  // namespace pimvesk::test
