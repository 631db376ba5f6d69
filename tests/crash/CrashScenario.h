#pragma once

// The saves that the crash test kills: the settings file, a whole month of
// memos and a single memo, each alternating between two known contents, so
// that after any kill every file must hold one of the two exactly.

#include <array>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "store/VeskState.h"

namespace pimvesk::crash {

// What one round saves.
struct Content {
    int32_t ovulationDay = 14;
    int32_t periodDays = 6;
    bool fixedAverage = false;
    int32_t averageDays = 28;
    std::vector<TDateTime> periods;
    TColor backColor = 0;
    TColor periodColor = 0;
    std::array<std::string, 5> categoryNames;
    std::array<TColor, 5> categoryColors{};
    MemoList january;           // saved whole with SaveMonthMemos
    bool februaryMemo = false;  // February 14th's memo put (true) or deleted (false)
};

const Content& ContentA();
const Content& ContentB();

// A running program: the settings loaded, January shown, and a second state
// for February, where single memos are put and deleted.
struct Session {
    VeskState main;
    VeskState february;
};

std::string SettingsPath(const std::string& dir);
std::string JanuaryPath(const std::string& dir);
std::string FebruaryPath(const std::string& dir);

// Opens the files as start-up does; raises Error when anything is reported.
void OpenSession(Session& session, const std::string& dir, FileSystem& fs = DefaultFileSystem());

// One round of saves, in the order a close would make them: settings, the
// month shown, then a memo of another month.
void SaveRound(Session& session, const Content& content);

// Puts the three files in content A, with the layout they keep from then on.
void Prepare(const std::string& dir);

// What the files hold, as the loaders read them.
struct Parsed {
    int32_t ovulationDay = 0;
    int32_t periodDays = 0;
    bool fixedAverage = false;
    int32_t averageDays = 0;
    std::vector<TDateTime> periods;
    std::vector<TColor> colors;
    std::array<std::string, 5> categoryNames;
    std::array<TColor, 5> categoryColors{};
    std::vector<std::tuple<TDateTime, int32_t, std::string>> january;
    std::vector<std::tuple<TDateTime, int32_t, std::string>> february;
    std::vector<std::string> reports;

    bool SameSettings(const Parsed& other) const;
};

// Loads the three files through the real loaders, never writing (a load's
// write-back is refused), so that the evidence stays as the kill left it.
Parsed ParseDirectory(const std::string& dir);

}  // namespace pimvesk::crash
