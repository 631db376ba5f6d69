// Faults at the store level, made real where this machine allows it: a full
// disk, a failing fsync, a read-only directory or file, a missing data home,
// a directory where the settings file should be, an unreadable settings file.
// In each: a clear message, the stored files unchanged, her edits kept in
// memory, and a later save that succeeds once the fault is gone. A case that
// needs a mount or an unprivileged user says so and is skipped where neither
// is possible.
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <functional>

#include "RealFaults.h"
#include "platform/Error.h"
#include "store/Memos.h"
#include "store/Paths.h"
#include "store/Settings.h"
#include "support/TestFiles.h"

namespace pimvesk {
namespace {

using test::Exists;
using test::FaultyFileSystem;
using test::J;
using test::ListDirectory;
using test::ReadBytes;
using test::TempDir;

VeskState OpenState(const std::string& home, FileSystem& fs = DefaultFileSystem()) {
    VeskState state;
    OpenDefaultState(state, SettingsPathFor(ProgramPathIn(home)), fs);
    state.ViewDate = EncodeDate(1998, 8, 1);
    return state;
}

// Start-up's loads: the settings, then the month shown.
LoadReport LoadAll(VeskState& state) {
    LoadReport report;
    LoadSettings(state, report);
    LoadMonthMemos(state, report);
    return report;
}

std::string AugustOf(const VeskState& state) {
    return MonthMemoPath(state, state.ViewDate);
}

// What she has stored: three starts, an ovulation day, two August memos.
void StoreHerFiles(const std::string& home) {
    VeskState state = OpenState(home);
    LoadAll(state);
    state.Periods = {35994, 36022, 36050};
    state.OvulationDay = 20;
    SaveSettings(state);
    PutMemo(state, 36022, 1, J("通院"));
    PutMemo(state, 36023, 2, "b");
}

struct Stored {
    std::string settings;
    std::string august;
    bool operator==(const Stored&) const = default;
};

Stored Snapshot(const std::string& home) {
    const VeskState state = OpenState(home);
    return {ReadBytes(state.IniPath), ReadBytes(AugustOf(state))};
}

std::string TemporaryFilesIn(const std::string& home) {
    std::string found;
    for (const std::string& dir : {home, home + "/data"}) {
        if (!std::filesystem::is_directory(dir)) {
            continue;
        }
        for (const auto& entry : std::filesystem::directory_iterator(dir)) {
            if (entry.path().extension() == ".tmp") {
                found += entry.path().string() + " ";
            }
        }
    }
    return found;
}

std::string MessageOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const Error& error) {
        return error.what();
    }
    return "<no error>";
}

// Her edits of a session: a new start, a changed option, a new memo and a
// deleted one, each of which has to reach the files in the end.
void ExpectEditsStored(const std::string& home) {
    VeskState state = OpenState(home);
    EXPECT_TRUE(LoadAll(state).Empty());
    EXPECT_EQ(state.Periods, (std::vector<TDateTime>{35994, 36022, 36050, 36078}));
    EXPECT_EQ(state.PeriodDays, 5);
    EXPECT_EQ(state.OvulationDay, 20);
    std::string text;
    EXPECT_EQ(FindMemo(state.Memos, 36022, text), 1);
    EXPECT_EQ(FindMemo(state.Memos, 36024, text), 3);
    EXPECT_EQ(text, J("新しいメモ"));
    EXPECT_EQ(FindMemo(state.Memos, 36023, text), -1) << "the deletion was lost";
}

struct WriteFault {
    std::string cause;  // what the message says after "に書き込めません"
    std::function<void()> inject;
    std::function<void()> heal;
};

