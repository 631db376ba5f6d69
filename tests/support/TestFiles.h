#pragma once

#include <string>
#include <string_view>

#include "store/FileSystem.h"

namespace pimvesk::test {

// A fresh directory, removed with everything in it at the end of the test.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& Path() const { return path_; }
    std::string File(std::string_view name) const { return path_ + "/" + std::string(name); }

private:
    std::string path_;
};

std::string ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, std::string_view bytes);
bool Exists(const std::string& path);
// Names in a directory, sorted; "." and ".." left out.
std::string ListDirectory(const std::string& path);

// Fixture text: UTF-8 source text as the CP932 bytes the files hold.
std::string J(std::string_view utf8);

// A file system that counts what it is asked to do and fails one chosen
// operation on its n-th call (counting from 1) with a chosen errno.
class FaultyFileSystem : public FileSystem {
public:
    enum Op { kStat, kRead, kCreate, kWrite, kSync, kClose, kRename, kSyncDir, kMkdir, kOpCount };

    void FailAt(Op op, int nth, int error) {
        failOp_ = op;
        failNth_ = nth;
        failError_ = error;
        persistent_ = false;
    }
    // Fails every call from the n-th on.
    void FailFrom(Op op, int nth, int error) {
        FailAt(op, nth, error);
        persistent_ = true;
    }
    void Heal() { failNth_ = 0; }
    int Calls(Op op) const { return calls_[op]; }
    // Whole-file replacements that landed.
    int Replacements() const { return replacements_; }
    void ResetCounts();

    int Stat(const std::string& path, FileStamp& stamp) override;
    int ReadWhole(const std::string& path, std::string& bytes, FileStamp& stamp) override;
    int CreateFile(const std::string& path, mode_t mode, int& fd) override;
    int WriteAll(int fd, std::string_view bytes) override;
    int SyncFile(int fd) override;
    int CloseFile(int fd) override;
    int Rename(const std::string& from, const std::string& to) override;
    int SyncDirectory(const std::string& directory) override;
    int MakeDirectory(const std::string& directory) override;

private:
    int Check(Op op);

    int calls_[kOpCount] = {};
    int replacements_ = 0;
    Op failOp_ = kStat;
    int failNth_ = 0;
    int failError_ = 0;
    bool persistent_ = false;
};

}  // namespace pimvesk::test
