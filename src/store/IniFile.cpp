#include "store/IniFile.h"

#include <cerrno>

#include "platform/Error.h"
#include "platform/IntText.h"

namespace pimvesk {

namespace {

// A file in UTF-16 is not ours to parse as CP932, nor to append CP932 lines to.
bool IsUtf16(std::string_view bytes) {
    return bytes.substr(0, 2) == "\xFF\xFE" || bytes.substr(0, 2) == "\xFE\xFF";
}

}  // namespace

TIniFile::TIniFile(std::string path, FileSystem& fs) : path_(std::move(path)), fs_(fs) {}

const ProfileDocument& TIniFile::Current() {
    if (inBatch_) {
        return document_;
    }
    FileStamp stamp;
    const int statError = fs_.Stat(path_, stamp);
    if (statError == ENOENT || statError == ENOTDIR) {
        if (!(cached_ && missing_)) {
            document_ = ProfileDocument();
            diskBytes_.clear();
            cached_ = FileStamp{};
            missing_ = true;
            unreadable_ = false;
        }
        return document_;
    }
    if (statError == 0 && cached_ && !missing_ && !unreadable_ && cached_->SameVersion(stamp)) {
        return document_;
    }
    std::string bytes;
    const int readError = statError != 0 ? statError : fs_.ReadWhole(path_, bytes, stamp);
    missing_ = readError == ENOENT;
    unreadable_ = (readError != 0 && !missing_) || IsUtf16(bytes);
    readError_ = readError != 0 ? readError : EILSEQ;
    neverWrite_ = neverWrite_ || unreadable_;
    document_ = unreadable_ ? ProfileDocument() : ProfileDocument(bytes);
    diskBytes_ = unreadable_ ? std::string() : std::move(bytes);
    // An unreadable file is looked at again at the next read.
    cached_ = unreadable_ ? std::nullopt : std::optional<FileStamp>(stamp);
    return document_;
}

std::string TIniFile::ReadText(std::string_view section, std::string_view key,
                               std::string_view defaultText) {
    if (auto value = Current().Find(section, key)) {
        return *value;
    }
    return std::string(defaultText);
}

int32_t TIniFile::ReadNumber(std::string_view section, std::string_view key,
                             int32_t defaultNumber) {
    const auto value = Current().Find(section, key);
    if (!value) {
        return defaultNumber;
    }
    return TryStrToInt(*value).value_or(defaultNumber);
}

bool TIniFile::ReadFlag(std::string_view section, std::string_view key, bool defaultFlag) {
    return ReadNumber(section, key, defaultFlag ? 1 : 0) != 0;
}

ProfileDocument::KeyValues TIniFile::ReadSection(std::string_view section) {
    return Current().SectionValues(section);
}

std::vector<std::string> TIniFile::ListSections() {
    return Current().SectionNames();
}

std::optional<std::string> TIniFile::ReadFailure() {
    Current();
    if (unreadable_) {
        return CannotReadMessage(path_, readError_);
    }
    return std::nullopt;
}

template <typename Change>
void TIniFile::Apply(Change change) {
    if (inBatch_) {
        batchChanged_ = change(document_) || batchChanged_;
        return;
    }
    BeginBatch();
    try {
        batchChanged_ = change(document_);
        CommitBatch();
    } catch (...) {
        DiscardBatch();
        throw;
    }
}

void TIniFile::WriteText(std::string_view section, std::string_view key, std::string_view text) {
    Apply([&](ProfileDocument& document) { return document.Set(section, key, text); });
}

void TIniFile::WriteNumber(std::string_view section, std::string_view key, int64_t number) {
    WriteText(section, key, IntToStr(number));
}

void TIniFile::WriteFlag(std::string_view section, std::string_view key, bool flag) {
    WriteText(section, key, flag ? "1" : "0");
}

void TIniFile::RemoveKey(std::string_view section, std::string_view key) {
    Apply([&](ProfileDocument& document) { return document.RemoveKey(section, key); });
}

void TIniFile::RemoveKeysIf(std::string_view section,
                            const std::function<bool(std::string_view folded)>& remove) {
    Apply([&](ProfileDocument& document) { return document.RemoveKeysIf(section, remove); });
}

void TIniFile::RemoveSection(std::string_view section) {
    Apply([&](ProfileDocument& document) { return document.RemoveSection(section); });
}

void TIniFile::BeginBatch() {
    Current();
    inBatch_ = true;
    batchChanged_ = false;
}

void TIniFile::CommitBatch() {
    inBatch_ = false;
    if (!batchChanged_) {
        return;
    }
    batchChanged_ = false;
    if (neverWrite_) {
        cached_.reset();
        throw Error(CannotWriteMessage(path_) + "（読み込めなかったファイルは上書きしません）");
    }
    std::string bytes = document_.Serialize();
    // Operations that undo each other (a key removed and written again) leave
    // the file as it was: nothing to write.
    if (bytes == diskBytes_ && !missing_) {
        return;
    }
    try {
        ReplaceFileAtomically(fs_, path_, bytes);
        diskBytes_ = std::move(bytes);
    } catch (...) {
        cached_.reset();  // memory is ahead of the disk: read it again
        throw;
    }
    FileStamp stamp;
    if (fs_.Stat(path_, stamp) == 0) {
        cached_ = stamp;
        missing_ = false;
    } else {
        cached_.reset();
    }
}

void TIniFile::DiscardBatch() {
    inBatch_ = false;
    if (batchChanged_) {
        cached_.reset();
    }
    batchChanged_ = false;
}

}  // namespace pimvesk
