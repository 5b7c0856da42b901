// The typed history of an input field (the history combo box without its widget): values
// newest first, at most maxHistory of them, stored in the settings section HistName under
// "Hist" as one value, items joined by CR LF and line breaks inside items written as "¶".
#pragma once

#include <cstdint>
#include <string>

#include "IniSection.h"

namespace qv {

class TUserSettings;

class THistoryItems {
 public:
  static constexpr int16_t kDefaultMaxHistory = 40;

  // Takes the stored items (when settings exist) and tidies them; answers true when there
  // are items, and the field then shows item 0.
  bool LoadItems(TUserSettings* settings);
  // Puts text on top: a value saved while it was being typed gives way to the longer one, an
  // item equal to it ignoring case is replaced, the oldest items beyond maxHistory go. Stores
  // the items when settings exist.
  void SaveItems(const std::string& text, TUserSettings* settings);
  // The stored form of the items.
  std::string JoinedItems() const;

  int16_t maxHistory() const { return FMaxHistory; }  // 0 turns the history off
  void SetMaxHistory(int16_t value) { FMaxHistory = value; }
  const std::string& HistName() const { return FHistName; }
  void SetHistName(const std::string& value) { FHistName = value; }
  // Line breaks inside items are CR alone (else CR LF).
  bool CrOnly() const { return FCrOnly; }
  void SetCrOnly(bool value) { FCrOnly = value; }
  TStringList& HistoryStrings() { return FItems; }
  const TStringList& HistoryStrings() const { return FItems; }
  bool Changed() const { return FChanged; }
  void SetChanged(bool value) { FChanged = value; }
  bool ItemsLoaded() const { return FItemsLoaded; }

 private:
  int16_t FMaxHistory = kDefaultMaxHistory;
  std::string FHistName;
  bool FChanged = false;
  bool FCrOnly = false;
  bool FItemsLoaded = false;
  TStringList FItems;
};

}  // namespace qv
