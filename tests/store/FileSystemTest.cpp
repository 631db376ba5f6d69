#include "store/FileSystem.h"

#include <gtest/gtest.h>

#include <cerrno>

#include "platform/Error.h"
#include "support/TestFiles.h"

namespace pimvesk {
namespace {

TEST(FileSystem, TemporaryFileSitsHiddenBesideTheFile) {
    EXPECT_EQ(TemporaryPathFor("/home/a/pimvesk/PIMVESK.ini"), "/home/a/pimvesk/.PIMVESK.ini.tmp");
    EXPECT_EQ(TemporaryPathFor("x.pim"), ".x.pim.tmp");
}

TEST(FileSystem, ReplaceCreatesMissingDirectoriesDurably) {
    test::TempDir dir;
    test::FaultyFileSystem fs;
    ReplaceFileAtomically(fs, dir.File("home/data/2024_1.pim"), "[1]\r\n");
    EXPECT_EQ(test::ReadBytes(dir.File("home/data/2024_1.pim")), "[1]\r\n");
    EXPECT_EQ(fs.Calls(test::FaultyFileSystem::kMkdir), 2);
    // Each new directory is synced in its parent, and the file in its directory.
    EXPECT_EQ(fs.Calls(test::FaultyFileSystem::kSyncDir), 3);
}

TEST(FileSystem, AFailedMkdirIsAWriteError) {
    test::TempDir dir;
    test::FaultyFileSystem fs;
    fs.FailAt(test::FaultyFileSystem::kMkdir, 1, EACCES);
    EXPECT_THROW(ReplaceFileAtomically(fs, dir.File("data/2024_1.pim"), "x"), Error);
    EXPECT_EQ(test::ListDirectory(dir.Path()), "");
}

}  // namespace
}  // namespace pimvesk
