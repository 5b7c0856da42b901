// The sections of an INI document by name, kept sorted: letter case is ignored unless the
// list is case-sensitive, and the unnamed section "" comes first.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "IniSection.h"

namespace qv {

class TIniSectionList {
 public:
  size_t Count() const { return FItems.size(); }
  const std::string& Name(size_t index) const { return FItems.at(index).first; }
  TIniSection& Section(size_t index) const { return *FItems.at(index).second; }

  // The section of that name, nullptr when there is none.
  TIniSection* Find(std::string_view name) const;
  // Inserts section under name at its sorted place; ignored (and section freed) when the
  // name exists. Answers the section now stored under the name.
  TIniSection& Add(const std::string& name, std::unique_ptr<TIniSection> section);
  // The section of that name, created empty when missing.
  TIniSection& Obtain(const std::string& name);
  // True when a section of that name existed.
  bool Remove(std::string_view name);
  void Clear() { FItems.clear(); }

  bool CaseSensitive() const { return FCaseSensitive; }
  void SetCaseSensitive(bool value);

 private:
  using TItem = std::pair<std::string, std::unique_ptr<TIniSection>>;
  int Compare(std::string_view a, std::string_view b) const;
  std::vector<TItem>::const_iterator LowerBound(std::string_view name) const;
  bool FCaseSensitive = false;
  std::vector<TItem> FItems;
};

}  // namespace qv
