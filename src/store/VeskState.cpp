#include "store/VeskState.h"

namespace pimvesk {

TColor KindColor(const VeskState& state, TDayKind kind) {
    switch (kind) {
        case dkPeriod:
            return state.PeriodColor;
        case dkOvulation:
        case dkDanger:
            return state.DangerColor;
        case dkNormal:
            break;
    }
    return state.BackColor;
}

void OpenDefaultState(VeskState& state, const std::string& iniPath, FileSystem& fs) {
    state.IniPath = iniPath;
    state.IniFile = std::make_unique<TIniFile>(iniPath, fs);
    state.Files = &fs;
    state.Version = "1.0";
    state.OvulationDay = 14;
    state.PeriodDays = 6;
    state.AverageDays = 28;
    SetDefaultColors(state);
    SetDefaultCategories(state);
}

void SetDefaultColors(VeskState& state) {
    state.BackColor = 0xFFFFFF;
    state.DateColor = 0x000000;
    state.SaturdayColor = 0xC42646;
    state.HolidayColor = 0x4626C4;
    state.DangerColor = 0xA89FDF;
    state.PeriodColor = 0xA2907B;
    state.CategoryColors = {0x8080FF, 0x80FFFF, 0x80FF80, 0xFFFF80, 0xC080FF};
}

void SetDefaultCategories(VeskState& state) {
    for (int k = 0; k < 5; ++k) {
        state.CategoryNames[static_cast<size_t>(k)] = "\x83\x81\x83\x82" + std::to_string(k + 1);
    }
}

}  // namespace pimvesk
