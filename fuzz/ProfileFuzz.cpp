// The profile reader and writer: any bytes read and write back unchanged;
// every change that is accepted reads back as written, from memory and from
// the written bytes alike, leaves every other key as it was, and keeps every
// line it does not touch byte for byte.
//
// Input: the file (a FuzzedDataProvider string), then operations.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>
#include <iostream>
#include <map>
#include <string>
#include <vector>

#include "platform/Error.h"
#include "store/ProfileDocument.h"

namespace pimvesk {
namespace {

[[noreturn]] void Fail(const std::string& what) {
    std::cerr << "profile fuzz: " << what << "\n";
    std::abort();
}

void Check(bool ok, const std::string& what) {
    if (!ok) {
        Fail(what);
    }
}

// Bytes as C-style escapes, for the report of a failure.
std::string Escaped(const std::string& bytes) {
    std::string out;
    for (unsigned char c : bytes) {
        if (c >= 0x20 && c < 0x7F && c != '\\') {
            out += static_cast<char>(c);
        } else {
            static const char* const kHex = "0123456789abcdef";
            out += "\\x";
            out += kHex[c >> 4];
            out += kHex[c & 15];
        }
    }
    return out;
}

// Every key that can be read, by folded section and key name.
using Values = std::map<std::pair<std::string, std::string>, std::string>;

Values ReadAll(const ProfileDocument& document) {
    Values values;
    for (const std::string& section : document.SectionNames()) {
        for (const auto& [key, value] : document.SectionValues(section)) {
            values[{FoldName(section), FoldName(key)}] = value;
        }
    }
    return values;
}

// The file's lines, each with its line ending, as the reader splits them.
std::vector<std::string> Lines(const std::string& bytes) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < bytes.size()) {
        size_t end = bytes.find_first_of("\r\n", start);
        if (end == std::string::npos) {
            lines.push_back(bytes.substr(start));
            break;
        }
        end += bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n' ? 2 : 1;
        lines.push_back(bytes.substr(start, end - start));
        start = end;
    }
    return lines;
}

// The checks below work on bytes, with the lines of the file before the
// change: taking a line out can make a CR and the next line's LF one CRLF, so
// the file after a change is not split again.

// A write touches at most one line, inserts at most one key line (and a
// header line for a new section), and may end a last line that had no line
// break; every other line stays as it was, in order.
void CheckTouchedLines(const std::string& before, const std::string& after) {
    const std::vector<std::string> a = Lines(before);
    std::string_view rest = after;
    size_t prefix = 0;
    while (prefix < a.size() && rest.starts_with(a[prefix])) {
        rest.remove_prefix(a[prefix].size());
        ++prefix;
    }
    size_t suffix = 0;
    while (suffix < a.size() - prefix && rest.ends_with(a[a.size() - 1 - suffix])) {
        rest.remove_suffix(a[a.size() - 1 - suffix].size());
        ++suffix;
    }
    const size_t oldMiddle = a.size() - prefix - suffix;
    const std::vector<std::string> added = Lines(std::string(rest));
    Check(oldMiddle <= 1 && added.size() <= 3,
          "a write changed more than its own lines:\n  before: " + Escaped(before) +
              "\n  after:  " + Escaped(after));
    if (oldMiddle == 1 && added.size() >= 2) {
        // Only a last line without a break may gain one, text unchanged.
        Check(
            a[prefix].find_first_of("\r\n") == std::string::npos && added[0] == a[prefix] + "\r\n",
            "a line before an insertion changed");
    }
}

// A removal only takes whole lines out.
void CheckOnlyRemoved(const std::string& before, const std::string& after) {
    std::string_view rest = after;
    for (const std::string& line : Lines(before)) {
        if (rest.starts_with(line)) {
            rest.remove_prefix(line.size());
        }
    }
    Check(rest.empty(), "a removal changed a line it kept:\n  before: " + Escaped(before) +
                            "\n  after:  " + Escaped(after));
}

