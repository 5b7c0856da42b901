// One section of an INI document: its lines in file order. A key line has a name and a
// non-empty value ("name=value"); a plain line (comment, text without "=", raw line) has an
// empty name and its whole text as value. Lookups by name ignore letter case and take the
// first line of that name.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

using TStringList = std::vector<std::string>;

struct TIniLine {
  std::string Name;
  std::string Value;
  // The line as it is written: "name=value", or the value alone for a plain line.
  std::string Text() const { return Name.empty() ? Value : Name + "=" + Value; }
};

class TIniSection {
 public:
  std::unique_ptr<TIniSection> Clone() const;

  size_t Count() const { return FLines.size(); }
  const std::vector<TIniLine>& Lines() const { return FLines; }

  // Value of the first line with that name, empty when there is none.
  std::string getString(std::string_view key) const;
  std::string getValue(std::string_view key) const { return getString(key); }
  const std::string& getValues(size_t index) const { return FLines.at(index).Value; }
  // True when no line has a non-empty value.
  bool isEmpty() const;

  // Appends the lines as text; plain lines starting with ";" only withCommentLines.
  void GetSectionLines(TStringList& list, bool withCommentLines) const;
  // Replaces the lines by one plain line per source line.
  void SetSectionLines(const TStringList& list, bool withCommentLines);
  // Replaces the lines by the source lines parsed with AddLine.
  void SetKWSectionLines(const TStringList& list);
  // The lines joined by "\r".
  std::string GetSectionText() const;

  // Sorts the lines by name ignoring case (plain lines first), then removes each line that
  // equals the one before it exactly, name and value.
  void DelDupLines();
  void SortKeywords();

  // Parses one file line: comments and lines without "=" become plain lines, "key=" is
  // dropped, a value in apostrophes loses them, blanks around the name are removed.
  void AddLine(std::string_view line);
  // Replaces the value of the first line with that name in place, deletes it for an empty
  // value, or appends a new key line; true when something changed.
  bool SetValue(std::string_view key, const std::string& value);
  // Appends the written form of the section (lines with empty values left out).
  void AppendToList(TStringList& list) const;

  void Clear() { FLines.clear(); }
  void Append(std::string name, std::string value);

 private:
  int IndexOfName(std::string_view key) const;
  std::vector<TIniLine> FLines;
};

}  // namespace qv
