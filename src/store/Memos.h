#pragma once

#include <string>

#include "store/LoadReport.h"
#include "store/VeskState.h"

namespace pimvesk {

// The memo file of a month: data/<year>_<month>.pim beside the settings file.
std::string MonthMemoPath(const VeskState& state, TDateTime dateInMonth);

// The memo's category, or -1 when the date has none; `text` gets its text or "".
int32_t FindMemo(const MemoList& memos, TDateTime date, std::string& text);

// Replaces or adds the date's memo in state.Memos, then writes it into the
// file of the date's own month; raises Error when that file cannot be written
// (the list keeps the new memo).
void PutMemo(VeskState& state, TDateTime date, int32_t category, const std::string& text);

// Removes the date's memo from state.Memos and erases its section in the file
// of the date's month; a date without memo touches no file. When the file
// cannot be written, the erasure waits in state.PendingDeletions for the next
// SaveMonthMemos.
void DeleteMemo(VeskState& state, TDateTime date);

// Writes every memo of state.Memos into the file of ViewDate's month, as one
// new file, and only when that changes the file; erases the sections of the
// deletions still pending, those of ViewDate's month in the same new file. A
// memo whose text no file can hold (loaded from a hand-edited section, which
// keeps it) is left out.
void SaveMonthMemos(VeskState& state);

// Replaces state.Memos with the memos of ViewDate's month and writes each back
// in its canonical form, one new file per month touched, none when nothing
// changes. Never stops half-way: a section name that is not a day, a file that
// cannot be read and a write-back that fails go into the report.
void LoadMonthMemos(VeskState& state, LoadReport& report);

}  // namespace pimvesk