// What is read from memory is what is read from the bytes written.
void CheckReadsBack(const ProfileDocument& document) {
    const std::string bytes = document.Serialize();
    const ProfileDocument reread(bytes);
    Check(reread.Serialize() == bytes, "written bytes do not read back whole");
    Check(reread.SectionNames() == document.SectionNames(), "section names differ when reread");
    for (const std::string& section : document.SectionNames()) {
        Check(reread.SectionValues(section) == document.SectionValues(section),
              "section [" + section + "] differs when reread");
    }
}

std::string PickName(FuzzedDataProvider& data, const std::vector<std::string>& known) {
    if (!known.empty() && data.ConsumeBool()) {
        return known[data.ConsumeIntegralInRange<size_t>(0, known.size() - 1)];
    }
    return data.ConsumeRandomLengthString(12);
}

}  // namespace
}  // namespace pimvesk

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    using namespace pimvesk;
    FuzzedDataProvider data(bytes, size);
    const std::string file = data.ConsumeRandomLengthString(4096);
    ProfileDocument document(file);
    Check(document.Serialize() == file, "a file read and written back changed");
    CheckReadsBack(document);

    for (int step = 0; step < 8 && data.remaining_bytes() > 0; ++step) {
        const Values before = ReadAll(document);
        const std::string beforeBytes = document.Serialize();
        const std::vector<std::string> sections = document.SectionNames();
        const std::string section = PickName(data, sections);
        std::vector<std::string> keys;
        for (const auto& [key, value] : document.SectionValues(section)) {
            keys.push_back(key);
        }
        const std::string key = PickName(data, keys);
        const std::string foldedSection = FoldName(section);
        const std::string foldedKey = FoldName(key);
        const int op = data.ConsumeIntegralInRange(0, 3);

        // The same change made to a fresh read of the bytes must give the
        // same bytes: the document in memory never parts from its file.
        ProfileDocument fresh(beforeBytes);
        const auto sameAsFresh = [&] {
            Check(document.Serialize() == fresh.Serialize(),
                  "the document and a fresh read of its bytes part ways:\n  before: " +
                      Escaped(beforeBytes) + "\n  memory: " + Escaped(document.Serialize()) +
                      "\n  fresh:  " + Escaped(fresh.Serialize()));
        };

        Values expected = before;
        if (op == 0) {
            const std::string value = data.ConsumeRandomLengthString(24);
            try {
                document.Set(section, key, value);
            } catch (const Error&) {
                Check(document.Serialize() == beforeBytes, "a refused write changed the file");
                continue;
            }
            fresh.Set(section, key, value);
            Check(document.Find(section, key) == value, "a written value does not read back");
            Check(ProfileDocument(document.Serialize()).Find(section, key) == value,
                  "a written value does not read back from the bytes");
            expected[{foldedSection, foldedKey}] = value;
            CheckTouchedLines(beforeBytes, document.Serialize());
        } else if (op == 1) {
            document.RemoveKey(section, key);
            fresh.RemoveKey(section, key);
            Check(!document.Find(section, key), "a removed key still reads");
            expected.erase({foldedSection, foldedKey});
            CheckOnlyRemoved(beforeBytes, document.Serialize());
        } else if (op == 2) {
            document.RemoveSection(section);
            fresh.RemoveSection(section);
            Check(!document.Find(section, key), "a key of a removed section still reads");
            std::erase_if(expected,
                          [&](const auto& entry) { return entry.first.first == foldedSection; });
            CheckOnlyRemoved(beforeBytes, document.Serialize());
        } else {
            const char first = key.empty() ? '0' : FoldName(key)[0];
            const auto picked = [first](std::string_view name) {
                return !name.empty() && name[0] == first;
            };
            document.RemoveKeysIf(section, picked);
            fresh.RemoveKeysIf(section, picked);
            std::erase_if(expected, [&](const auto& entry) {
                return entry.first.first == foldedSection && picked(entry.first.second);
            });
            CheckOnlyRemoved(beforeBytes, document.Serialize());
        }
        sameAsFresh();
        Check(ReadAll(document) == expected, "a change disturbed another key");
        CheckReadsBack(document);
    }
    return 0;
}
