// The real program as a process: the end of the session (SIGTERM, SIGINT,
// SIGHUP) saves her settings, also while a box is open; a second start on the
// same data home leaves the first alone; a lock left by a killed instance is
// taken over.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <optional>
#include <string>
#include <thread>

#include "store/IniFile.h"
#include "support/StoredSettings.h"
#include "support/TestFiles.h"

namespace pimvesk {
namespace {

using test::ExpectEveryKey;
using test::Stored;

using namespace std::chrono_literals;
using test::J;

// Bounds every wait so that a broken program fails the test instead of hanging it.
constexpr auto kPatience = 60s;

class Program {
public:
    // Offscreen, or on the X display given.
    explicit Program(const std::string& dataHome, const std::string& display = "") {
        pid_ = ::fork();
        if (pid_ == 0) {
            ::setenv("XDG_DATA_HOME", dataHome.c_str(), 1);
            if (display.empty()) {
                ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
            } else {
                ::unsetenv("QT_QPA_PLATFORM");
                ::setenv("DISPLAY", display.c_str(), 1);
            }
            ::execl(PIMVESK_EXE, PIMVESK_EXE, static_cast<char*>(nullptr));
            ::_exit(127);
        }
    }
    ~Program() {
        if (!status_ && pid_ > 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
    }
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    pid_t Pid() const { return pid_; }

    // Whether the process has set a handler for the signal: the main window,
    // or the box of a second start, is then up and the signal is its to handle.
    bool Catches(int signal) const {
        std::ifstream status("/proc/" + std::to_string(pid_) + "/status");
        std::string line;
        while (std::getline(status, line)) {
            if (line.rfind("SigCgt:", 0) == 0) {
                const unsigned long long mask = std::stoull(line.substr(7), nullptr, 16);
                return (mask >> (signal - 1)) & 1u;
            }
        }
        return false;
    }

    bool WaitUntilCatches(int signal) {
        const auto end = std::chrono::steady_clock::now() + kPatience;
        while (std::chrono::steady_clock::now() < end) {
            if (Exited()) {
                return false;
            }
            if (Catches(signal)) {
                return true;
            }
            std::this_thread::sleep_for(10ms);
        }
        return false;
    }

    bool Exited() {
        if (!status_) {
            int status = 0;
            if (::waitpid(pid_, &status, WNOHANG) == pid_) {
                status_ = status;
            }
        }
        return status_.has_value();
    }

    // The exit code, or -1 for a death by signal or no end in time.
    int WaitForExit() {
        const auto end = std::chrono::steady_clock::now() + kPatience;
        while (!Exited() && std::chrono::steady_clock::now() < end) {
            std::this_thread::sleep_for(10ms);
        }
        if (!status_) {
            return -1;
        }
        return WIFEXITED(*status_) ? WEXITSTATUS(*status_) : -1;
    }

    void Send(int signal) const { ::kill(pid_, signal); }

private:
    pid_t pid_ = -1;
    std::optional<int> status_;
};

// A virtual X server on a free display, for the program's real platform.
class XServer {
public:
    XServer() {
        int pipe[2];
        if (::pipe(pipe) != 0) {
            return;
        }
        pid_ = ::fork();
        if (pid_ == 0) {
            ::close(pipe[0]);
            const std::string fd = std::to_string(pipe[1]);
            ::execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-nolisten", "tcp", "-screen", "0",
                     "800x600x24", static_cast<char*>(nullptr));
            ::_exit(127);
        }
        ::close(pipe[1]);
        char c = 0;
        std::string number;
        while (::read(pipe[0], &c, 1) == 1 && c != '\n') {
            number += c;
        }
        ::close(pipe[0]);
        if (!number.empty()) {
            display_ = ":" + number;
        }
    }
    ~XServer() { Stop(); }
    XServer(const XServer&) = delete;
    XServer& operator=(const XServer&) = delete;

