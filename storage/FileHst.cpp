#include "FileHst.h"

#include <algorithm>
#include <vector>

#include "CaseFold.h"
#include "FileUtil.h"
#include "UserSettings.h"

namespace qv {

namespace {

constexpr const char* kSection = "FileHist";
constexpr size_t kPrefixLength = 3;  // "&", the digit and the blank

std::string StoredKey(int k) {
  return std::string("F") + char('0' + k);
}

// The file of an entry's text "&n path".
std::string EntryPath(const std::string& text) {
  return text.size() > kPrefixLength ? text.substr(kPrefixLength) : std::string();
}

class TLoadingGuard {
 public:
  explicit TLoadingGuard(bool& flag) : FFlag(flag) { FFlag = true; }
  ~TLoadingGuard() { FFlag = false; }
  TLoadingGuard(const TLoadingGuard&) = delete;
  TLoadingGuard& operator=(const TLoadingGuard&) = delete;

 private:
  bool& FFlag;
};

}  // namespace

int32_t TFileHistory::LastEntryCommand() const {
  int32_t last = FMenu ? FMenu->LastCommand() : 0;
  return (last >= kFirstCommand && last <= kLastCommand) ? last : kFirstCommand - 1;
}

void TFileHistory::MenuAppendFile(const std::string& filename, bool save) {
  if (!FMenu || filename.empty()) return;
  if (!FLoading) Load();
  std::vector<std::string> list{filename};
  const int32_t last = LastEntryCommand();
  for (int32_t id = kFirstCommand; id <= last; ++id) {
    std::string text;
    if (!FMenu->FindText(id, text)) continue;
    std::string path = EntryPath(text);
    if (!path.empty() && !SameTextAsciiAZ(path, filename)) list.push_back(path);
    FMenu->DeleteItem(id);
  }
  if (list.size() > size_t(kMaxEntries)) list.resize(kMaxEntries);
  for (size_t n = 1; n <= list.size(); ++n)
    FMenu->AppendItem(kFirstCommand - 1 + int32_t(n), "&" + std::to_string(n) + " " + list[n - 1]);
  if (save) SaveFileHist();
}

std::string TFileHistory::GetMenuFileHistory(int32_t id) const {
  std::string text;
  if (!FMenu || !FMenu->FindText(id, text)) return {};
  size_t blank = text.find(' ');
  return blank == std::string::npos ? std::string() : text.substr(blank + 1);
}

std::string TFileHistory::GetMenuFileTop() {
  Load();
  return GetMenuFileHistory(kFirstCommand);
}

void TFileHistory::Load() {
  if (!FUserSettings) return;
  bool allPresent = true;
  {
    TLoadingGuard guard(FLoading);
    for (int k = 1; '0' + k <= '~'; ++k) {
      const std::string value = FUserSettings->readString(kSection, StoredKey(k), "");
      if (value.empty()) break;
      if (FileExists(value)) {
        MenuAppendFile(value, false);
        continue;
      }
      allPresent = false;
      for (int32_t id = kFirstCommand; FMenu && id <= kLastCommand; ++id) {
        std::string text;
        if (FMenu->FindText(id, text) && EntryPath(text) == value) {
          FMenu->DeleteItem(id);
          break;
        }
      }
    }
  }
  if (!allPresent) SaveFileHist();
}

void TFileHistory::SaveFileHist() {
  if (!FMenu || !FUserSettings) return;
  int k = 1;
  for (int32_t id = LastEntryCommand(); id >= kFirstCommand && k <= kMaxEntries; --id) {
    const std::string path = GetMenuFileHistory(id);
    if (FileExists(path)) FUserSettings->writeString(kSection, StoredKey(k++), path);
  }
  if (k <= kMaxEntries) FUserSettings->writeString(kSection, StoredKey(k), "");
}

}  // namespace qv
