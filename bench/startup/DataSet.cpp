#include "DataSet.h"

#include <stdlib.h>

#include <filesystem>
#include <memory>
#include <stdexcept>

#include "platform/Cp932.h"
#include "platform/DateTime.h"
#include "store/Memos.h"
#include "store/Paths.h"
#include "store/Settings.h"

namespace pimvesk::bench {

namespace {

std::string Cp932(const char* utf8) {
    return Utf8ToCp932(utf8).value();
}

void WriteMonthOfMemos(VeskState& state, int year, int month) {
    const char* texts[] = {"頭痛がする", "婦人科 10:30", "36.7℃", "旅行の準備", "よく眠れた"};
    for (int day = 1; day <= 31; ++day) {
        if (const auto date = TryEncodeDate(year, month, day)) {
            PutMemo(state, *date, day % 5, Cp932(texts[day % 5]));
        }
    }
}

}  // namespace

void WriteDataSet(const std::string& home, int starts) {
    VeskState state;
    OpenDefaultState(state, SettingsPathFor(ProgramPathIn(home)));
    TDateTime start = Today() - 5;
    for (int k = 0; k < starts; ++k) {
        state.Periods.push_back(start);
        start -= 28 + k % 3;
    }
    state.AverageDays = CalcAverage(state.Periods);
    state.CategoryNames = {Cp932("メモ"), Cp932("通院"), Cp932("体温"), Cp932("予定"),
                           Cp932("その他")};
    SaveSettings(state);

    uint16_t year = 0;
    uint16_t month = 0;
    uint16_t day = 0;
    DecodeDate(Today(), year, month, day);
    WriteMonthOfMemos(state, year, month);
    WriteMonthOfMemos(state, month == 12 ? year + 1 : year, month == 12 ? 1 : month + 1);
}

int MemosThisMonth() {
    uint16_t year = 0;
    uint16_t month = 0;
    uint16_t day = 0;
    DecodeDate(Today(), year, month, day);
    int days = 28;
    while (days < 31 && TryEncodeDate(year, month, days + 1)) {
        ++days;
    }
    return days;
}

std::string MakeScratchHome() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "pimvesk-bench-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("mkdtemp failed");
    }
    return pattern + "/";
}

void RemoveScratchHome(const std::string& home) {
    std::error_code ignored;
    std::filesystem::remove_all(home, ignored);
}

}  // namespace pimvesk::bench
