#pragma once

#include <string>

namespace pimvesk::bench {

// A data home as years of use leave it: `starts` period starts 28 to 30 days
// apart up to a few days ago, a memo on every day of this month and of the
// next, and named categories. `home` ends in '/'.
void WriteDataSet(const std::string& home, int starts);

// The memos of this month in that data set: one a day.
int MemosThisMonth();

// A fresh directory under the temporary directory, with its closing '/'; and
// its removal with everything in it.
std::string MakeScratchHome();
void RemoveScratchHome(const std::string& home);

}  // namespace pimvesk::bench
