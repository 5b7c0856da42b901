#include "StorageAccess.h"

#include <cstdlib>

#include "FileFolders.h"
#include "FileLocations.h"
#include "UserSettings.h"

namespace qv {

std::string ReadSettingString(const char* sect, const char* key, const std::string& def) {
  TUserSettings* s = CurrentUserSettings();
  return s ? s->readString(sect, key, def) : def;
}

int32_t ReadSettingInteger(const char* sect, const char* key, int32_t def) {
  TUserSettings* s = CurrentUserSettings();
  return s ? s->readInteger(sect, key, def) : def;
}

void WriteSettingString(const char* sect, const char* key, const std::string& value) {
  if (TUserSettings* s = CurrentUserSettings()) s->writeString(sect, key, value);
}

void WriteSettingInteger(const char* sect, const char* key, int32_t value) {
  if (TUserSettings* s = CurrentUserSettings()) s->writeInteger(sect, key, value);
}

std::string FolderOf(const std::string& fileName) {
  const size_t slash = fileName.find_last_of('/');
  return slash == std::string::npos ? std::string() : fileName.substr(0, slash + 1);
}

std::string DefaultProjectDir() {
  std::string dir = ReadFileFolder("ProjDir");
  return dir.empty() ? DefaultDocumentFolder() : dir;
}

namespace {
// The newest value of an input field's history: the first line of its stored list.
int32_t NewestHistoryNumber(const char* histName, int32_t def) {
  const std::string list = ReadSettingString(histName, "Hist", "");
  const std::string first = list.substr(0, list.find_first_of("\r\n"));
  char* end = nullptr;
  const long v = std::strtol(first.c_str(), &end, 10);
  return (end != first.c_str() && v > 0 && v <= 32768) ? int32_t(v) : def;
}
}  // namespace

TSizeProposal ProposedNewMorphSize() {
  TSizeProposal size;
  size.Width = NewestHistoryNumber("FormSettings\\HistoryComboBoxWidth", size.Width);
  size.Height = NewestHistoryNumber("FormSettings\\HistoryComboBoxHeight", size.Height);
  return size;
}

}  // namespace qv
