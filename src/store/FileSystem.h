#pragma once

#include <sys/types.h>

#include <cstdint>
#include <string>
#include <string_view>

namespace pimvesk {

// What identifies one version of a file on disk: a save replaces the file, so
// its inode and times change.
struct FileStamp {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    int64_t modifiedNs = 0;
    int64_t changedNs = 0;
    mode_t mode = 0;

    bool SameVersion(const FileStamp& other) const {
        return device == other.device && inode == other.inode && size == other.size &&
               modifiedNs == other.modifiedNs && changedNs == other.changedNs;
    }
};

// The file operations the stores use. Each returns 0 or an errno value. Tests
// replace single operations to inject faults or count writes.
class FileSystem {
public:
    virtual ~FileSystem() = default;

    // ENOENT when the file does not exist.
    virtual int Stat(const std::string& path, FileStamp& stamp);
    virtual int ReadWhole(const std::string& path, std::string& bytes, FileStamp& stamp);

    virtual int CreateFile(const std::string& path, mode_t mode, int& fd);
    virtual int WriteAll(int fd, std::string_view bytes);
    virtual int SyncFile(int fd);
    virtual int CloseFile(int fd);
    virtual int Rename(const std::string& from, const std::string& to);
    virtual int SyncDirectory(const std::string& directory);
    virtual int MakeDirectory(const std::string& directory);
    virtual int RemoveFile(const std::string& path);
    // 0 when this process may write the existing file at `path` itself.
    virtual int CheckWritable(const std::string& path);
    // The final target when `path` is a symbolic link, else `path` itself.
    virtual std::string ResolveLinks(const std::string& path);
};

FileSystem& DefaultFileSystem();

// The temporary file a save of `path` writes before renaming it into place.
std::string TemporaryPathFor(const std::string& path);

// Replaces the file at `path` whole with `bytes`: temporary file in the same
// directory, written, fsynced, renamed over the old one, directory fsynced.
// Missing parent directories are created. A file that this process may not
// write is refused, though its directory would let the rename replace it. On
// failure the old file stays as it was and Error("%s に書き込めません（cause）")
// is raised.
void ReplaceFileAtomically(FileSystem& fs, const std::string& path, std::string_view bytes);

}  // namespace pimvesk
