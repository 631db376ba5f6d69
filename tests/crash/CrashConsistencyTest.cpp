// Kills a process in the middle of real saves, many times, at every step of a
// save and at random moments, and checks after each kill that every file holds
// exactly its old content or exactly its new one, and that a leftover
// temporary file is ignored by the next start and gone after its next save.
//
// PIMVESK_CRASH_ROUNDS (default 1): rounds whose every step the strace sweep
// kills at. PIMVESK_CRASH_KILLS (default 15): kills at random moments.
// PIMVESK_CRASH_SEED: the seed of those moments.
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <random>
#include <sstream>
#include <thread>

#include "CrashScenario.h"
#include "store/FileSystem.h"
#include "support/TestFiles.h"

extern char** environ;

namespace pimvesk::crash {
namespace {

using test::ListDirectory;
using test::ReadBytes;
using test::TempDir;

long EnvNumber(const char* name, long fallback) {
    const char* text = std::getenv(name);
    return text != nullptr && *text != '\0' ? std::strtol(text, nullptr, 10) : fallback;
}

// The environment for the children: the sanitizers' leak check cannot run
// under strace, and a killed process never reaches it anyway.
std::vector<std::string> ChildEnvironment() {
    std::vector<std::string> env;
    std::string asan = "ASAN_OPTIONS=detect_leaks=0";
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string text = *entry;
        if (text.rfind("ASAN_OPTIONS=", 0) == 0) {
            asan = text + ":detect_leaks=0";
        } else {
            env.push_back(text);
        }
    }
    env.push_back(asan);
    return env;
}

struct Child {
    pid_t pid = -1;
};

// Starts args[0], looked up in PATH, with its output discarded; descriptors
// without close-on-exec stay open in it.
Child Spawn(const std::vector<std::string>& args) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    std::vector<char*> argv;
    for (const std::string& arg : args) {
        argv.push_back(const_cast<char*>(arg.c_str()));
    }
    argv.push_back(nullptr);
    std::vector<std::string> envText = ChildEnvironment();
    std::vector<char*> envp;
    for (std::string& entry : envText) {
        envp.push_back(entry.data());
    }
    envp.push_back(nullptr);
    Child child;
    const int error =
        posix_spawnp(&child.pid, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0) {
        child.pid = -1;
    }
    return child;
}

int Wait(const Child& child) {
    int status = 0;
    while (::waitpid(child.pid, &status, 0) < 0 && errno == EINTR) {
    }
    return status;
}

bool KilledBySigkill(int status) {
    return WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
}

// Whether strace can trace and inject here (it needs ptrace).
bool StraceWorks() {
    const Child child = Spawn({"strace", "-f", "-o", "/dev/null", "-e", "trace=write", "-e",
                               "inject=write:signal=SIGKILL:when=1", "sh", "-c", "echo x"});
    return child.pid > 0 && KilledBySigkill(Wait(child));
}

// The system calls at which the sweep kills: each is stopped on entry, so
// killing at call k of a name is also killing just after call k - 1.
constexpr const char* kSweptCalls = "openat,write,fsync,fchmod,close,rename,unlink,mkdir";

struct KillPoint {
    std::string call;
    int nth;
};

// One untouched run under strace, to learn which calls the saves make.
std::vector<KillPoint> Census(const std::string& dir, long rounds, const std::string& log) {
    const Child child = Spawn({"strace", "-o", log, "-e", std::string("trace=") + kSweptCalls,
                               CRASH_SAVER, dir, std::to_string(rounds)});
    if (child.pid <= 0 || Wait(child) != 0) {
        return {};
    }
    std::ifstream in(log);
    std::map<std::string, int> counts;
    std::vector<KillPoint> points;
    bool inSaves = false;
    for (std::string line; std::getline(in, line);) {
        const size_t open = line.find('(');
        if (line.empty() || line[0] == '+' || line[0] == '-' || open == std::string::npos ||
            line.find("resumed>") != std::string::npos) {
            continue;
        }
        const std::string call = line.substr(0, open);
        const int nth = ++counts[call];
        // Calls before the first touch of the directory are the program's own start.
        inSaves = inSaves || line.find(dir) != std::string::npos;
        if (inSaves) {
            points.push_back({call, nth});
        }
    }
    return points;
}

