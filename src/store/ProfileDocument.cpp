#include "store/ProfileDocument.h"

#include <algorithm>
#include <cstring>

#include "platform/Cp932.h"
#include "platform/Error.h"

namespace pimvesk {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\v';
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

bool IsQuote(char c) {
    return c == '"' || c == '\'';
}

std::string_view DecodeValue(std::string_view raw) {
    std::string_view value = Trim(raw);
    if (value.size() >= 2 && IsQuote(value.front()) && value.front() == value.back()) {
        value = value.substr(1, value.size() - 2);
    }
    return value;
}

std::string EncodeValue(std::string_view value) {
    const bool quote =
        !value.empty() &&
        (IsBlank(value.front()) || IsBlank(value.back()) ||
         (value.size() >= 2 && IsQuote(value.front()) && value.front() == value.back()));
    if (quote) {
        return "\"" + std::string(value) + "\"";
    }
    return std::string(value);
}

// The part of a line after its blanks; a UTF-8 byte-order mark at the very
// start of the file counts as blank, so a file saved by a UTF-8 editor still
// finds its first section.
std::string_view Content(std::string_view text, bool firstLine) {
    if (firstLine && text.substr(0, 3) == "\xEF\xBB\xBF") {
        text.remove_prefix(3);
    }
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    return text;
}

// Finds the line breaks of a file in order, memchr doing the scanning: each
// of CR and LF is searched for from where it was last found, so every byte is
// looked at about twice, however long the lines and whichever break they use.
class LineEnds {
public:
    explicit LineEnds(std::string_view bytes)
        : bytes_(bytes), cr_(Find('\r', 0)), lf_(Find('\n', 0)) {}

    // The first CR or LF at or after `from`; npos when none.
    size_t Next(size_t from) {
        if (cr_ < from) {
            cr_ = Find('\r', from);
        }
        if (lf_ < from) {
            lf_ = Find('\n', from);
        }
        return std::min(cr_, lf_);
    }

private:
    size_t Find(char c, size_t from) const {
        if (from >= bytes_.size()) {
            return std::string_view::npos;
        }
        const void* hit = std::memchr(bytes_.data() + from, c, bytes_.size() - from);
        return hit == nullptr ? std::string_view::npos
                              : static_cast<size_t>(static_cast<const char*>(hit) - bytes_.data());
    }

