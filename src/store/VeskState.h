#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "model/Cycle.h"
#include "model/MonthGrid.h"
#include "platform/DateTime.h"
#include "store/FileSystem.h"
#include "store/IniFile.h"

namespace pimvesk {

// A colour as 0x00BBGGRR.
using TColor = int32_t;

struct TDayMemo {
    TDateTime Date = 0;
    int32_t Category = 0;  // 0..4 from the dialog; a hand-edited file may hold any number
    std::string Text;      // CP932
};

// The memos of the month shown, in ascending date order, at most one per day.
using MemoList = std::vector<TDayMemo>;

// The main window's state record. Texts are CP932 bytes as the files hold them.
struct VeskState {
    TDateTime Today = 0;
    uint16_t TodayYear = 0;
    uint16_t TodayMonth = 0;
    uint16_t TodayDay = 0;
    TDateTime EntryDate = 0;
    int32_t HotCol = 0;
    int32_t HotRow = 0;
    int32_t CycleLength = 0;
    TColor BackColor = 0;
    TColor DateColor = 0;
    TColor HolidayColor = 0;
    TColor SaturdayColor = 0;
    TColor PeriodColor = 0;
    TColor DangerColor = 0;
    std::unique_ptr<TIniFile> IniFile;
    std::string IniPath;
    int32_t AverageDays = 0;
    int32_t OvulationDay = 0;
    int32_t PeriodDays = 0;
    std::string Version;
    std::vector<TDateTime> Periods;
    MemoList Memos;
    // Memos deleted from Memos whose erasure could not reach their file: the
    // next SaveMonthMemos erases them, so a failed delete is not undone by a
    // later save that succeeds.
    std::vector<TDateTime> PendingDeletions;
    pimvesk::MonthCells MonthCells{};
    bool FixedAverage = false;
    TDateTime ViewDate = 0;
    std::array<TColor, 5> CategoryColors{};
    std::array<std::string, 5> CategoryNames;

    // Where the memo files are read and written; tests put a faulty one here.
    FileSystem* Files = &DefaultFileSystem();

    CycleOptions Cycle() const { return {OvulationDay, PeriodDays}; }
};

// The colour a day is painted on by its kind, on the calendar and in the
// cycle listing alike.
TColor KindColor(const VeskState& state, TDayKind kind);

// Binds a state record to the settings file at `iniPath` and gives it every
// default, as start-up has it before anything is read.
void OpenDefaultState(VeskState& state, const std::string& iniPath,
                      FileSystem& fs = DefaultFileSystem());

// The defaults that start-up puts in place before the stored values are read.
void SetDefaultColors(VeskState& state);
void SetDefaultCategories(VeskState& state);

}  // namespace pimvesk
