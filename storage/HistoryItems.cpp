#include "HistoryItems.h"

#include <algorithm>

#include "CaseFold.h"
#include "StrUtil.h"
#include "TextEncoding.h"
#include "UserSettings.h"

namespace qv {

namespace {

constexpr std::string_view kPilcrow = "\xC2\xB6";  // "¶"
constexpr const char* kKey = "Hist";

}  // namespace

bool THistoryItems::LoadItems(TUserSettings* settings) {
  if (FMaxHistory <= 0) return false;
  if (settings) FItems = SplitLines(settings->readString(FHistName, kKey, ""));
  const std::string pilcrows =
      FCrOnly ? std::string(kPilcrow) : std::string(kPilcrow) + std::string(kPilcrow);
  for (std::string& item : FItems)
    item = ReplaceAll(std::move(item), pilcrows, FCrOnly ? "\r" : "\r\n");
  if (!FItems.empty())
    FItems.erase(std::remove_if(FItems.begin() + 1, FItems.end(),
                                [](const std::string& s) { return s.empty(); }),
                 FItems.end());
  FChanged = false;
  FItemsLoaded = true;
  return !FItems.empty();
}

void THistoryItems::SaveItems(const std::string& text, TUserSettings* settings) {
  if (FMaxHistory <= 0) return;
  if (!FItems.empty() && FItems[0] == WithoutLastChar(text)) FItems.erase(FItems.begin());
  auto same = std::find_if(FItems.begin(), FItems.end(),
                           [&](const std::string& s) { return SameText(s, text); });
  if (same != FItems.end()) FItems.erase(same);
  FItems.insert(FItems.begin(), text);
  if (FItems.size() > size_t(FMaxHistory)) FItems.resize(size_t(FMaxHistory));
  if (settings) settings->writeString(FHistName, kKey, JoinedItems());
  FChanged = false;
}

std::string THistoryItems::JoinedItems() const {
  std::string joined;
  for (size_t i = 0; i < FItems.size(); ++i) {
    if (i) joined += "\r\n";
    std::string item = ReplaceAll(FItems[i], "\r", kPilcrow);
    if (!FCrOnly) item = ReplaceAll(std::move(item), "\n", kPilcrow);
    joined += item;
  }
  return joined;
}

}  // namespace qv