struct Snapshot {
    std::map<std::string, std::string> bytes;  // file name -> content
    Parsed parsed;
};

const char* const kFileNames[] = {"PIMVESK.ini", "data/2024_1.pim", "data/2024_2.pim"};

std::string PathOf(const std::string& dir, const std::string& name) {
    return dir + "/" + name;
}

Snapshot Take(const std::string& dir) {
    Snapshot snapshot;
    for (const char* name : kFileNames) {
        const std::string path = PathOf(dir, name);
        snapshot.bytes[name] = test::Exists(path) ? ReadBytes(path) : "<missing>";
    }
    snapshot.parsed = ParseDirectory(dir);
    return snapshot;
}

struct Tally {
    int kills = 0;
    int corrupt = 0;
    int leftovers = 0;  // kills that left a temporary file behind
    std::vector<std::string> failures;
};

class CrashTest : public ::testing::Test {
protected:
    void SetUp() override {
        // The two contents as the files hold them, worked out in-process.
        TempDir scratch;
        Prepare(scratch.Path());
        a_ = Take(scratch.Path());
        Session session;
        OpenSession(session, scratch.Path());
        SaveRound(session, ContentB());
        b_ = Take(scratch.Path());
        SaveRound(session, ContentA());
        const Snapshot again = Take(scratch.Path());
        ASSERT_EQ(again.bytes, a_.bytes) << "content A does not give the same bytes twice";
        for (const char* name : kFileNames) {
            ASSERT_NE(a_.bytes[name], b_.bytes[name]) << name;
        }
        ASSERT_TRUE(a_.parsed.reports.empty());
        ASSERT_TRUE(b_.parsed.reports.empty());
        Prepare(dir_.Path());
    }

    // After a kill: every file is A or B, byte for byte and as loaded; then a
    // later start ignores any leftover temporary file and its saves clean it.
    void Check(const std::string& what, Tally& tally) {
        const std::string dir = dir_.Path();
        const Snapshot now = Take(dir);
        std::ostringstream why;
        for (const char* name : kFileNames) {
            const std::string& bytes = now.bytes.at(name);
            if (bytes != a_.bytes[name] && bytes != b_.bytes[name]) {
                why << name << " is neither the old nor the new content (" << bytes.size()
                    << " bytes); ";
            }
        }
        const Parsed& p = now.parsed;
        if (!p.SameSettings(a_.parsed) && !p.SameSettings(b_.parsed)) {
            why << "the settings load as neither content; ";
        }
        if (p.january != a_.parsed.january && p.january != b_.parsed.january) {
            why << "January loads as neither content; ";
        }
        if (p.february != a_.parsed.february && p.february != b_.parsed.february) {
            why << "February loads as neither content; ";
        }
        if (!p.reports.empty()) {
            why << "the load reported: " << p.reports.front() << "; ";
        }
        const std::string top = ListDirectory(dir);
        const std::string data = test::Exists(dir + "/data") ? ListDirectory(dir + "/data") : "";
        for (const std::string& listing : {top, data}) {
            std::istringstream names(listing);
            for (std::string name; names >> name;) {
                const bool ours = name == "PIMVESK.ini" || name == "data" || name == "2024_1.pim" ||
                                  name == "2024_2.pim";
                const bool temporary = name == ".PIMVESK.ini.tmp" || name == ".2024_1.pim.tmp" ||
                                       name == ".2024_2.pim.tmp";
                if (!ours && !temporary) {
                    why << "unexpected file " << name << "; ";
                }
            }
        }
        const bool leftover =
            top.find(".tmp") != std::string::npos || data.find(".tmp") != std::string::npos;
        tally.leftovers += leftover ? 1 : 0;

        // The next start: it loads what the files hold (checked above, the
        // temporary files unread), then saves both contents, so that every
        // file is written at least once.
        Session session;
        OpenSession(session, dir);
        SaveRound(session, ContentB());
        SaveRound(session, ContentA());
        const Snapshot after = Take(dir);
        if (after.bytes != a_.bytes) {
            why << "the next start's saves did not give content A; ";
        }
        if (ListDirectory(dir) != "PIMVESK.ini data" ||
            ListDirectory(dir + "/data") != "2024_1.pim 2024_2.pim") {
            why << "a temporary file outlived the next saves: " << ListDirectory(dir) << " / "
                << ListDirectory(dir + "/data") << "; ";
        }
        if (!why.str().empty()) {
            ++tally.corrupt;
            if (tally.failures.size() < 10) {
                tally.failures.push_back(what + ": " + why.str());
            }
        }
    }

