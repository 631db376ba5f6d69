#include "support/TestFiles.h"

#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <stdexcept>

#include "platform/Cp932.h"

namespace pimvesk::test {

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "pimvesk-test-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("mkdtemp failed");
    }
    path_ = pattern;
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw std::runtime_error("cannot read " + path);
    }
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const std::string& path, std::string_view bytes) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        throw std::runtime_error("cannot write " + path);
    }
}

bool Exists(const std::string& path) {
    return std::filesystem::exists(path);
}

std::string ListDirectory(const std::string& path) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(path)) {
        names.insert(entry.path().filename().string());
    }
    std::ostringstream out;
    for (const std::string& name : names) {
        out << (out.tellp() > 0 ? " " : "") << name;
    }
    return out.str();
}

std::string J(std::string_view utf8) {
    auto bytes = Utf8ToCp932(utf8);
    if (!bytes) {
        throw std::runtime_error("fixture text not in CP932");
    }
    return *bytes;
}

void FaultyFileSystem::ResetCounts() {
    for (int& count : calls_) {
        count = 0;
    }
    replacements_ = 0;
}

int FaultyFileSystem::Check(Op op) {
    ++calls_[op];
    const bool hit = persistent_ ? calls_[op] >= failNth_ : calls_[op] == failNth_;
    return failNth_ > 0 && op == failOp_ && hit ? failError_ : 0;
}

int FaultyFileSystem::Stat(const std::string& path, FileStamp& stamp) {
    if (const int error = Check(kStat)) {
        return error;
    }
    return FileSystem::Stat(path, stamp);
}

int FaultyFileSystem::ReadWhole(const std::string& path, std::string& bytes, FileStamp& stamp) {
    if (const int error = Check(kRead)) {
        return error;
    }
    return FileSystem::ReadWhole(path, bytes, stamp);
}

int FaultyFileSystem::CreateFile(const std::string& path, mode_t mode, int& fd) {
    if (const int error = Check(kCreate)) {
        return error;
    }
    return FileSystem::CreateFile(path, mode, fd);
}

int FaultyFileSystem::WriteAll(int fd, std::string_view bytes) {
    if (const int error = Check(kWrite)) {
        // A short write: part of the bytes reach the temporary file.
        FileSystem::WriteAll(fd, bytes.substr(0, bytes.size() / 2));
        return error;
    }
    return FileSystem::WriteAll(fd, bytes);
}

int FaultyFileSystem::SyncFile(int fd) {
    if (const int error = Check(kSync)) {
        return error;
    }
    return FileSystem::SyncFile(fd);
}

int FaultyFileSystem::CloseFile(int fd) {
    const int error = Check(kClose);
    const int closed = FileSystem::CloseFile(fd);
    return error != 0 ? error : closed;
}

int FaultyFileSystem::Rename(const std::string& from, const std::string& to) {
    if (const int error = Check(kRename)) {
        return error;
    }
    const int error = FileSystem::Rename(from, to);
    replacements_ += error == 0 ? 1 : 0;
    return error;
}

int FaultyFileSystem::SyncDirectory(const std::string& directory) {
    if (const int error = Check(kSyncDir)) {
        return error;
    }
    return FileSystem::SyncDirectory(directory);
}

int FaultyFileSystem::MakeDirectory(const std::string& directory) {
    if (const int error = Check(kMkdir)) {
        return error;
    }
    return FileSystem::MakeDirectory(directory);
}

}  // namespace pimvesk::test
