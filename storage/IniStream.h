// The INI document in memory, independent of files: sections of lines with typed reads and
// writes. Comments, unknown keys and the order of lines within a section are kept; sections
// are written in sorted order, the unnamed one first and without header.
#pragma once

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <memory>
#include <string>

#include "IniSection.h"
#include "IniSectionList.h"
#include "TextEncoding.h"
#include "Types.h"

namespace qv {

class TIniStream;
// Called once after a load that met lines which do not decode; lineNr is the last of them.
using TEncodingErrorHandler = std::function<void(TIniStream& sender, int32_t lineNr)>;

class TIniStream {
 public:
  TIniStream() = default;
  virtual ~TIniStream() = default;
  TIniStream(const TIniStream&) = delete;
  TIniStream& operator=(const TIniStream&) = delete;

  void Clear() { FSections.Clear(); }
  bool isEmpty() const;

  // The value of the first line named key in the section; def when it is missing or empty.
  virtual std::string ReadString(const std::string& section, const std::string& key,
                                 const std::string& def);
  // A malformed integer reads as 0, a malformed Int64 or float as the default.
  int32_t ReadInteger(const std::string& section, const std::string& key, int32_t def);
  int64_t ReadInt64(const std::string& section, const std::string& key, int64_t def);
  // Any text greater than "0" is true.
  bool ReadBool(const std::string& section, const std::string& key, bool def);
  // 16 hexadecimal digits holding the bits of the double.
  double ReadDouble(const std::string& section, const std::string& key, double def);
  double ReadFloat(const std::string& section, const std::string& key, double def);
  // "X,Y"; a missing value parses def instead.
  TPoint ReadPoint(const std::string& section, const std::string& key, const std::string& def);

  // Replaces, appends or (for an empty value) deletes the key; a value equal to the stored
  // one changes nothing.
  void WriteString(const std::string& section, const std::string& key, const std::string& value);
  void WriteInteger(const std::string& section, const std::string& key, int32_t value);
  void WriteBool(const std::string& section, const std::string& key, bool value);
  void WriteDouble(const std::string& section, const std::string& key, double value);

  virtual void ReadSectionLines(const std::string& section, TStringList& list,
                                bool withCommentLines);
  void WriteSectionLines(const std::string& section, const TStringList& list,
                         bool withCommentLines);
  void ReadSectionNames(TStringList& list) const;
  // The names of the key lines of the section.
  void ReadSectionLineNames(const std::string& section, TStringList& list);
  void ClearSection(const std::string& section);
  // Takes the section under name (ignored when the name exists); an empty section gets the
  // line "?=?".
  void AddSection(const std::string& name, std::unique_ptr<TIniSection> section);
  TIniSection& getsections(size_t index) const { return FSections.Section(index); }
  TIniSection* getSectionByName(const std::string& name) const { return FSections.Find(name); }
  const std::string& getSectionNames(size_t index) const { return FSections.Name(index); }
  void DelDupLines();
  void SortKeywords();

  // Adds the lines of a file to the present content.
  void LoadFromList(const TStringList& list);
  // Appends the lines as they are written to a file.
  void SaveToList(TStringList& list) const;
  void LoadFromStream(std::istream& stream);
  void SaveToStream(std::ostream& stream, TTextEncoding encoding) const;

  const TIniSectionList& SectionList() const { return FSections; }
  TTextEncoding Encoding() const { return FEncoding; }
  void SetEncoding(TTextEncoding value) { FEncoding = value; }
  const TEncodingErrorHandler& OnEncodingError() const { return FOnEncodingError; }
  void SetOnEncodingError(TEncodingErrorHandler handler) { FOnEncodingError = std::move(handler); }
  bool Modified() const { return FModified; }
  bool CaseSensitive() const { return FSections.CaseSensitive(); }
  void SetCaseSensitive(bool value) { FSections.SetCaseSensitive(value); }
  size_t Count() const { return FSections.Count(); }

 protected:
  void SetModified(bool value) { FModified = value; }
  // Decodes the bytes of a file (a byte-order mark decides the decoding, else decodeAs),
  // reports undecodable lines to OnEncodingError and loads the lines. Answers the encoding
  // of the byte-order mark, te_Ansi when there was none.
  TTextEncoding LoadFromBytes(std::string_view bytes, TTextEncoding decodeAs);
  // Lines of a text handled as in LoadFromList, with the header rule of texts: the name ends
  // at the first "]".
  void LoadFromTextLines(const TStringList& list);

 private:
  TIniSection& CurrentOrUnnamed(TIniSection* current);
  TIniSectionList FSections;
  TTextEncoding FEncoding = te_Ansi;
  TEncodingErrorHandler FOnEncodingError;
  bool FModified = false;
};

}  // namespace qv
