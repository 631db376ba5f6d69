#pragma once

#include <memory>
#include <string>

#include "store/Paths.h"
#include "store/VeskState.h"
#include "support/TestFiles.h"

namespace pimvesk::test {

// A state record as start-up leaves it before anything is loaded, on a
// settings file in a fresh directory, with every file operation counted.
struct StateFixture {
    TempDir dir;
    FaultyFileSystem fs;
    VeskState state;

    StateFixture() {
        state.IniPath = dir.File("PIMVESK.ini");
        state.IniFile = std::make_unique<TIniFile>(state.IniPath, fs);
        state.Files = &fs;
        state.Version = "1.0";
        SetDefaultColors(state);
        SetDefaultCategories(state);
        state.OvulationDay = 14;
        state.PeriodDays = 6;
        state.AverageDays = 28;
    }

    std::string MonthFile(int year, int month) const {
        return MonthMemoPath(state.IniPath, year, static_cast<unsigned>(month));
    }
};

}  // namespace pimvesk::test
