#include "store/IniFile.h"

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

#include "platform/Error.h"
#include "support/TestFiles.h"

namespace pimvesk {
namespace {

using test::Exists;
using test::FaultyFileSystem;
using test::ListDirectory;
using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

class IniFileTest : public ::testing::Test {
protected:
    TempDir dir;
    FaultyFileSystem fs;
    std::string path = dir.File("PIMVESK.ini");
};

TEST_F(IniFileTest, CreatingTouchesNoFileAndAMissingFileReadsDefaults) {
    TIniFile file(path, fs);
    EXPECT_EQ(file.ReadText("option", "x", "def"), "def");
    EXPECT_EQ(file.ReadNumber("option", "x", 14), 14);
    EXPECT_TRUE(file.ReadFlag("option", "x", true));
    EXPECT_TRUE(file.ListSections().empty());
    EXPECT_FALSE(file.ReadFailure());
    EXPECT_EQ(ListDirectory(dir.Path()), "");
}

TEST_F(IniFileTest, NumbersAndFlags) {
    WriteBytes(path, "[o]\r\nhex=0x10\r\ndollar=$10\r\nbad=1a\r\nempty=\r\nflag=2\r\nzero=0\r\n");
    TIniFile file(path, fs);
    EXPECT_EQ(file.ReadNumber("o", "hex", 0), 16);
    EXPECT_EQ(file.ReadNumber("o", "dollar", 0), 16);
    EXPECT_EQ(file.ReadNumber("o", "bad", 14), 14);
    EXPECT_EQ(file.ReadNumber("o", "empty", 14), 14);
    EXPECT_TRUE(file.ReadFlag("o", "flag", false));
    EXPECT_FALSE(file.ReadFlag("o", "zero", true));
    EXPECT_EQ(file.ReadText("o", "empty", "def"), "");
}

TEST_F(IniFileTest, WritesReachTheDiskAtOnceAndReadsSeeTheDisk) {
    TIniFile file(path, fs);
    file.WriteNumber("option", "ovuave", -3);
    file.WriteFlag("option", "setaverage", true);
    EXPECT_EQ(ReadBytes(path), "[option]\r\novuave=-3\r\nsetaverage=1\r\n");
    // Another program edits the file: the next read sees it.
    WriteBytes(path, "[option]\r\novuave=20\r\n");
    EXPECT_EQ(file.ReadNumber("option", "ovuave", 0), 20);
    EXPECT_FALSE(Exists(dir.File(".PIMVESK.ini.tmp")));
}

TEST_F(IniFileTest, AWriteThatChangesNothingTouchesNoFile) {
    WriteBytes(path, "[option]\nperiod = 6\n");
    struct stat before {};
    ASSERT_EQ(::stat(path.c_str(), &before), 0);
    TIniFile file(path, fs);
    file.WriteNumber("option", "period", 6);
    file.RemoveKey("option", "none");
    file.RemoveSection("none");
    {
        IniBatch batch(file);
        file.WriteText("option", "period", "6");
        batch.Commit();
    }
    struct stat after {};
    ASSERT_EQ(::stat(path.c_str(), &after), 0);
    EXPECT_EQ(fs.Replacements(), 0);
    EXPECT_EQ(fs.Calls(FaultyFileSystem::kCreate), 0);
    EXPECT_EQ(before.st_ino, after.st_ino);
    EXPECT_EQ(ReadBytes(path), "[option]\nperiod = 6\n");
}

TEST_F(IniFileTest, ABatchCommitsOnceOrNotAtAll) {
    TIniFile file(path, fs);
    {
        IniBatch batch(file);
        for (int i = 0; i < 100; ++i) {
            file.WriteNumber("date", std::to_string(i), i);
        }
        EXPECT_EQ(file.ReadNumber("date", "99", -1), 99);  // reads see the batch
        EXPECT_FALSE(Exists(path));
        batch.Commit();
    }
    EXPECT_EQ(fs.Replacements(), 1);
    {
        IniBatch batch(file);
        file.WriteNumber("date", "0", 5);
        file.RemoveSection("date");
    }  // not committed
    EXPECT_EQ(fs.Replacements(), 1);
    EXPECT_EQ(file.ReadNumber("date", "0", -1), 0);
    EXPECT_EQ(file.ReadNumber("date", "99", -1), 99);
}

TEST_F(IniFileTest, ARefusedNameWritesNothing) {
    WriteBytes(path, "[a]\r\nk=1\r\n");
    TIniFile file(path, fs);
    EXPECT_THROW(file.WriteText("a", "k=", "2"), Error);
    {
        IniBatch batch(file);
        file.WriteText("a", "k", "2");
        EXPECT_THROW(file.WriteText("a", "j", "x\ny"), Error);
    }
    EXPECT_EQ(ReadBytes(path), "[a]\r\nk=1\r\n");
    EXPECT_EQ(file.ReadText("a", "k", ""), "1");
    EXPECT_EQ(fs.Replacements(), 0);
}

// A failure at any step of a save leaves the old file whole, leaves no
// temporary file, raises the write error, and a later save succeeds.
TEST_F(IniFileTest, AFailedStepLeavesTheOldFileWhole) {
    struct Case {
        const char* name;
        FaultyFileSystem::Op op;
        int error;
        std::string cause;  // what the message adds, so she knows what to fix
    };
    const Case cases[] = {
        {"create (read-only)", FaultyFileSystem::kCreate, EROFS, "（読み取り専用の場所です）"},
        {"write (disk full)", FaultyFileSystem::kWrite, ENOSPC, "（ディスクの空きが足りません）"},
        {"fsync (I/O error)", FaultyFileSystem::kSync, EIO, "（入出力エラーです）"},
        {"close", FaultyFileSystem::kClose, EIO, "（入出力エラーです）"},
        {"rename", FaultyFileSystem::kRename, EXDEV, "（エラー番号 18）"},
    };
    const std::string old = "[option]\r\nperiod=6\r\n";
    for (const Case& c : cases) {
        WriteBytes(path, old);
        fs.ResetCounts();
        fs.FailAt(c.op, 1, c.error);
        TIniFile file(path, fs);
        try {
            file.WriteNumber("option", "period", 7);
            ADD_FAILURE() << c.name << ": no error";
        } catch (const Error& error) {
            EXPECT_EQ(error.what(), path + " に書き込めません" + c.cause) << c.name;
        }
        EXPECT_EQ(ReadBytes(path), old) << c.name;
        EXPECT_EQ(ListDirectory(dir.Path()), "PIMVESK.ini") << c.name;
        EXPECT_EQ(file.ReadNumber("option", "period", 0), 6) << c.name;
        fs.Heal();
        file.WriteNumber("option", "period", 7);
        EXPECT_EQ(ReadBytes(path), "[option]\r\nperiod=7\r\n") << c.name;
    }
}

TEST_F(IniFileTest, AFailedDirectorySyncIsReported) {
    fs.FailAt(FaultyFileSystem::kSyncDir, 1, EIO);
    TIniFile file(path, fs);
    EXPECT_THROW(file.WriteNumber("a", "k", 1), Error);
}

TEST_F(IniFileTest, AFileThatCannotBeReadIsReportedAndNeverWrittenOver) {
    WriteBytes(path, "[option]\r\nperiod=9\r\n");
    fs.FailAt(FaultyFileSystem::kRead, 1, EIO);
    TIniFile file(path, fs);
    EXPECT_EQ(file.ReadFailure(), path + " を読み込めません（入出力エラーです）");
    EXPECT_THROW(file.WriteNumber("option", "period", 6), Error);
    EXPECT_EQ(ReadBytes(path), "[option]\r\nperiod=9\r\n");
    EXPECT_EQ(fs.Calls(FaultyFileSystem::kCreate), 0);
    // Once it reads again it reads as before, but this store, whose reader may
    // hold defaults in place of what it could not read, still writes nothing.
    EXPECT_FALSE(file.ReadFailure());
    EXPECT_EQ(file.ReadNumber("option", "period", 0), 9);
    EXPECT_THROW(file.WriteNumber("option", "period", 6), Error);
    EXPECT_EQ(ReadBytes(path), "[option]\r\nperiod=9\r\n");
}

TEST_F(IniFileTest, ADirectoryOrAUtf16FileIsNotOurs) {
    std::filesystem::create_directory(path);
    TIniFile asDirectory(path, fs);
    EXPECT_TRUE(asDirectory.ReadFailure());
    EXPECT_THROW(asDirectory.WriteNumber("a", "k", 1), Error);
    EXPECT_TRUE(std::filesystem::is_directory(path));

    const std::string other = dir.File("utf16.ini");
    const std::string utf16("\xFF\xFE[\0a\0]\0", 8);
    WriteBytes(other, utf16);
    TIniFile asUtf16(other, fs);
    EXPECT_TRUE(asUtf16.ReadFailure());
    EXPECT_THROW(asUtf16.WriteNumber("a", "k", 1), Error);
    EXPECT_EQ(ReadBytes(other), utf16);
}

TEST_F(IniFileTest, ModesLinksParentsAndLeftovers) {
    // A new file is hers alone; a replaced one keeps its mode.
    TIniFile file(path, fs);
    file.WriteNumber("a", "k", 1);
    EXPECT_EQ(std::filesystem::status(path).permissions(), std::filesystem::perms(0600));
    ::chmod(path.c_str(), 0640);
    file.WriteNumber("a", "k", 2);
    EXPECT_EQ(std::filesystem::status(path).permissions(), std::filesystem::perms(0640));

    // A symbolic link is written through, not replaced.
    const std::string link = dir.File("link.ini");
    std::filesystem::create_symlink(path, link);
    TIniFile linked(link, fs);
    linked.WriteNumber("a", "k", 3);
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(ReadBytes(path), "[a]\r\nk=3\r\n");

    // Missing parent directories are made.
    TIniFile nested(dir.File("x/data/1998_8.pim"), fs);
    nested.WriteNumber("36022", "category", 1);
    EXPECT_TRUE(Exists(dir.File("x/data/1998_8.pim")));

    // A temporary file left by a crash is never read, and the next save replaces it.
    WriteBytes(dir.File(".PIMVESK.ini.tmp"), "[a]\r\nk=garbage\r\n");
    EXPECT_EQ(file.ReadNumber("a", "k", 0), 3);
    file.WriteNumber("a", "k", 4);
    EXPECT_FALSE(Exists(dir.File(".PIMVESK.ini.tmp")));
    EXPECT_EQ(ReadBytes(path), "[a]\r\nk=4\r\n");
}

}  // namespace
}  // namespace pimvesk