// The course of every write fault: stored files, a session that loads them,
// the fault, her edits refused with the message and kept in memory, the files
// unchanged, then the fault gone and the same session's saves landing.
void SurviveWriteFault(const std::string& home, FileSystem& fs, const WriteFault& fault) {
    StoreHerFiles(home);
    const Stored before = Snapshot(home);
    VeskState state = OpenState(home, fs);
    ASSERT_TRUE(LoadAll(state).Empty());
    const std::string august = AugustOf(state);

    fault.inject();
    state.Periods.push_back(36078);
    state.PeriodDays = 5;
    EXPECT_EQ(MessageOf([&] { SaveSettings(state); }),
              state.IniPath + " に書き込めません" + fault.cause);
    EXPECT_EQ(MessageOf([&] { PutMemo(state, 36024, 3, J("新しいメモ")); }),
              august + " に書き込めません" + fault.cause);
    EXPECT_EQ(MessageOf([&] { DeleteMemo(state, 36023); }),
              august + " に書き込めません" + fault.cause);

    EXPECT_EQ(Snapshot(home), before);
    EXPECT_EQ(TemporaryFilesIn(home), "");
    EXPECT_EQ(state.Periods.size(), 4u);
    std::string text;
    EXPECT_EQ(FindMemo(state.Memos, 36024, text), 3);
    EXPECT_EQ(FindMemo(state.Memos, 36023, text), -1);

    fault.heal();
    EXPECT_NO_THROW(SaveSettings(state));
    EXPECT_NO_THROW(SaveMonthMemos(state));
    ExpectEditsStored(home);
}

class FaultCases : public ::testing::Test {
protected:
    TempDir dir;
    std::string home = dir.File("pimvesk");
};

TEST_F(FaultCases, DiskFullOnASmallTmpfs) {
    std::filesystem::create_directory(home);
    if (const std::string why = test::MountTmpfs(home, 256 * 1024); !why.empty()) {
        GTEST_SKIP() << "cannot mount a tmpfs here (" << why
                     << "); injected ENOSPC is covered through the FileSystem seam";
    }
    const std::string filler = home + "/filler";
    WriteFault fault{"（ディスクの空きが足りません）",
                     [&] {
                         // Every free page taken, as by a download that filled the disk.
                         std::ofstream out(filler, std::ios::binary);
                         const std::string block(4096, 'x');
                         while (out.write(block.data(), block.size())) {
                         }
                     },
                     [&] { std::filesystem::remove(filler); }};
    SurviveWriteFault(home, DefaultFileSystem(), fault);
    test::Unmount(home);
}

TEST_F(FaultCases, FailingFsync) {
    // No real device here fails its fsync on demand: the seam returns EIO for
    // every fsync of a file until healed.
    FaultyFileSystem fs;
    WriteFault fault{
        "（入出力エラーです）",
        [&] { fs.FailFrom(FaultyFileSystem::kSync, fs.Calls(FaultyFileSystem::kSync) + 1, EIO); },
        [&] { fs.Heal(); }};
    SurviveWriteFault(home, fs, fault);
    EXPECT_GE(fs.Calls(FaultyFileSystem::kSync), 3);
}

TEST_F(FaultCases, ReadOnlyBindMount) {
    const std::string probe = dir.File("probe");
    std::filesystem::create_directory(probe);
    if (const std::string why = test::BindReadOnly(probe); !why.empty()) {
        GTEST_SKIP() << "cannot bind-mount read-only here (" << why << ")";
    }
    test::Unmount(probe);
    WriteFault fault{"（読み取り専用の場所です）", [&] { ASSERT_EQ(test::BindReadOnly(home), ""); },
                     [&] { test::Unmount(home); }};
    SurviveWriteFault(home, DefaultFileSystem(), fault);
}

TEST_F(FaultCases, ReadOnlyDirectoryForAnUnprivilegedUser) {
    if (test::RerunUnprivileged()) {
        return;
    }
    if (const std::string why = test::PermissionBitsBind(dir.Path()); !why.empty()) {
        GTEST_SKIP() << why;
    }
    const auto setMode = [&](mode_t mode) {
        ::chmod(home.c_str(), mode);
        ::chmod((home + "/data").c_str(), mode);
    };
    WriteFault fault{"（権限がありません）", [&] { setMode(0555); }, [&] { setMode(0700); }};
    SurviveWriteFault(home, DefaultFileSystem(), fault);
}

