#include "IniSectionList.h"

#include <algorithm>

#include "CaseFold.h"

namespace qv {

int TIniSectionList::Compare(std::string_view a, std::string_view b) const {
  return FCaseSensitive ? CompareTextStable(a, b) : CompareText(a, b);
}

std::vector<TIniSectionList::TItem>::const_iterator TIniSectionList::LowerBound(
    std::string_view name) const {
  return std::lower_bound(
      FItems.begin(), FItems.end(), name,
      [this](const TItem& item, std::string_view n) { return Compare(item.first, n) < 0; });
}

TIniSection* TIniSectionList::Find(std::string_view name) const {
  auto it = LowerBound(name);
  if (it == FItems.end() || Compare(it->first, name) != 0) return nullptr;
  return it->second.get();
}

TIniSection& TIniSectionList::Add(const std::string& name, std::unique_ptr<TIniSection> section) {
  auto it = LowerBound(name);
  if (it != FItems.end() && Compare(it->first, name) == 0) return *it->second;
  return *FItems.emplace(it, name, std::move(section))->second;
}

TIniSection& TIniSectionList::Obtain(const std::string& name) {
  if (TIniSection* s = Find(name)) return *s;
  return Add(name, std::make_unique<TIniSection>());
}

bool TIniSectionList::Remove(std::string_view name) {
  auto it = LowerBound(name);
  if (it == FItems.end() || Compare(it->first, name) != 0) return false;
  FItems.erase(it);
  return true;
}

void TIniSectionList::SetCaseSensitive(bool value) {
  if (value == FCaseSensitive) return;
  FCaseSensitive = value;
  std::stable_sort(FItems.begin(), FItems.end(), [this](const TItem& a, const TItem& b) {
    return Compare(a.first, b.first) < 0;
  });
}

}  // namespace qv