    // Empty when no X server could be started.
    const std::string& Display() const { return display_; }
    void Stop() {
        if (pid_ > 0) {
            ::kill(pid_, SIGTERM);
            ::waitpid(pid_, nullptr, 0);
            pid_ = -1;
        }
    }

private:
    pid_t pid_ = -1;
    std::string display_;
};

struct Home {
    test::TempDir dir;
    std::string Path() const { return dir.Path() + "/pimvesk/"; }
    std::string Settings() const { return Path() + "PIMVESK.ini"; }
};

class SessionEndSignal : public ::testing::TestWithParam<int> {};

TEST_P(SessionEndSignal, EndsWithCodeZeroAndSavesEveryKey) {
    Home home;
    // A first start, on a data home the program makes.
    Program program(home.dir.Path());
    ASSERT_TRUE(program.WaitUntilCatches(GetParam()));
    EXPECT_FALSE(test::Exists(home.Settings()));
    program.Send(GetParam());
    EXPECT_EQ(program.WaitForExit(), 0);
    ExpectEveryKey(home.Settings(), 0);
}

INSTANTIATE_TEST_SUITE_P(TermIntHup, SessionEndSignal, ::testing::Values(SIGTERM, SIGINT, SIGHUP));

TEST(SessionEnd, KeepsWhatWasStored) {
    Home home;
    test::WriteBytes(home.Settings(),
                     J("[option]\r\nsetaverage=1\r\naverageday=30\r\n[date]\r\ncount=2\r\n"
                       "0=40000\r\n1=40030\r\n[memo]\r\ncat1=通院\r\n"));
    Program program(home.dir.Path());
    ASSERT_TRUE(program.WaitUntilCatches(SIGTERM));
    program.Send(SIGTERM);
    EXPECT_EQ(program.WaitForExit(), 0);
    ExpectEveryKey(home.Settings(), 2);
    EXPECT_EQ(Stored(home.Settings(), "option", "setaverage"), "1");
    EXPECT_EQ(Stored(home.Settings(), "option", "averageday"), "30");
    EXPECT_EQ(Stored(home.Settings(), "date", "1"), "40030");
    EXPECT_EQ(Stored(home.Settings(), "memo", "cat1"), J("通院"));
}

TEST(SessionEnd, WhileTheStartUpErrorBoxIsOpen) {
    Home home;
    test::WriteBytes(home.Settings(), "[color]\r\nback=abc\r\n[date]\r\ncount=1\r\n0=40000\r\n");
    Program program(home.dir.Path());
    ASSERT_TRUE(program.WaitUntilCatches(SIGTERM));
    // The box opens once the window is up; give it the moment it takes.
    std::this_thread::sleep_for(500ms);
    EXPECT_FALSE(program.Exited());
    program.Send(SIGTERM);
    EXPECT_EQ(program.WaitForExit(), 0);
    ExpectEveryKey(home.Settings(), 1);
    EXPECT_EQ(Stored(home.Settings(), "date", "0"), "40000");
}

// The desktop ends by taking the display away before any signal comes: Qt
// then ends the process from inside its event loop.
TEST(SessionEnd, TheDisplayGoingAwaySavesToo) {
    XServer x;
    if (x.Display().empty()) {
        GTEST_SKIP() << "Xvfb could not be started here (scripts/test.sh installs it)";
    }
    Home home;
    test::WriteBytes(home.Settings(), "[date]\r\ncount=1\r\n0=40000\r\n");
    Program program(home.dir.Path(), x.Display());
    ASSERT_TRUE(program.WaitUntilCatches(SIGTERM));
    ::unlink(home.Settings().c_str());  // so that only a save on the way out makes it again
    x.Stop();
    EXPECT_EQ(program.WaitForExit(), 0);
    ExpectEveryKey(home.Settings(), 1);
    EXPECT_EQ(Stored(home.Settings(), "date", "0"), "40000");
}

TEST(OneInstance, ASecondStartLeavesTheFirstAloneAndEndsWithCodeZero) {
    Home home;
    Program first(home.dir.Path());
    ASSERT_TRUE(first.WaitUntilCatches(SIGTERM));
    Program second(home.dir.Path());
    // The second shows its box ("already running") and waits for her.
    ASSERT_TRUE(second.WaitUntilCatches(SIGTERM));
    std::this_thread::sleep_for(300ms);
    EXPECT_FALSE(second.Exited());
    second.Send(SIGTERM);
    EXPECT_EQ(second.WaitForExit(), 0);
    // Had it run a window of its own, its close would have written the settings.
    EXPECT_FALSE(test::Exists(home.Settings()));
    EXPECT_FALSE(first.Exited());

    first.Send(SIGTERM);
    EXPECT_EQ(first.WaitForExit(), 0);
    ExpectEveryKey(home.Settings(), 0);
}

TEST(OneInstance, TheLockOfAKilledInstanceIsTakenOver) {
    Home home;
    {
        Program killed(home.dir.Path());
        ASSERT_TRUE(killed.WaitUntilCatches(SIGTERM));
        killed.Send(SIGKILL);
        EXPECT_EQ(killed.WaitForExit(), -1);
    }
    ASSERT_TRUE(test::Exists(home.Path() + ".lock"));
    EXPECT_FALSE(test::Exists(home.Settings()));

    Program next(home.dir.Path());
    ASSERT_TRUE(next.WaitUntilCatches(SIGTERM));
    next.Send(SIGTERM);
    EXPECT_EQ(next.WaitForExit(), 0);
    ExpectEveryKey(home.Settings(), 0);  // a full instance ran and saved
}

}  // namespace
}  // namespace pimvesk
