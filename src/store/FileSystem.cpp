#include "store/FileSystem.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>

#include "platform/Error.h"

namespace pimvesk {

namespace {

FileStamp StampOf(const struct stat& info) {
    FileStamp stamp;
    stamp.device = info.st_dev;
    stamp.inode = info.st_ino;
    stamp.size = info.st_size;
    stamp.modifiedNs = int64_t{info.st_mtim.tv_sec} * 1000000000 + info.st_mtim.tv_nsec;
    stamp.changedNs = int64_t{info.st_ctim.tv_sec} * 1000000000 + info.st_ctim.tv_nsec;
    stamp.mode = info.st_mode;
    return stamp;
}

std::string ParentOf(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) {
        return ".";
    }
    if (slash == 0) {
        return "/";
    }
    return path.substr(0, slash);
}

// mkdir -p for the directories above a file, each new one made durable in its parent.
int MakeParents(FileSystem& fs, const std::string& directory) {
    FileStamp stamp;
    if (fs.Stat(directory, stamp) == 0) {
        return 0;
    }
    const std::string parent = ParentOf(directory);
    if (parent != directory) {
        if (const int error = MakeParents(fs, parent)) {
            return error;
        }
    }
    if (const int error = fs.MakeDirectory(directory); error != 0 && error != EEXIST) {
        return error;
    }
    return fs.SyncDirectory(parent);
}

}  // namespace

int FileSystem::Stat(const std::string& path, FileStamp& stamp) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        return errno;
    }
    stamp = StampOf(info);
    return 0;
}

int FileSystem::ReadWhole(const std::string& path, std::string& bytes, FileStamp& stamp) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return errno;
    }
    int error = 0;
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        error = errno;
    } else if (!S_ISREG(info.st_mode)) {
        error = S_ISDIR(info.st_mode) ? EISDIR : EINVAL;
    } else {
        stamp = StampOf(info);
        bytes.clear();
        char buffer[65536];
        for (;;) {
            const ssize_t got = ::read(fd, buffer, sizeof buffer);
            if (got < 0 && errno == EINTR) {
                continue;
            }
            if (got < 0) {
                error = errno;
                break;
            }
            if (got == 0) {
                break;
            }
            bytes.append(buffer, static_cast<size_t>(got));
        }
    }
    ::close(fd);
    return error;
}

int FileSystem::CreateFile(const std::string& path, mode_t mode, int& fd) {
    fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, mode);
    if (fd < 0) {
        return errno;
    }
    // The mode of the file it replaces, whatever the umask says.
    if (::fchmod(fd, mode) != 0) {
        const int error = errno;
        ::close(fd);
        fd = -1;
        return error;
    }
    return 0;
}

int FileSystem::WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t put = ::write(fd, bytes.data(), bytes.size());
        if (put < 0 && errno == EINTR) {
            continue;
        }
        if (put < 0) {
            return errno;
        }
        bytes.remove_prefix(static_cast<size_t>(put));
    }
    return 0;
}

int FileSystem::SyncFile(int fd) {
    return ::fsync(fd) == 0 ? 0 : errno;
}

int FileSystem::CloseFile(int fd) {
    return ::close(fd) == 0 ? 0 : errno;
}

int FileSystem::Rename(const std::string& from, const std::string& to) {
    return ::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

int FileSystem::SyncDirectory(const std::string& directory) {
    const int fd = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        return errno;
    }
    const int error = ::fsync(fd) == 0 ? 0 : errno;
    ::close(fd);
    return error;
}

int FileSystem::MakeDirectory(const std::string& directory) {
    return ::mkdir(directory.c_str(), 0700) == 0 ? 0 : errno;
}

int FileSystem::RemoveFile(const std::string& path) {
    return ::unlink(path.c_str()) == 0 ? 0 : errno;
}

int FileSystem::CheckWritable(const std::string& path) {
    return ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0 ? 0 : errno;
}

std::string FileSystem::ResolveLinks(const std::string& path) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
        return path;
    }
    char resolved[PATH_MAX];
    if (::realpath(path.c_str(), resolved) == nullptr) {
        return path;
    }
    return resolved;
}

FileSystem& DefaultFileSystem() {
    static FileSystem fs;
    return fs;
}

std::string TemporaryPathFor(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    const size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    return path.substr(0, nameStart) + "." + path.substr(nameStart) + ".tmp";
}

void ReplaceFileAtomically(FileSystem& fs, const std::string& path, std::string_view bytes) {
    const std::string target = fs.ResolveLinks(path);
    const std::string directory = ParentOf(target);
    const std::string temporary = TemporaryPathFor(target);
    const auto fail = [&path](int error) { throw Error(CannotWriteMessage(path, error)); };

    mode_t mode = 0600;  // private health data: only she reads a new file
    FileStamp old;
    if (fs.Stat(target, old) == 0) {
        mode = old.mode & 07777;
        // A file she made read-only is hers to unlock: never replaced behind her back.
        if (const int error = fs.CheckWritable(target)) {
            fail(error);
        }
    } else if (const int error = MakeParents(fs, directory)) {
        fail(error);
    }

    int fd = -1;
    if (const int error = fs.CreateFile(temporary, mode, fd)) {
        fail(error);
    }
    int error = fs.WriteAll(fd, bytes);
    if (error == 0) {
        error = fs.SyncFile(fd);
    }
    const int closeError = fs.CloseFile(fd);
    if (error == 0) {
        error = closeError;
    }
    if (error == 0) {
        error = fs.Rename(temporary, target);
    }
    if (error != 0) {
        fs.RemoveFile(temporary);
        fail(error);
    }
    // After the rename the new file is in place; without this its name may not
    // survive a power cut.
    if (const int syncError = fs.SyncDirectory(directory)) {
        fail(syncError);
    }
}

}  // namespace pimvesk
