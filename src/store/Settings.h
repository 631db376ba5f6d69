#pragma once

#include "store/LoadReport.h"
#include "store/VeskState.h"

namespace pimvesk {

// The settings file PIMVESK.ini, through state.IniFile. The loaders never stop
// half-way: what cannot be read is added to the report and skipped.
void LoadOptions(VeskState& state, LoadReport& report);
void LoadPeriodStarts(VeskState& state, LoadReport& report);
void LoadColors(VeskState& state, LoadReport& report);
void LoadCategories(VeskState& state, LoadReport& report);

// The four loads in start-up's order: options, starts, colours, categories.
void LoadSettings(VeskState& state, LoadReport& report);

// Writes every key as one new file: it lands whole or not at all.
void SaveSettings(VeskState& state);

}  // namespace pimvesk
