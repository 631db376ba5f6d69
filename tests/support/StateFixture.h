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

    StateFixture() { OpenDefaultState(state, dir.File("PIMVESK.ini"), fs); }

    std::string MonthFile(int year, int month) const {
        return MonthMemoPath(state.IniPath, year, static_cast<unsigned>(month));
    }
};

}  // namespace pimvesk::test
