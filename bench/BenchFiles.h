#pragma once

#include <string>
#include <string_view>

#include "store/FileSystem.h"

namespace pimvesk::bench {

// A fresh directory, removed with everything in it when done.
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    std::string File(std::string_view name) const { return path_ + "/" + std::string(name); }

private:
    std::string path_;
};

void WriteBytes(const std::string& path, std::string_view bytes);

// The real file system, counting what reaches the disk.
class CountingFileSystem : public FileSystem {
public:
    int CreateFile(const std::string& path, mode_t mode, int& fd) override;
    int WriteAll(int fd, std::string_view bytes) override;
    int Rename(const std::string& from, const std::string& to) override;

    // Calls of write(2) paths: temporary files created, writes into them, renames into place.
    long Creates() const { return creates_; }
    long Writes() const { return writes_; }
    long Renames() const { return renames_; }

private:
    long creates_ = 0;
    long writes_ = 0;
    long renames_ = 0;
};

}  // namespace pimvesk::bench
