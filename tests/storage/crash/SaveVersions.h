// Numbered versions of a project file and of a settings file, written the way the program
// writes them, for the tests that stop a saving process at random moments. Version k of a file
// is always the same bytes, so a file can be told to be exactly some complete version.
#pragma once

#include <cstdint>
#include <string>

namespace qv {
class TUserSettingsFile;
}

namespace qv::test {

// Saves version k of a project (a morphing of some 1500 points and 200 triangles) as fn.
void SaveProjectVersion(const std::string& fn, int32_t k);
// Writes the values of version k into the settings and saves them.
void SaveSettingsVersion(TUserSettingsFile& settings, int32_t k);

// The version the file's bytes are, -1 when they are none of them (a damaged or mixed file).
int32_t ProjectVersionOf(const std::string& bytes, const std::string& scratchFile);
int32_t SettingsVersionOf(const std::string& bytes, const std::string& scratchFile);

}  // namespace qv::test
