#pragma once

#include <functional>
#include <list>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace pimvesk {

// A profile (INI) file held as its lines, so that a rewrite keeps every line it
// does not change byte for byte. Names and values are CP932 byte strings.
//
// Reading: lines end in CRLF, LF or CR; blanks around names and values are
// trimmed; one pair of matching outer quotes is taken off a value; the first
// section of a name wins, and within it the first key of a name; names match
// case-insensitively (ASCII letters only, never a trail byte).
class ProfileDocument {
public:
    using KeyValues = std::vector<std::pair<std::string, std::string>>;

    ProfileDocument() = default;
    explicit ProfileDocument(std::string_view bytes);
    ProfileDocument(const ProfileDocument& other);
    ProfileDocument& operator=(const ProfileDocument& other);
    ProfileDocument(ProfileDocument&&) noexcept = default;
    ProfileDocument& operator=(ProfileDocument&&) noexcept = default;

    std::string Serialize() const;

    std::optional<std::string> Find(std::string_view section, std::string_view key) const;
    // The keys of the first section of that name, each once, in file order.
    KeyValues SectionValues(std::string_view section) const;
    // Every section name once (the first spelling), in file order.
    std::vector<std::string> SectionNames() const;

    // Each returns whether the document changed. Names and values that would
    // break the file's structure raise Error and change nothing.
    bool Set(std::string_view section, std::string_view key, std::string_view value);
    bool RemoveKey(std::string_view section, std::string_view key);
    // RemoveKey of every key of the section whose folded name `remove` picks,
    // in one walk of the section: removing thousands of keys one by one would
    // look each up in turn.
    bool RemoveKeysIf(std::string_view section,
                      const std::function<bool(std::string_view folded)>& remove);
    bool RemoveSection(std::string_view section);

    // Whether a value can be written: no CR, LF or NUL in it. CheckValue
    // raises the Error that a Set of a value that cannot would.
    static bool CanHoldValue(std::string_view value);
    static void CheckValue(std::string_view key, std::string_view value);

private:
    struct Line {
        enum Kind : unsigned char { kOther, kComment, kHeader, kKey };
        std::string text;  // without its line ending
        // "\r\n", "\n", "\r" or "" for a last line without one; always one of
        // these literals, so a line stays small (files of 100,000 keys).
        std::string_view eol;
        Kind kind = kOther;
        std::string folded;  // folded key name of a key line
        // The first key line of its name in the section, the one that is read;
        // kept on the line so that walking a section needs no lookups.
        bool firstOfName = false;
    };
    using Lines = std::list<Line>;
    // The key lines of one name: duplicates are rare, so the first is held
    // inline and a lookup touches no further allocation.
    struct NamedLines {
        Lines::iterator first;
        std::vector<Lines::iterator> later;
    };
    struct Section {
        bool hasHeader = false;
        std::string name;    // trimmed, as written
        std::string folded;  // for matching
        Lines lines;         // the header line first, when there is one
        std::unordered_map<std::string, NamedLines> keys;
        Lines::iterator lastKey;  // the last key line, or the header

        void Index();
        // After lines were taken out before each of `gapEnds`: a line ending
        // in a lone CR now followed by an empty line ending in LF reads as one
        // line ending in CRLF, so the two become that line, as a fresh read of
        // the bytes would have them.
        void JoinSplitBreaks(const std::vector<Lines::iterator>& gapEnds);
    };
    using Sections = std::list<Section>;

    Section* FindSection(std::string_view folded);
    const Section* FindSection(std::string_view folded) const;
    void Reindex();
    void EnsureFinalLineBreak();

    Sections sections_;
    std::unordered_map<std::string, std::vector<Sections::iterator>> byName_;
};

// Folds ASCII letters to lower case, leaving the trail bytes of CP932
// double-byte characters as they are.
std::string FoldName(std::string_view name);

}  // namespace pimvesk
