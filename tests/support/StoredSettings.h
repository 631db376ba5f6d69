#pragma once

#include <string>

namespace pimvesk::test {

// A key of a settings file as a fresh read finds it, or "(none)".
std::string Stored(const std::string& path, const char* section, const std::string& key);

// Every key a save writes is in the file, with `starts` date keys.
void ExpectEveryKey(const std::string& path, int starts);

}  // namespace pimvesk::test
