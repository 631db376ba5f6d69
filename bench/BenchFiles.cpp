#include "BenchFiles.h"

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace pimvesk::bench {

ScratchDir::ScratchDir() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "pimvesk-bench-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("mkdtemp failed");
    }
    path_ = pattern;
}

ScratchDir::~ScratchDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

void WriteBytes(const std::string& path, std::string_view bytes) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        throw std::runtime_error("cannot write " + path);
    }
}

int CountingFileSystem::CreateFile(const std::string& path, mode_t mode, int& fd) {
    ++creates_;
    return FileSystem::CreateFile(path, mode, fd);
}

int CountingFileSystem::WriteAll(int fd, std::string_view bytes) {
    ++writes_;
    return FileSystem::WriteAll(fd, bytes);
}

int CountingFileSystem::Rename(const std::string& from, const std::string& to) {
    ++renames_;
    return FileSystem::Rename(from, to);
}

}  // namespace pimvesk::bench
