#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace pimvesk {

// The settings file sits beside the program file: the program path less its
// last three characters, plus "ini" (PIMVESK.EXE gives PIMVESK.ini).
std::string SettingsPathFor(std::string_view programPath);

// The program's directory with its closing separator: the settings path less
// its last 11 characters, the length of "PIMVESK.ini"; empty when shorter.
std::string MemoDirectoryOf(std::string_view iniPath);

// <memo directory>data<sep><year>_<month>.pim, the month without a leading zero.
std::string MonthMemoPath(std::string_view iniPath, int64_t year, unsigned month,
                          char separator = '/');

// $XDG_DATA_HOME/pimvesk/ when XDG_DATA_HOME is an absolute path, else
// $HOME/.local/share/pimvesk/. Either argument may be null.
std::string DataHomeFor(const char* xdgDataHome, const char* home);

// The path the two rules above start from: the program file as if it lay in
// the data home.
std::string ProgramPathIn(std::string_view dataHome);

}  // namespace pimvesk