    std::string_view bytes_;
    size_t cr_;  // the last CR found, or npos
    size_t lf_;
};

// The first ']' from `from` on that is not the trail byte of a double-byte character.
size_t FindCloseBracket(std::string_view text, size_t from) {
    size_t i = from;
    while (i < text.size() && text[i] != ']') {
        i += IsCp932LeadByte(static_cast<unsigned char>(text[i])) ? 2 : 1;
    }
    return std::min(i, text.size());
}

// A section name reads back from its header only when no ']' ends it early and
// its last double-byte character is whole (else the ']' would pass as a trail byte).
bool EndsWhole(std::string_view name) {
    size_t i = 0;
    while (i < name.size() && name[i] != ']') {
        i += IsCp932LeadByte(static_cast<unsigned char>(name[i])) ? 2 : 1;
    }
    return i == name.size();
}

// The name of a header line: up to its closing ']', or to the end of the line.
std::string_view HeaderName(std::string_view content) {
    return Trim(content.substr(1, FindCloseBracket(content, 1) - 1));
}

bool HasBreakingByte(std::string_view text) {
    return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

std::string Shown(std::string_view name) {
    return ShownInMessage(Cp932ToUtf8(name));
}

void CheckSectionName(std::string_view section) {
    if (section.empty() || HasBreakingByte(section) || !EndsWhole(section) ||
        Trim(section).size() != section.size()) {
        throw Error(
            "セクション名 '" + Shown(section) +
            "' は使えません（空の名前、前後の空白、改行・NUL・] を含む名前は書き込めません）");
    }
}

void CheckKeyName(std::string_view key) {
    if (key.empty() || HasBreakingByte(key) || key.find('=') != std::string_view::npos ||
        key.front() == ';' || key.front() == '[' || Trim(key).size() != key.size()) {
        throw Error(
            "キー名 '" + Shown(key) +
            "' は使えません（空の名前、前後の空白、改行・NUL・= を含む名前、; や [ で始まる名前は"
            "書き込めません）");
    }
}

}  // namespace

bool ProfileDocument::CanHoldValue(std::string_view value) {
    return !HasBreakingByte(value);
}

void ProfileDocument::CheckValue(std::string_view key, std::string_view value) {
    if (!CanHoldValue(value)) {
        throw Error("'" + Shown(key) + "' の値に改行や NUL を含めることはできません");
    }
}

std::string FoldName(std::string_view name) {
    std::string folded(name);
    for (size_t i = 0; i < folded.size(); ++i) {
        const auto byte = static_cast<unsigned char>(folded[i]);
        if (IsCp932LeadByte(byte)) {
            ++i;  // the trail byte is part of the character, never a letter
        } else if (byte >= 'A' && byte <= 'Z') {
            folded[i] = static_cast<char>(byte - 'A' + 'a');
        }
    }
    return folded;
}

void ProfileDocument::Section::Index() {
    keys.clear();
    size_t keyLines = 0;
    for (const Line& line : lines) {
        keyLines += line.kind == Line::kKey ? 1 : 0;
    }
    keys.reserve(keyLines);  // one table for the whole section, never grown in steps
    lastKey = lines.begin();
    for (auto it = lines.begin(); it != lines.end(); ++it) {
        if (it->kind == Line::kKey) {
            const auto [named, added] = keys.try_emplace(it->folded, NamedLines{it, {}});
            it->firstOfName = added;
            if (!added) {
                named->second.later.push_back(it);
            }
            lastKey = it;
        }
    }
}

void ProfileDocument::Section::JoinSplitBreaks(const std::vector<Lines::iterator>& gapEnds) {
    for (const Lines::iterator& next : gapEnds) {
        if (next == lines.end() || next == lines.begin() || !next->text.empty() ||
            next->eol != "\n" || std::prev(next)->eol != "\r") {
            continue;
        }
        std::prev(next)->eol = "\r\n";
        lines.erase(next);
    }
}

ProfileDocument::ProfileDocument(std::string_view bytes) {
    sections_.emplace_back();  // the lines before the first section
    size_t start = 0;
    bool firstLine = true;
    LineEnds lineEnds(bytes);
    while (start < bytes.size()) {
        size_t end = lineEnds.Next(start);
        Line line;
        if (end == std::string_view::npos) {
            line.text = bytes.substr(start);
            start = bytes.size();
        } else {
            line.text = bytes.substr(start, end - start);
            const size_t eolLength =
                bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n' ? 2 : 1;
            line.eol = eolLength == 2 ? "\r\n" : bytes[end] == '\r' ? "\r" : "\n";
            start = end + eolLength;
        }
        const std::string_view content = Content(line.text, firstLine);
        firstLine = false;
        if (!content.empty() && content.front() == '[') {
            line.kind = Line::kHeader;
            Section& section = sections_.emplace_back();
            section.hasHeader = true;
            section.name = HeaderName(content);
            section.folded = FoldName(section.name);
            section.lines.push_back(std::move(line));
            continue;
        }
        if (!content.empty() && content.front() == ';') {
            line.kind = Line::kComment;
        } else if (sections_.back().hasHeader) {
            const size_t equals = content.find('=');
            if (equals != std::string_view::npos) {
                line.kind = Line::kKey;
                line.folded = FoldName(Trim(content.substr(0, equals)));
            }
        }
        sections_.back().lines.push_back(std::move(line));
    }
    Reindex();
}

ProfileDocument::ProfileDocument(const ProfileDocument& other) : sections_(other.sections_) {
    Reindex();
}

ProfileDocument& ProfileDocument::operator=(const ProfileDocument& other) {
    if (this != &other) {
        sections_ = other.sections_;
        Reindex();
    }
    return *this;
}

void ProfileDocument::Reindex() {
    byName_.clear();
    for (auto it = sections_.begin(); it != sections_.end(); ++it) {
        it->Index();
        if (it->hasHeader) {
            byName_[it->folded].push_back(it);
        }
    }
}

std::string ProfileDocument::Serialize() const {
    size_t size = 0;
    for (const Section& section : sections_) {
        for (const Line& line : section.lines) {
            size += line.text.size() + line.eol.size();
        }
    }
    std::string bytes;
    bytes.reserve(size);
    for (const Section& section : sections_) {
        for (const Line& line : section.lines) {
            bytes += line.text;
            bytes += line.eol;
        }
    }
    return bytes;
}

ProfileDocument::Section* ProfileDocument::FindSection(std::string_view folded) {
    const auto found = byName_.find(std::string(folded));
    return found == byName_.end() ? nullptr : &*found->second.front();
}

const ProfileDocument::Section* ProfileDocument::FindSection(std::string_view folded) const {
    const auto found = byName_.find(std::string(folded));
    return found == byName_.end() ? nullptr : &*found->second.front();
}

std::optional<std::string> ProfileDocument::Find(std::string_view section,
                                                 std::string_view key) const {
    const Section* found = FindSection(FoldName(section));
    if (found == nullptr) {
        return std::nullopt;
    }
    const auto line = found->keys.find(FoldName(key));
    if (line == found->keys.end()) {
        return std::nullopt;
    }
    const std::string& text = line->second.first->text;
    return std::string(DecodeValue(std::string_view(text).substr(text.find('=') + 1)));
}

ProfileDocument::KeyValues ProfileDocument::SectionValues(std::string_view section) const {
    KeyValues values;
    const Section* found = FindSection(FoldName(section));
    if (found == nullptr) {
        return values;
    }
    for (const Line& line : found->lines) {
        if (line.kind != Line::kKey || !line.firstOfName) {
            continue;
        }
        const std::string_view text = line.text;
        const size_t equals = text.find('=');
        values.emplace_back(Trim(Content(text.substr(0, equals), false)),
                            DecodeValue(text.substr(equals + 1)));
    }
    return values;
}

std::vector<std::string> ProfileDocument::SectionNames() const {
    std::vector<std::string> names;
    for (const Section& section : sections_) {
        if (section.hasHeader && &*byName_.at(section.folded).front() == &section) {
            names.push_back(section.name);
        }
    }
    return names;
}

void ProfileDocument::EnsureFinalLineBreak() {
    for (auto section = sections_.rbegin(); section != sections_.rend(); ++section) {
        if (!section->lines.empty()) {
            Line& last = section->lines.back();
            if (last.eol.empty()) {
                last.eol = "\r\n";
            }
            return;
        }
    }
}

bool ProfileDocument::Set(std::string_view section, std::string_view key, std::string_view value) {
    Section* found = FindSection(FoldName(section));
    const std::string foldedKey = FoldName(key);
    Line* existing = nullptr;
    if (found != nullptr) {
        if (const auto lines = found->keys.find(foldedKey); lines != found->keys.end()) {
            existing = &*lines->second.first;
        }
    }
    // Writing back what the file holds changes nothing, whatever it holds.
    const size_t equals = existing != nullptr ? existing->text.find('=') : 0;
    if (existing != nullptr &&
        DecodeValue(std::string_view(existing->text).substr(equals + 1)) == value) {
        return false;
    }
    CheckSectionName(section);
    CheckKeyName(key);
    CheckValue(key, value);

    if (existing != nullptr) {
        // Keeps the key as it is spelt in the file.
        existing->text = existing->text.substr(0, equals + 1) + EncodeValue(value);
        return true;
    }
    Line keyLine{std::string(key) + "=" + EncodeValue(value), "\r\n", Line::kKey, foldedKey, true};
    if (found == nullptr) {
        EnsureFinalLineBreak();
        Section& added = sections_.emplace_back();
        added.hasHeader = true;
        added.name = section;
        added.folded = FoldName(section);
        added.lines.push_back({"[" + std::string(section) + "]", "\r\n", Line::kHeader, {}});
        added.lines.push_back(std::move(keyLine));
        added.Index();
        byName_[added.folded].push_back(std::prev(sections_.end()));
        return true;
    }
    Line& after = *found->lastKey;
    if (after.eol.empty()) {
        after.eol = "\r\n";  // the file had no final line break
    }
    const auto inserted = found->lines.insert(std::next(found->lastKey), std::move(keyLine));
    found->keys.try_emplace(inserted->folded, NamedLines{inserted, {}});
    found->lastKey = inserted;
    return true;
}

bool ProfileDocument::RemoveKey(std::string_view section, std::string_view key) {
    Section* found = FindSection(FoldName(section));
    if (found == nullptr) {
        return false;
    }
    const auto lines = found->keys.find(FoldName(key));
    if (lines == found->keys.end()) {
        return false;
    }
    // Every line of the name goes: a later duplicate would otherwise come back
    // as the key's value. From the last, so lastKey can step back over them.
    std::vector<Lines::iterator> doomed = lines->second.later;
    doomed.insert(doomed.begin(), lines->second.first);
    std::vector<Lines::iterator> gapEnds;  // each a line that stays
    for (auto line = doomed.rbegin(); line != doomed.rend(); ++line) {
        if (found->lastKey == *line) {
            auto previous = *line;
            do {
                --previous;
            } while (previous->kind != Line::kKey && previous->kind != Line::kHeader);
            found->lastKey = previous;
        }
        const auto next = found->lines.erase(*line);
        if (gapEnds.empty() || gapEnds.back() != next) {
            gapEnds.push_back(next);
        }
    }
    found->keys.erase(lines);
    found->JoinSplitBreaks(gapEnds);
    return true;
}

bool ProfileDocument::RemoveKeysIf(std::string_view section,
                                   const std::function<bool(std::string_view folded)>& remove) {
    Section* found = FindSection(FoldName(section));
    if (found == nullptr) {
        return false;
    }
    bool changed = false;
    bool erased = false;  // the line before this one was taken out
    std::vector<Lines::iterator> gapEnds;
    for (auto line = found->lines.begin(); line != found->lines.end();) {
        if (line->kind == Line::kKey && remove(line->folded)) {
            line = found->lines.erase(line);
            changed = erased = true;
        } else {
            if (erased) {
                gapEnds.push_back(line);
            }
            erased = false;
            ++line;
        }
    }
    if (changed) {
        found->JoinSplitBreaks(gapEnds);
        found->Index();
    }
    return changed;
}

bool ProfileDocument::RemoveSection(std::string_view section) {
    const auto found = byName_.find(FoldName(section));
    if (found == byName_.end()) {
        return false;
    }
    // Every section of the name goes, so none of them can come back.
    for (const Sections::iterator& it : found->second) {
        sections_.erase(it);
    }
    byName_.erase(found);
    return true;
}

}  // namespace pimvesk
