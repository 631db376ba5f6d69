#include "store/Memos.h"

#include <algorithm>
#include <map>
#include <memory>

#include "platform/Cp932.h"
#include "platform/Error.h"
#include "platform/IntText.h"
#include "store/Paths.h"

namespace pimvesk {

namespace {

constexpr const char* kCategory = "category";
constexpr const char* kMemo = "memo";

bool IsPlaceableDay(int64_t day) {
    const CivilDate civil = CivilFromSerial(day);
    return civil.year >= 1 && civil.year <= 9999;
}

std::string SectionOf(TDateTime date) {
    return IntToStr(WholeDay(date));
}

void InsertMemo(MemoList& memos, TDayMemo memo) {
    const auto same = std::find_if(memos.begin(), memos.end(),
                                   [&](const TDayMemo& m) { return m.Date == memo.Date; });
    if (same != memos.end()) {
        memos.erase(same);
    }
    const auto place = std::upper_bound(
        memos.begin(), memos.end(), memo.Date,
        [](TDateTime date, const TDayMemo& m) { return CompareDates(date, m.Date) < 0; });
    memos.insert(place, std::move(memo));
}

// Both keys or neither: a text the file cannot hold is refused before the
// category is written, or a load would leave a canonical section that holds
// only a category, and the next load would show that day without its text.
bool CanWriteMemo(TIniFile& file, const TDayMemo& memo) {
    return ProfileDocument::CanHoldValue(memo.Text) ||
           file.ReadText(SectionOf(memo.Date), kMemo, "") == memo.Text;
}

void WriteMemo(TIniFile& file, const TDayMemo& memo) {
    const std::string section = SectionOf(memo.Date);
    if (!CanWriteMemo(file, memo)) {
        ProfileDocument::CheckValue(kMemo, memo.Text);
    }
    file.WriteNumber(section, kCategory, memo.Category);
    file.WriteText(section, kMemo, memo.Text);
}

bool HasMemo(const MemoList& memos, TDateTime date) {
    return std::any_of(memos.begin(), memos.end(),
                       [&](const TDayMemo& memo) { return memo.Date == date; });
}

void ForgetDeletion(VeskState& state, TDateTime date) {
    std::erase(state.PendingDeletions, date);
}

bool InMonthOf(TDateTime date, TDateTime other) {
    const CivilDate a = CivilFromSerial(WholeDay(date));
    const CivilDate b = CivilFromSerial(WholeDay(other));
    return a.year == b.year && a.month == b.month;
}

void SortMemos(MemoList& memos) {
    std::stable_sort(memos.begin(), memos.end(), [](const TDayMemo& a, const TDayMemo& b) {
        return CompareDates(a.Date, b.Date) < 0;
    });
}

}  // namespace

std::string MonthMemoPath(const VeskState& state, TDateTime dateInMonth) {
    const CivilDate civil = CivilFromSerial(WholeDay(dateInMonth));
    return MonthMemoPath(state.IniPath, civil.year, civil.month);
}

int32_t FindMemo(const MemoList& memos, TDateTime date, std::string& text) {
    text.clear();
    for (const TDayMemo& memo : memos) {
        if (memo.Date == date) {
            text = memo.Text;
            return memo.Category;
        }
    }
    return -1;
}

void PutMemo(VeskState& state, TDateTime date, int32_t category, const std::string& text) {
    const TDayMemo memo{date, category, text};
    InsertMemo(state.Memos, memo);
    ForgetDeletion(state, date);  // the new memo's write replaces what a deletion left
    TIniFile file(MonthMemoPath(state, date), *state.Files);
    IniBatch batch(file);  // both keys land together
    WriteMemo(file, memo);
    batch.Commit();
}

void DeleteMemo(VeskState& state, TDateTime date) {
    const auto found = std::find_if(state.Memos.begin(), state.Memos.end(),
                                    [&](const TDayMemo& m) { return m.Date == date; });
    if (found == state.Memos.end()) {
        return;
    }
    state.Memos.erase(found);
    TIniFile file(MonthMemoPath(state, date), *state.Files);
    try {
        file.RemoveSection(SectionOf(date));
    } catch (const Error&) {
        if (std::find(state.PendingDeletions.begin(), state.PendingDeletions.end(), date) ==
            state.PendingDeletions.end()) {
            state.PendingDeletions.push_back(date);
        }
        throw;
    }
}

void SaveMonthMemos(VeskState& state) {
    TIniFile file(MonthMemoPath(state, state.ViewDate), *state.Files);
    SortMemos(state.Memos);
    IniBatch batch(file);
    for (const TDayMemo& memo : state.Memos) {
        // A text no file can hold came from a hand-edited section, which
        // keeps it; refusing the whole month for it would keep her here.
        if (CanWriteMemo(file, memo)) {
            WriteMemo(file, memo);
        }
    }
    std::vector<TDateTime> elsewhere;
    for (TDateTime date : state.PendingDeletions) {
        if (InMonthOf(date, state.ViewDate)) {
            file.RemoveSection(SectionOf(date));
        } else {
            elsewhere.push_back(date);
        }
    }
    batch.Commit();
    state.PendingDeletions = elsewhere;
    // Deletions in other months' files, each on its own.
    for (TDateTime date : elsewhere) {
        TIniFile other(MonthMemoPath(state, date), *state.Files);
        other.RemoveSection(SectionOf(date));
        ForgetDeletion(state, date);
    }
}

void LoadMonthMemos(VeskState& state, LoadReport& report) {
    const std::string path = MonthMemoPath(state, state.ViewDate);
    // One store, and one batch, per file that the write-backs reach; the month's
    // own file is the one read, so each section is read after the write-backs
    // of the sections before it.
    std::map<std::string, std::unique_ptr<TIniFile>> files;
    const auto fileFor = [&](const std::string& filePath) -> TIniFile& {
        auto& slot = files[filePath];
        if (!slot) {
            slot = std::make_unique<TIniFile>(filePath, *state.Files);
            slot->BeginBatch();
        }
        return *slot;
    };
    TIniFile& source = fileFor(path);
    state.Memos.clear();
    if (auto failure = source.ReadFailure()) {
        report.Add(*failure);
    }
    for (const std::string& name : source.ListSections()) {
        const auto day = TryStrToInt(name);
        if (!day || !IsPlaceableDay(*day)) {
            const std::string why = day ? BadDateMessage() : NotAnIntegerMessage(Cp932ToUtf8(name));
            report.Add(path + ": [" + ShownInMessage(Cp932ToUtf8(name)) + "] " + why);
            continue;
        }
        TDayMemo memo{static_cast<TDateTime>(*day), source.ReadNumber(name, kCategory, 0),
                      source.ReadText(name, kMemo, "")};
        try {
            WriteMemo(fileFor(MonthMemoPath(state, memo.Date)), memo);
        } catch (const Error& error) {
            report.Add(error.what());
            // A memo that cannot be written back does not replace the day's
            // memo loaded before it: that one is what the file keeps for the
            // day, and what the next load shows.
            if (HasMemo(state.Memos, memo.Date)) {
                continue;
            }
        }
        InsertMemo(state.Memos, memo);
        ForgetDeletion(state, memo.Date);  // back in view: what she sees is what is kept
    }
    for (auto& [filePath, file] : files) {
        try {
            file->CommitBatch();
        } catch (const Error& error) {
            report.Add(error.what());
        }
    }
}

}  // namespace pimvesk
