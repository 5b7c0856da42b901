#include "StorageAccess.h"

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

}  // namespace qv