TEST_F(FaultCases, ReadOnlyFilesForAnUnprivilegedUser) {
    if (test::RerunUnprivileged()) {
        return;
    }
    if (const std::string why = test::PermissionBitsBind(dir.Path()); !why.empty()) {
        GTEST_SKIP() << why;
    }
    // The directory would let a rename replace them: she made the files
    // read-only, and they stay as they are.
    const auto setMode = [&](mode_t mode) {
        ::chmod((home + "/PIMVESK.ini").c_str(), mode);
        ::chmod((home + "/data/1998_8.pim").c_str(), mode);
    };
    WriteFault fault{"（権限がありません）", [&] { setMode(0444); }, [&] { setMode(0600); }};
    SurviveWriteFault(home, DefaultFileSystem(), fault);
}

TEST_F(FaultCases, UnreadableSettingsFileForAnUnprivilegedUser) {
    if (test::RerunUnprivileged()) {
        return;
    }
    if (const std::string why = test::PermissionBitsBind(dir.Path()); !why.empty()) {
        GTEST_SKIP() << why;
    }
    StoreHerFiles(home);
    const Stored before = Snapshot(home);
    VeskState probe = OpenState(home);
    ::chmod(probe.IniPath.c_str(), 0);
    ::chmod(AugustOf(probe).c_str(), 0);

    VeskState state = OpenState(home);
    const LoadReport report = LoadAll(state);
    ASSERT_EQ(report.Messages().size(), 2u);
    EXPECT_EQ(report.Messages()[0], state.IniPath + " を読み込めません（権限がありません）");
    EXPECT_EQ(report.Messages()[1], AugustOf(state) + " を読み込めません（権限がありません）");
    EXPECT_TRUE(state.Periods.empty());  // defaults: nothing could be read
    state.Periods = {36078};
    const std::string refused = " に書き込めません（読み込めなかったファイルは上書きしません）";
    EXPECT_EQ(MessageOf([&] { SaveSettings(state); }), state.IniPath + refused);
    EXPECT_EQ(MessageOf([&] { PutMemo(state, 36024, 3, "x"); }), AugustOf(state) + refused);
    EXPECT_EQ(state.Periods, std::vector<TDateTime>{36078});

    ::chmod(state.IniPath.c_str(), 0600);
    ::chmod(AugustOf(state).c_str(), 0600);
    EXPECT_EQ(Snapshot(home), before);
    EXPECT_EQ(TemporaryFilesIn(home), "");
    // This session only ever held defaults, so it never saves over the file,
    // even now; the next start reads it whole and saves.
    EXPECT_THROW(SaveSettings(state), Error);
    EXPECT_EQ(Snapshot(home), before);
    VeskState next = OpenState(home);
    ASSERT_TRUE(LoadAll(next).Empty());
    EXPECT_EQ(next.Periods, (std::vector<TDateTime>{35994, 36022, 36050}));
    next.Periods.push_back(36078);
    EXPECT_NO_THROW(SaveSettings(next));
    EXPECT_NO_THROW(PutMemo(next, 36024, 3, "x"));
}

