// The per-user settings store: one INI file in the user's settings folder
// ($XDG_CONFIG_HOME/Zunt/Quorvel.ini), reached through GetUserSettings. It is written at the
// first settings read after a change once the file is ten seconds old, and when it is freed.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "Ini.h"

namespace qv {

class TUserSettings {
 public:
  virtual ~TUserSettings() = default;
  virtual void writeInteger(const std::string& sect, const std::string& key, int32_t value) = 0;
  virtual void writeBool(const std::string& sect, const std::string& key, bool value) = 0;
  virtual void writeString(const std::string& sect, const std::string& key,
                           const std::string& value) = 0;
  virtual void writeList(const std::string& sect, const TStringList& list) = 0;
  virtual void ClearSection(const std::string& sect) = 0;
  virtual int32_t readInteger(const std::string& sect, const std::string& key, int32_t def) = 0;
  virtual bool readBool(const std::string& sect, const std::string& key, bool def) = 0;
  virtual std::string readString(const std::string& sect, const std::string& key,
                                 const std::string& def) = 0;
  virtual void readList(const std::string& sect, TStringList& list) = 0;
  virtual void Save() = 0;
  virtual void SaveBackup() = 0;
};

// Settings in one INI file, read and written in UTF-8 with byte-order mark. Strings keep their
// line breaks: CR is stored as U+FFF1 and LF as U+FFF2, so a value stays on one line.
class TUserSettingsFile : public TUserSettings {
 public:
  // progName is the full path of the settings file; its folder is created when missing.
  explicit TUserSettingsFile(const std::string& progName);
  // Saves the file when it was changed.
  ~TUserSettingsFile() override = default;

  void writeInteger(const std::string& sect, const std::string& key, int32_t value) override;
  void writeBool(const std::string& sect, const std::string& key, bool value) override;
  // The value ends before a NUL character; an empty value removes the key.
  void writeString(const std::string& sect, const std::string& key,
                   const std::string& value) override;
  void writeList(const std::string& sect, const TStringList& list) override;
  void ClearSection(const std::string& sect) override;
  int32_t readInteger(const std::string& sect, const std::string& key, int32_t def) override;
  bool readBool(const std::string& sect, const std::string& key, bool def) override;
  std::string readString(const std::string& sect, const std::string& key,
                         const std::string& def) override;
  void readList(const std::string& sect, TStringList& list) override;
  void Save() override;
  // Writes the whole document beside the file, "Quorvel.ini" giving "Quorvel_bkup.ini".
  void SaveBackup() override;

  TIni& Ini() { return *FIni; }
  const std::string& FileName() const { return FIni->FileName(); }

 private:
  std::unique_ptr<TIni> FIni;
};

// The base name of the settings file below the settings folder.
inline constexpr const char* kUserSettingsName = "Zunt/Quorvel";

// The settings object of the process, created at the first call from kUserSettingsName;
// raises EMorphError "can't obtain AppDataFolder" when there is no settings folder.
TUserSettings* GetUserSettings();
// The settings object when it was created, else nullptr (creates nothing).
TUserSettings* CurrentUserSettings();
// Frees (and so saves) the settings object; the next GetUserSettings opens the file again.
void FreeUserSettings();
// A settings object for name + ".ini" in the settings folder.
std::unique_ptr<TUserSettingsFile> OpenUserSettingsFile(const std::string& name);

}  // namespace qv