    void Report(const char* name, const Tally& tally) {
        std::cout << "[crash] " << name << ": kills=" << tally.kills << " corrupt=" << tally.corrupt
                  << " leftover-temporaries=" << tally.leftovers << std::endl;
        RecordProperty("kills", tally.kills);
        RecordProperty("corrupt", tally.corrupt);
        for (const std::string& failure : tally.failures) {
            ADD_FAILURE() << failure;
        }
        EXPECT_EQ(tally.corrupt, 0);
    }

    TempDir dir_;
    Snapshot a_;
    Snapshot b_;
};

TEST_F(CrashTest, KilledAtEveryStepOfTheSaves) {
    if (!StraceWorks()) {
        GTEST_SKIP() << "strace cannot trace and inject signals here (no ptrace?): "
                        "the step-by-step kills are not run";
    }
    const long rounds = EnvNumber("PIMVESK_CRASH_ROUNDS", 1);
    TempDir logs;
    const std::vector<KillPoint> points = Census(dir_.Path(), rounds, logs.File("census"));
    ASSERT_FALSE(points.empty()) << "the census run under strace failed";
    // The census run saved too: put content A back.
    Prepare(dir_.Path());
    Tally tally;
    for (const KillPoint& point : points) {
        const std::string inject =
            "inject=" + point.call + ":signal=SIGKILL:when=" + std::to_string(point.nth);
        const Child child = Spawn({"strace", "-o", "/dev/null", "-e", "trace=" + point.call, "-e",
                                   inject, CRASH_SAVER, dir_.Path(), std::to_string(rounds)});
        ASSERT_GT(child.pid, 0);
        const int status = Wait(child);
        // strace dies of the signal that killed what it traced.
        ASSERT_TRUE(KilledBySigkill(status))
            << inject << ": the saver was not killed, status " << status;
        ++tally.kills;
        Check("killed on entering " + point.call + " #" + std::to_string(point.nth), tally);
    }
    Report("every step", tally);
}

TEST_F(CrashTest, KilledAtRandomMoments) {
    const long kills = EnvNumber("PIMVESK_CRASH_KILLS", 15);
    const auto seed =
        static_cast<unsigned>(EnvNumber("PIMVESK_CRASH_SEED", std::random_device{}()));
    std::cout << "[crash] random moments: seed " << seed << std::endl;
    std::mt19937 random(seed);

    // Kills land anywhere in about two rounds of saves.
    const auto start = std::chrono::steady_clock::now();
    {
        Session session;
        OpenSession(session, dir_.Path());
        SaveRound(session, ContentB());
        SaveRound(session, ContentA());
    }
    const auto window = std::chrono::duration_cast<std::chrono::microseconds>(
        std::chrono::steady_clock::now() - start);
    std::uniform_int_distribution<long> delay(0, std::max<long>(1, window.count()));

    Tally tally;
    for (long i = 0; i < kills; ++i) {
        int ready[2];
        ASSERT_EQ(::pipe(ready), 0);
        ::fcntl(ready[0], F_SETFD, FD_CLOEXEC);
        const Child child = Spawn({CRASH_SAVER, dir_.Path(), "0", std::to_string(ready[1])});
        ::close(ready[1]);
        ASSERT_GT(child.pid, 0);
        char byte = 0;
        const bool started = ::read(ready[0], &byte, 1) == 1;
        ::close(ready[0]);
        const long wait = delay(random);
        if (started) {
            std::this_thread::sleep_for(std::chrono::microseconds(wait));
        }
        ::kill(child.pid, SIGKILL);
        const int status = Wait(child);
        ASSERT_TRUE(started && KilledBySigkill(status))
            << "the saver stopped on its own, status " << status;
        ++tally.kills;
        Check("killed " + std::to_string(wait) + " us into the saves", tally);
    }
    Report("random moments", tally);
}

}  // namespace
}  // namespace pimvesk::crash
