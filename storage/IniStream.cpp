#include "IniStream.h"

#include <istream>
#include <iterator>
#include <ostream>

#include "IniValues.h"

namespace qv {

namespace {
bool IsHeader(const std::string& line) {
  return !line.empty() && line[0] == '[';
}
}  // namespace

bool TIniStream::isEmpty() const {
  for (size_t i = 0; i < FSections.Count(); ++i)
    if (!FSections.Section(i).isEmpty()) return false;
  return true;
}

std::string TIniStream::ReadString(const std::string& section, const std::string& key,
                                   const std::string& def) {
  const TIniSection* s = FSections.Find(section);
  std::string value = s ? s->getString(key) : std::string();
  return value.empty() ? def : value;
}

int32_t TIniStream::ReadInteger(const std::string& section, const std::string& key, int32_t def) {
  std::string s = ReadString(section, key, "");
  if (s.empty()) return def;
  int32_t v;
  return TryStrToInt(s, v) ? v : 0;
}

int64_t TIniStream::ReadInt64(const std::string& section, const std::string& key, int64_t def) {
  std::string s = ReadString(section, key, "");
  int64_t v;
  return !s.empty() && TryStrToInt64(s, v) ? v : def;
}

bool TIniStream::ReadBool(const std::string& section, const std::string& key, bool def) {
  std::string s = ReadString(section, key, "");
  return s.empty() ? def : s > "0";
}

double TIniStream::ReadDouble(const std::string& section, const std::string& key, double def) {
  std::string s = ReadString(section, key, "");
  return s.empty() ? def : HexBitsToDouble(s);
}

double TIniStream::ReadFloat(const std::string& section, const std::string& key, double def) {
  std::string s = ReadString(section, key, "");
  double v;
  return !s.empty() && TryStrToFloat(s, v) ? v : def;
}

TPoint TIniStream::ReadPoint(const std::string& section, const std::string& key,
                             const std::string& def) {
  std::string s = ReadString(section, key, def);
  TScanResult x = ScanInteger(s, 1);
  int32_t pos = x.Pos;
  if (pos <= int32_t(s.size()) && s[size_t(pos - 1)] == ',') ++pos;
  return TPoint{x.Value, ScanInteger(s, pos).Value};
}

void TIniStream::WriteString(const std::string& section, const std::string& key,
                             const std::string& value) {
  if (ReadString(section, key, "") == value) return;
  if (FSections.Obtain(section).SetValue(key, value)) FModified = true;
}

void TIniStream::WriteInteger(const std::string& section, const std::string& key, int32_t value) {
  WriteString(section, key, std::to_string(value));
}

void TIniStream::WriteBool(const std::string& section, const std::string& key, bool value) {
  WriteString(section, key, value ? "1" : "0");
}

void TIniStream::WriteDouble(const std::string& section, const std::string& key, double value) {
  WriteString(section, key, DoubleToHexBits(value));
}

void TIniStream::ReadSectionLines(const std::string& section, TStringList& list,
                                  bool withCommentLines) {
  list.clear();
  if (const TIniSection* s = FSections.Find(section)) s->GetSectionLines(list, withCommentLines);
}

void TIniStream::WriteSectionLines(const std::string& section, const TStringList& list,
                                   bool withCommentLines) {
  FSections.Obtain(section).SetSectionLines(list, withCommentLines);
  FModified = true;
}

void TIniStream::ReadSectionNames(TStringList& list) const {
  list.clear();
  for (size_t i = 0; i < FSections.Count(); ++i) list.push_back(FSections.Name(i));
}

void TIniStream::ReadSectionLineNames(const std::string& section, TStringList& list) {
  TStringList lines;
  ReadSectionLines(section, lines, false);
  list.clear();
  for (const std::string& line : lines) {
    size_t eq = line.find('=');
    if (eq != std::string::npos) list.push_back(line.substr(0, eq));
  }
}

void TIniStream::ClearSection(const std::string& section) {
  if (FSections.Remove(section)) FModified = true;
}

void TIniStream::AddSection(const std::string& name, std::unique_ptr<TIniSection> section) {
  if (!section || FSections.Find(name)) return;
  if (section->Count() == 0) section->Append("?", "?");
  FSections.Add(name, std::move(section));
  FModified = true;
}

void TIniStream::DelDupLines() {
  for (size_t i = 0; i < FSections.Count(); ++i) FSections.Section(i).DelDupLines();
}

void TIniStream::SortKeywords() {
  for (size_t i = 0; i < FSections.Count(); ++i) FSections.Section(i).SortKeywords();
}

TIniSection& TIniStream::CurrentOrUnnamed(TIniSection* current) {
  return current ? *current : FSections.Obtain("");
}

void TIniStream::LoadFromList(const TStringList& list) {
  TIniSection* current = nullptr;
  for (const std::string& line : list) {
    if (line.empty()) continue;
    if (line == ";$C") {
      SetCaseSensitive(true);
    } else if (IsHeader(line)) {
      size_t end = line.back() == ']' && line.size() > 1 ? line.size() - 1 : line.size();
      current = &FSections.Obtain(line.substr(1, end - 1));
    } else {
      current = &CurrentOrUnnamed(current);
      current->AddLine(line);
    }
  }
}

void TIniStream::LoadFromTextLines(const TStringList& list) {
  TIniSection* current = nullptr;
  for (const std::string& line : list) {
    if (line.empty()) continue;
    if (IsHeader(line)) {
      current = &FSections.Obtain(line.substr(1, line.find(']') - 1));
    } else {
      current = &CurrentOrUnnamed(current);
      current->AddLine(line);
    }
  }
}

void TIniStream::SaveToList(TStringList& list) const {
  if (CaseSensitive()) list.push_back(";$C");
  for (size_t i = 0; i < FSections.Count(); ++i) {
    const TIniSection& s = FSections.Section(i);
    if (s.Count() == 0) continue;
    if (!FSections.Name(i).empty()) list.push_back("[" + FSections.Name(i) + "]");
    s.AppendToList(list);
    list.emplace_back();
  }
}

TTextEncoding TIniStream::LoadFromBytes(std::string_view bytes, TTextEncoding decodeAs) {
  TTextEncoding bom = DetectByteOrderMark(bytes);
  if (bom != te_Ansi) {
    bytes.remove_prefix(ByteOrderMark(bom).size());
    decodeAs = bom;
  }
  int32_t failedLine = 0;
  LoadFromList(DecodeTextLines(bytes, decodeAs, failedLine));
  if (failedLine > 0 && FOnEncodingError) FOnEncodingError(*this, failedLine);
  return bom;
}

void TIniStream::LoadFromStream(std::istream& stream) {
  Clear();
  std::string bytes((std::istreambuf_iterator<char>(stream)), std::istreambuf_iterator<char>());
  FEncoding = LoadFromBytes(bytes, te_Ansi);
}

void TIniStream::SaveToStream(std::ostream& stream, TTextEncoding encoding) const {
  TStringList lines;
  SaveToList(lines);
  std::string bytes = EncodeTextLines(lines, encoding);
  stream.write(bytes.data(), std::streamsize(bytes.size()));
}

}  // namespace qv
