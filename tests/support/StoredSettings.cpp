#include "support/StoredSettings.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "store/IniFile.h"

namespace pimvesk::test {

std::string Stored(const std::string& path, const char* section, const std::string& key) {
    TIniFile file(path);
    return file.ReadText(section, key, "(none)");
}

void ExpectEveryKey(const std::string& path, int starts) {
    std::vector<std::pair<const char*, std::string>> keys = {
        {"option", "setaverage"}, {"option", "averageday"}, {"option", "period"},
        {"option", "ovuave"},     {"date", "count"},        {"color", "back"},
        {"color", "period"},      {"color", "danger"},      {"color", "date"},
        {"color", "saturday"},    {"color", "holiday"}};
    for (int k = 0; k < starts; ++k) {
        keys.emplace_back("date", std::to_string(k));
    }
    for (int k = 1; k <= 5; ++k) {
        keys.emplace_back("memo", "cat" + std::to_string(k));
        keys.emplace_back("memo", "cat" + std::to_string(k) + "col");
    }
    for (const auto& [section, key] : keys) {
        EXPECT_NE(Stored(path, section, key), "(none)") << section << " " << key;
    }
}

}  // namespace pimvesk::test
