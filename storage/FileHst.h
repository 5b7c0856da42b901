// The recently used project and sequence files: entries at the end of the window's file menu
// ("&1 /path/file.qvp" with command 270 for the most recent, up to 9 entries), stored in the
// settings section "FileHist" as F1 (oldest) to F9. Files that no longer exist are dropped.
#pragma once

#include <cstdint>
#include <string>

namespace qv {

class TUserSettings;

// The file menu as the recent-file list sees it: plain items with command identifiers.
class IFileMenu {
 public:
  virtual ~IFileMenu() = default;
  // The command identifier of the last item, 0 for an empty menu.
  virtual int32_t LastCommand() const = 0;
  // True when an item has that command identifier; its text then goes to text.
  virtual bool FindText(int32_t command, std::string& text) const = 0;
  virtual void AppendItem(int32_t command, const std::string& text) = 0;
  // Deletes the item with that command identifier, if there is one.
  virtual void DeleteItem(int32_t command) = 0;
};

class TFileHistory {
 public:
  static constexpr int32_t kFirstCommand = 270;  // entry n has command 269 + n
  static constexpr int32_t kLastCommand = 279;   // reserved up to here
  static constexpr int kMaxEntries = 9;

  // menu is the owner window's file menu, nullptr when the window has no menu bar.
  explicit TFileHistory(IFileMenu* menu = nullptr) : FMenu(menu) {}

  IFileMenu* GetFileMenu() const { return FMenu; }
  void SetFileMenu(IFileMenu* menu) { FMenu = menu; }
  TUserSettings* UserSettings() const { return FUserSettings; }
  void SetUserSettings(TUserSettings* settings) { FUserSettings = settings; }

  // Puts filename at the top of the list (after reloading the stored list) and stores the
  // list when save is true.
  void MenuAppendFile(const std::string& filename, bool save);
  // The file of the entry with that command identifier; empty when there is none.
  std::string GetMenuFileHistory(int32_t id) const;
  // The most recent file, after Load.
  std::string GetMenuFileTop();
  // Rebuilds the entries from the settings, dropping files that no longer exist.
  void Load();
  // Stores the entries whose files exist.
  void SaveFileHist();

 private:
  // The command identifier of the last entry, kFirstCommand - 1 when there is none.
  int32_t LastEntryCommand() const;
  IFileMenu* FMenu;
  TUserSettings* FUserSettings = nullptr;
  bool FLoading = false;
};

}  // namespace qv
