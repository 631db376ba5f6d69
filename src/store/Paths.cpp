#include "store/Paths.h"

namespace pimvesk {

std::string SettingsPathFor(std::string_view programPath) {
    const size_t keep = programPath.size() >= 3 ? programPath.size() - 3 : 0;
    return std::string(programPath.substr(0, keep)) + "ini";
}

std::string MemoDirectoryOf(std::string_view iniPath) {
    if (iniPath.size() < 11) {
        return {};
    }
    return std::string(iniPath.substr(0, iniPath.size() - 11));
}

std::string MonthMemoPath(std::string_view iniPath, int64_t year, unsigned month, char separator) {
    return MemoDirectoryOf(iniPath) + "data" + separator + std::to_string(year) + "_" +
           std::to_string(month) + ".pim";
}

std::string DataHomeFor(const char* xdgDataHome, const char* home) {
    std::string base;
    if (xdgDataHome != nullptr && xdgDataHome[0] == '/') {
        base = xdgDataHome;
    } else {
        base = std::string(home != nullptr ? home : "") + "/.local/share";
    }
    while (base.size() > 1 && base.back() == '/') {
        base.pop_back();
    }
    return base + "/pimvesk/";
}

std::string ProgramPathIn(std::string_view dataHome) {
    std::string path(dataHome);
    if (path.empty() || path.back() != '/') {
        path += '/';
    }
    return path + "PIMVESK.EXE";
}

}  // namespace pimvesk
