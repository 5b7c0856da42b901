#include "UserSettings.h"

#include "FileLocations.h"
#include "FileUtil.h"
#include "MorphError.h"
#include "StrUtil.h"

namespace qv {

namespace {

constexpr std::string_view kStoredCR = "\xEF\xBF\xB1";  // U+FFF1
constexpr std::string_view kStoredLF = "\xEF\xBF\xB2";  // U+FFF2

std::unique_ptr<TUserSettings>& Instance() {
  static std::unique_ptr<TUserSettings> instance;
  return instance;
}

}  // namespace

TUserSettingsFile::TUserSettingsFile(const std::string& progName) {
  try {
    EnsureFolder(ExtractFilePath(progName));
  } catch (const EMorphError&) {
    // the settings then live in memory; saving fails silently later
  }
  FIni = std::make_unique<TIni>(progName, te_UTF8, nullptr);
}

void TUserSettingsFile::writeInteger(const std::string& sect, const std::string& key,
                                     int32_t value) {
  FIni->WriteInteger(sect, key, value);
}

void TUserSettingsFile::writeBool(const std::string& sect, const std::string& key, bool value) {
  FIni->WriteBool(sect, key, value);
}

void TUserSettingsFile::writeString(const std::string& sect, const std::string& key,
                                    const std::string& value) {
  std::string v = value.substr(0, value.find('\0'));
  v = ReplaceAll(ReplaceAll(std::move(v), "\r", kStoredCR), "\n", kStoredLF);
  FIni->WriteString(sect, key, v);
}

void TUserSettingsFile::writeList(const std::string& sect, const TStringList& list) {
  FIni->WriteSectionLines(sect, list, true);
}

void TUserSettingsFile::ClearSection(const std::string& sect) {
  FIni->ClearSection(sect);
}

int32_t TUserSettingsFile::readInteger(const std::string& sect, const std::string& key,
                                       int32_t def) {
  return FIni->ReadInteger(sect, key, def);
}

bool TUserSettingsFile::readBool(const std::string& sect, const std::string& key, bool def) {
  return FIni->ReadBool(sect, key, def);
}

std::string TUserSettingsFile::readString(const std::string& sect, const std::string& key,
                                          const std::string& def) {
  return ReplaceAll(ReplaceAll(FIni->ReadString(sect, key, def), kStoredCR, "\r"), kStoredLF, "\n");
}

void TUserSettingsFile::readList(const std::string& sect, TStringList& list) {
  FIni->ReadSectionLines(sect, list, true);
}

void TUserSettingsFile::Save() {
  FIni->Save();
}

void TUserSettingsFile::SaveBackup() {
  FIni->SaveCopyToFile(ChangeFileExt(FIni->FileName(), "_bkup.ini"));
}

TUserSettings* GetUserSettings() {
  if (!Instance()) Instance() = OpenUserSettingsFile(kUserSettingsName);
  return Instance().get();
}

TUserSettings* CurrentUserSettings() {
  return Instance().get();
}

void FreeUserSettings() {
  Instance().reset();
}

std::unique_ptr<TUserSettingsFile> OpenUserSettingsFile(const std::string& name) {
  std::string folder = RoamingAppDataFolder();
  if (folder.empty()) throw EMorphError("can't obtain AppDataFolder");
  return std::make_unique<TUserSettingsFile>(IncludeTrailingPathDelimiter(folder) + name + ".ini");
}

}  // namespace qv
