#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "store/FileSystem.h"
#include "store/ProfileDocument.h"

namespace pimvesk {

// The profile store bound to one file. Creating it touches no file. Reads see
// the file as it is on disk now; every change reaches the disk as a whole new
// file, and a change that changes nothing touches no file. Inside a batch the
// operations apply in memory and Commit writes them once.
class TIniFile {
public:
    explicit TIniFile(std::string path, FileSystem& fs = DefaultFileSystem());

    const std::string& FileName() const { return path_; }

    std::string ReadText(std::string_view section, std::string_view key,
                         std::string_view defaultText);
    int32_t ReadNumber(std::string_view section, std::string_view key, int32_t defaultNumber);
    bool ReadFlag(std::string_view section, std::string_view key, bool defaultFlag);
    ProfileDocument::KeyValues ReadSection(std::string_view section);
    std::vector<std::string> ListSections();

    void WriteText(std::string_view section, std::string_view key, std::string_view text);
    void WriteNumber(std::string_view section, std::string_view key, int64_t number);
    void WriteFlag(std::string_view section, std::string_view key, bool flag);
    void RemoveKey(std::string_view section, std::string_view key);
    void RemoveKeysIf(std::string_view section,
                      const std::function<bool(std::string_view folded)>& remove);
    void RemoveSection(std::string_view section);

    void BeginBatch();
    // Writes the batch's changes, if any, as one new file; raises Error when the
    // file cannot be written, leaving the old file as it was.
    void CommitBatch();
    void DiscardBatch();

    // Set when the file exists but could not be read (a read then sees no
    // content, and from then on no write of this store replaces the file): the
    // message to show.
    std::optional<std::string> ReadFailure();

private:
    const ProfileDocument& Current();
    template <typename Change>
    void Apply(Change change);

    std::string path_;
    FileSystem& fs_;
    ProfileDocument document_;
    std::string diskBytes_;            // the file as document_ was read from it
    std::optional<FileStamp> cached_;  // the version document_ holds; none when not loaded
    bool missing_ = false;             // no file at cached_'s last look
    bool unreadable_ = false;
    int readError_ = 0;  // why, when unreadable_: an errno value
    // Once a read has failed, what the caller holds may be defaults in place of
    // the file's content: this store never replaces the file after that.
    bool neverWrite_ = false;
    bool inBatch_ = false;
    bool batchChanged_ = false;
};

// Begins a batch and discards it unless committed.
class IniBatch {
public:
    explicit IniBatch(TIniFile& file) : file_(file) { file_.BeginBatch(); }
    ~IniBatch() {
        if (!done_) {
            file_.DiscardBatch();
        }
    }
    IniBatch(const IniBatch&) = delete;
    IniBatch& operator=(const IniBatch&) = delete;

    void Commit() {
        done_ = true;
        file_.CommitBatch();
    }

private:
    TIniFile& file_;
    bool done_ = false;
};

}  // namespace pimvesk
