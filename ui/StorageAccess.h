// The editor's use of the user settings store. Every access first checks that the store
// exists and is skipped otherwise.
#pragma once

#include <cstdint>
#include <string>

namespace qv {

std::string ReadSettingString(const char* sect, const char* key, const std::string& def);
int32_t ReadSettingInteger(const char* sect, const char* key, int32_t def);
void WriteSettingString(const char* sect, const char* key, const std::string& value);
void WriteSettingInteger(const char* sect, const char* key, int32_t value);

// The folder of a file name, with its trailing "/"; empty without folder.
std::string FolderOf(const std::string& fileName);
// The start folder of the project dialogs: "ProjDir" of section "File", else the default
// document folder (created when missing).
std::string DefaultProjectDir();

struct TSizeProposal {
  int32_t Width = 810;
  int32_t Height = 1080;
};
// The size the settings dialog proposes for a new morphing: the last width and height typed
// into it, else 810 x 1080.
TSizeProposal ProposedNewMorphSize();

}  // namespace qv
