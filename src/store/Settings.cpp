#include "store/Settings.h"

#include <algorithm>
#include <utility>

#include "platform/Cp932.h"
#include "platform/Error.h"
#include "platform/IntText.h"

namespace pimvesk {

namespace {

constexpr const char* kOption = "option";
constexpr const char* kDate = "date";
constexpr const char* kColor = "color";
constexpr const char* kMemo = "memo";

void NoteUnreadable(TIniFile& file, LoadReport& report) {
    if (auto failure = file.ReadFailure()) {
        report.Add(*failure);
    }
}

// Strict: a text that is not an integer is reported and the colour kept.
void ReadColor(TIniFile& file, const char* section, const std::string& key, TColor& color,
               LoadReport& report) {
    const std::string text = file.ReadText(section, key, "");
    if (text.empty()) {
        return;
    }
    if (auto value = TryStrToInt(text)) {
        color = *value;
    } else {
        report.Add(file.FileName() + ": [" + section + "] " + key + ": " +
                   NotAnIntegerMessage(Cp932ToUtf8(text)));
    }
}

// The canonical decimal index a "date" key stands for, if it is one: only the
// key "7" is read by a read of key 7, never "07" or "+7".
std::optional<int32_t> DateKeyIndex(std::string_view key) {
    if (key.empty() || key.size() > 10 || (key.size() > 1 && key[0] == '0') ||
        !std::all_of(key.begin(), key.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return std::nullopt;
    }
    return TryStrToInt(key);
}

struct ColorKey {
    const char* key;
    TColor VeskState::*field;
};

}  // namespace

void LoadOptions(VeskState& state, LoadReport& report) {
    TIniFile& file = *state.IniFile;
    NoteUnreadable(file, report);
    state.OvulationDay = file.ReadNumber(kOption, "ovuave", 14);
    state.PeriodDays = file.ReadNumber(kOption, "period", 6);
    state.FixedAverage = file.ReadFlag(kOption, "setaverage", false);
    state.AverageDays = file.ReadNumber(kOption, "averageday", 28);
}

// The stored count only bounds the keys: the keys present are walked, so a
// count of two thousand million costs nothing, with the result of reading keys
// 0 .. count - 1 in turn.
void LoadPeriodStarts(VeskState& state, LoadReport& report) {
    TIniFile& file = *state.IniFile;
    NoteUnreadable(file, report);
    const int32_t count = file.ReadNumber(kDate, "count", 0);
    std::vector<std::pair<int32_t, int32_t>> found;  // (index, day)
    for (const auto& [key, value] : file.ReadSection(kDate)) {
        const auto index = DateKeyIndex(key);
        if (!index || *index >= count) {
            continue;
        }
        const int32_t day = TryStrToInt(value).value_or(-1);
        if (day >= 0) {
            found.emplace_back(*index, day);
        }
    }
    std::sort(found.begin(), found.end());
    for (const auto& [index, day] : found) {
        state.Periods.push_back(static_cast<TDateTime>(day));
    }
}

void LoadColors(VeskState& state, LoadReport& report) {
    static constexpr ColorKey kKeys[] = {
        {"back", &VeskState::BackColor},       {"period", &VeskState::PeriodColor},
        {"danger", &VeskState::DangerColor},   {"date", &VeskState::DateColor},
        {"holiday", &VeskState::HolidayColor}, {"saturday", &VeskState::SaturdayColor},
    };
    TIniFile& file = *state.IniFile;
    NoteUnreadable(file, report);
    for (const ColorKey& entry : kKeys) {
        ReadColor(file, kColor, entry.key, state.*entry.field, report);
    }
}

void LoadCategories(VeskState& state, LoadReport& report) {
    TIniFile& file = *state.IniFile;
    NoteUnreadable(file, report);
    for (size_t k = 0; k < 5; ++k) {
        const std::string key = "cat" + std::to_string(k + 1);
        std::string name = file.ReadText(kMemo, key, "");
        if (!name.empty()) {
            state.CategoryNames[k] = std::move(name);
        }
        ReadColor(file, kMemo, key + "col", state.CategoryColors[k], report);
    }
}

void LoadSettings(VeskState& state, LoadReport& report) {
    LoadOptions(state, report);
    LoadPeriodStarts(state, report);
    LoadColors(state, report);
    LoadCategories(state, report);
}

void SaveSettings(VeskState& state) {
    TIniFile& file = *state.IniFile;
    SortDates(state.Periods);  // the keys follow ascending dates
    IniBatch batch(file);
    file.WriteFlag(kOption, "setaverage", state.FixedAverage);
    file.WriteNumber(kOption, "averageday", state.AverageDays);
    file.WriteNumber(kOption, "period", state.PeriodDays);
    file.WriteNumber(kOption, "ovuave", state.OvulationDay);

    // The keys below the count stored in the file go; those at or beyond it stay.
    const int32_t oldCount = file.ReadNumber(kDate, "count", 0);
    file.RemoveKeysIf(kDate, [oldCount](std::string_view key) {
        const auto index = DateKeyIndex(key);
        return index && *index < oldCount;
    });
    for (size_t j = 0; j < state.Periods.size(); ++j) {
        file.WriteNumber(kDate, std::to_string(j), WholeDay(state.Periods[j]));
    }
    file.WriteNumber(kDate, "count", static_cast<int64_t>(state.Periods.size()));

    file.WriteNumber(kColor, "back", state.BackColor);
    file.WriteNumber(kColor, "period", state.PeriodColor);
    file.WriteNumber(kColor, "danger", state.DangerColor);
    file.WriteNumber(kColor, "date", state.DateColor);
    file.WriteNumber(kColor, "saturday", state.SaturdayColor);
    file.WriteNumber(kColor, "holiday", state.HolidayColor);

    for (size_t k = 0; k < 5; ++k) {
        const std::string key = "cat" + std::to_string(k + 1);
        file.WriteText(kMemo, key, state.CategoryNames[k]);
        file.WriteNumber(kMemo, key + "col", state.CategoryColors[k]);
    }
    batch.Commit();
}

}  // namespace pimvesk
