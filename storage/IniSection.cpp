#include "IniSection.h"

#include <algorithm>

#include "CaseFold.h"

namespace qv {

namespace {
bool IsCommentLine(std::string_view line) {
  return !line.empty() && line[0] == ';';
}

std::string_view TrimSpaces(std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return s;
}
}  // namespace

std::unique_ptr<TIniSection> TIniSection::Clone() const {
  auto copy = std::make_unique<TIniSection>();
  copy->FLines = FLines;
  return copy;
}

int TIniSection::IndexOfName(std::string_view key) const {
  if (key.empty()) return -1;  // plain lines have no name to be found by
  for (size_t i = 0; i < FLines.size(); ++i)
    if (SameText(FLines[i].Name, key)) return int(i);
  return -1;
}

std::string TIniSection::getString(std::string_view key) const {
  int i = IndexOfName(key);
  return i < 0 ? std::string() : FLines[size_t(i)].Value;
}

bool TIniSection::isEmpty() const {
  return std::all_of(FLines.begin(), FLines.end(),
                     [](const TIniLine& l) { return l.Value.empty(); });
}

void TIniSection::GetSectionLines(TStringList& list, bool withCommentLines) const {
  for (const TIniLine& l : FLines) {
    if (l.Name.empty() && !withCommentLines && IsCommentLine(l.Value)) continue;
    list.push_back(l.Text());
  }
}

void TIniSection::SetSectionLines(const TStringList& list, bool withCommentLines) {
  FLines.clear();
  for (const std::string& s : list)
    if (withCommentLines || !IsCommentLine(s)) Append("", s);
}

void TIniSection::SetKWSectionLines(const TStringList& list) {
  FLines.clear();
  for (const std::string& s : list) AddLine(s);
}

std::string TIniSection::GetSectionText() const {
  std::string text;
  for (size_t i = 0; i < FLines.size(); ++i) {
    if (i) text += '\r';
    text += FLines[i].Text();
  }
  return text;
}

void TIniSection::SortKeywords() {
  std::stable_sort(FLines.begin(), FLines.end(), [](const TIniLine& a, const TIniLine& b) {
    return CompareText(a.Name, b.Name) < 0;
  });
}

void TIniSection::DelDupLines() {
  SortKeywords();
  for (size_t i = FLines.size(); i-- > 1;) {
    const TIniLine& a = FLines[i - 1];
    const TIniLine& b = FLines[i];
    if (a.Name == b.Name && a.Value == b.Value) FLines.erase(FLines.begin() + std::ptrdiff_t(i));
  }
}

void TIniSection::AddLine(std::string_view line) {
  if (line.empty() || line[0] == ';') return Append("", std::string(line));
  size_t eq = line.find('=');
  if (eq == std::string_view::npos) return Append("", std::string(line));
  if (eq + 1 == line.size()) return;
  std::string_view value = line.substr(eq + 1);
  if (value.size() >= 2 && value.front() == '\'' && value.back() == '\'')
    value = value.substr(1, value.size() - 2);
  Append(std::string(TrimSpaces(line.substr(0, eq))), std::string(value));
}

bool TIniSection::SetValue(std::string_view key, const std::string& value) {
  int i = IndexOfName(key);
  if (i >= 0) {
    if (value.empty()) {
      FLines.erase(FLines.begin() + i);
      return true;
    }
    if (FLines[size_t(i)].Value == value) return false;
    FLines[size_t(i)].Value = value;
    return true;
  }
  if (value.empty() || key.empty()) return false;
  Append(std::string(key), value);
  return true;
}

void TIniSection::AppendToList(TStringList& list) const {
  for (const TIniLine& l : FLines)
    if (!l.Value.empty()) list.push_back(l.Text());
}

void TIniSection::Append(std::string name, std::string value) {
  FLines.push_back(TIniLine{std::move(name), std::move(value)});
}

}  // namespace qv