TEST_F(FaultCases, MissingDataHomeIsMadeAtTheFirstSave) {
    const std::string deep = dir.File("home/.local/share/pimvesk");
    VeskState state = OpenState(deep);
    EXPECT_TRUE(LoadAll(state).Empty());
    EXPECT_EQ(state.OvulationDay, 14);
    EXPECT_EQ(ListDirectory(dir.Path()), "") << "loading created something";
    state.Periods = {36022};
    SaveSettings(state);
    PutMemo(state, 36022, 1, "a");
    EXPECT_NE(ReadBytes(state.IniPath).find("[date]\r\n0=36022\r\ncount=1\r\n"), std::string::npos);
    EXPECT_TRUE(Exists(AugustOf(state)));
    // New directories are hers alone, like the files.
    EXPECT_EQ(std::filesystem::status(deep).permissions(), std::filesystem::perms(0700));

    // Deleted while the program runs: the next save makes it again.
    std::filesystem::remove_all(dir.File("home"));
    state.Periods.push_back(36050);
    SaveSettings(state);
    VeskState again = OpenState(deep);
    EXPECT_TRUE(LoadAll(again).Empty());
    EXPECT_EQ(again.Periods, (std::vector<TDateTime>{36022, 36050}));
}

TEST_F(FaultCases, DataHomeThatCannotBeMade) {
    // A file stands where a directory of the data home should be.
    test::WriteBytes(dir.File("share"), "not a directory");
    const std::string blocked = dir.File("share/pimvesk");
    VeskState state = OpenState(blocked);
    EXPECT_TRUE(LoadAll(state).Empty());
    state.Periods = {36022};
    EXPECT_EQ(MessageOf([&] { SaveSettings(state); }),
              state.IniPath + " に書き込めません（途中にフォルダーでないものがあります）");
    EXPECT_EQ(MessageOf([&] { PutMemo(state, 36022, 1, "a"); }),
              AugustOf(state) + " に書き込めません（途中にフォルダーでないものがあります）");
    EXPECT_EQ(ReadBytes(dir.File("share")), "not a directory");
    EXPECT_EQ(state.Periods, std::vector<TDateTime>{36022});
    std::string text;
    EXPECT_EQ(FindMemo(state.Memos, 36022, text), 1);

    std::filesystem::remove(dir.File("share"));
    EXPECT_NO_THROW(SaveSettings(state));
    EXPECT_NO_THROW(SaveMonthMemos(state));
    VeskState next = OpenState(blocked);
    EXPECT_TRUE(LoadAll(next).Empty());
    EXPECT_EQ(next.Periods, std::vector<TDateTime>{36022});
    EXPECT_EQ(FindMemo(next.Memos, 36022, text), 1);
}

TEST_F(FaultCases, SettingsPathIsADirectory) {
    StoreHerFiles(home);
    VeskState probe = OpenState(home);
    std::filesystem::remove(probe.IniPath);
    std::filesystem::create_directory(probe.IniPath);
    test::WriteBytes(probe.IniPath + "/keep", "hers");

    VeskState state = OpenState(home);
    const LoadReport report = LoadAll(state);
    ASSERT_EQ(report.Messages().size(), 1u);
    EXPECT_EQ(report.Messages()[0], state.IniPath + " を読み込めません（フォルダーです）");
    EXPECT_EQ(state.OvulationDay, 14);
    ASSERT_EQ(state.Memos.size(), 2u);  // the month file is not affected
    state.Periods = {36078};
    EXPECT_EQ(MessageOf([&] { SaveSettings(state); }),
              state.IniPath + " に書き込めません（読み込めなかったファイルは上書きしません）");
    EXPECT_EQ(state.Periods, std::vector<TDateTime>{36078});
    EXPECT_EQ(ListDirectory(state.IniPath), "keep");
    EXPECT_EQ(ReadBytes(state.IniPath + "/keep"), "hers");
    EXPECT_EQ(TemporaryFilesIn(home), "");

    // Once the directory is gone, the next start saves.
    std::filesystem::remove_all(state.IniPath);
    VeskState next = OpenState(home);
    EXPECT_TRUE(LoadAll(next).Empty());
    next.Periods = {36078};
    EXPECT_NO_THROW(SaveSettings(next));
    EXPECT_NE(ReadBytes(next.IniPath).find("0=36078"), std::string::npos);
}

}  // namespace
}  // namespace pimvesk
