// Loading a month file: any bytes load without a crash into a sorted list of
// one memo per day, and loading again gives the same list and writes nothing:
// the first load's write-back left every memo in its canonical place.
#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

#include "store/Memos.h"

namespace pimvesk {
namespace {

[[noreturn]] void Fail(const std::string& what) {
    std::cerr << "month fuzz: " << what << "\n";
    std::abort();
}

class CountingFileSystem : public FileSystem {
public:
    int Rename(const std::string& from, const std::string& to) override {
        ++renames;
        return FileSystem::Rename(from, to);
    }
    long renames = 0;
};

const std::string& Home() {
    static const std::string home = [] {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "pimvesk-fuzz-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            Fail("mkdtemp");
        }
        return pattern;
    }();
    return home;
}

bool Same(const MemoList& a, const MemoList& b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (a[i].Date != b[i].Date || a[i].Category != b[i].Category || a[i].Text != b[i].Text) {
            return false;
        }
    }
    return true;
}

}  // namespace
}  // namespace pimvesk

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    using namespace pimvesk;
    const std::string data = Home() + "/data";
    std::filesystem::remove_all(data);
    std::filesystem::create_directory(data);
    {
        std::ofstream out(data + "/1998_8.pim", std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes), static_cast<std::streamsize>(size));
    }
    CountingFileSystem fs;
    VeskState state;
    state.IniPath = Home() + "/PIMVESK.ini";
    state.Files = &fs;
    state.ViewDate = EncodeDate(1998, 8, 1);

    LoadReport first;
    LoadMonthMemos(state, first);
    for (size_t i = 1; i < state.Memos.size(); ++i) {
        if (!(state.Memos[i - 1].Date < state.Memos[i].Date)) {
            Fail("memos out of order or two for one day");
        }
    }
    for (const TDayMemo& memo : state.Memos) {
        std::string text;
        if (FindMemo(state.Memos, memo.Date, text) != memo.Category || text != memo.Text) {
            Fail("FindMemo does not find a loaded memo");
        }
    }
    const MemoList loaded = state.Memos;
    const long writes = fs.renames;
    LoadReport second;
    LoadMonthMemos(state, second);
    if (!Same(state.Memos, loaded)) {
        Fail("a second load gives other memos");
    }
    if (fs.renames != writes) {
        Fail("a second load wrote a file");
    }
    return 0;
}
