#include "FileFolders.h"

#include "FileLocations.h"
#include "FileUtil.h"
#include "UserSettings.h"

namespace qv {

namespace {

std::string FolderOrDefault(const char* key) {
  const std::string dir = ReadFileFolder(key);
  return dir.empty() ? DefaultDocumentFolder() : dir;
}

}  // namespace

std::string ReadFileFolder(const char* key) {
  TUserSettings* s = CurrentUserSettings();
  return s ? s->readString("File", key, "") : std::string();
}

std::string DefaultAVIDir() {
  return FolderOrDefault("AVI");
}

std::string DefaultAVISrcDir() {
  return FolderOrDefault("AVISrc");
}

void StoreFileFolder(const char* key, const std::string& fileName) {
  if (TUserSettings* s = CurrentUserSettings())
    s->writeString("File", key, ExtractFilePath(fileName));
}

}  // namespace qv
