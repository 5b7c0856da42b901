// The INI document of one file. Nothing is written until Save, destruction with unsaved
// changes, or the first read after a change once the file is more than ten seconds old.
// Writing never reports a failure: SaveFailed is called and the document counts as saved.
#pragma once

#include <string>

#include "Clock.h"
#include "IniStream.h"

namespace qv {

class TIni : public TIniStream {
 public:
  // Loads the file when the name is non-empty and the file exists. Undecodable lines are
  // reported by DefaultOnEncodingError.
  explicit TIni(const std::string& fileName);
  // As above, with the encoding preset (the file is read and saved in it) and a handler that
  // replaces the default one unless it is empty.
  TIni(const std::string& fileName, TTextEncoding encoding, TEncodingErrorHandler onError);
  // Saves when modified, ignoring any failure.
  ~TIni() override;

  // Replaces the content by the file; raises EMorphError when it cannot be read. Loading a
  // file other than FileName sets Modified.
  void LoadFromFile(const std::string& fn);
  void ReadFromFile();
  // Replaces the content by an INI text; headers end at the first "]".
  void ReadFromString(const std::string& text);
  // Writes the document to fn (an empty document deletes the file) in encoding, which becomes
  // Encoding unless it is te_Ansi.
  virtual void SaveToFile(const std::string& fn, TTextEncoding encoding);
  void Save();
  // Writes the document to fn in Encoding as SaveToFile does, but leaves Modified and the file
  // time alone (for backups: the document's own file still has to be saved).
  void SaveCopyToFile(const std::string& fn);
  // Saves when modified; otherwise reloads the file when it changed on disk.
  void Maintain();
  void ChangeFileName(const std::string& fileName);

  std::string ReadString(const std::string& section, const std::string& key,
                         const std::string& def) override;
  void ReadSectionLines(const std::string& section, TStringList& list,
                        bool withCommentLines) override;
  // Strings are UTF-8 throughout, so these are ReadInteger and ReadString.
  int32_t AnsiReadInteger(const std::string& section, const std::string& key, int32_t def) {
    return ReadInteger(section, key, def);
  }
  std::string AnsiReadString(const std::string& section, const std::string& key,
                             const std::string& def) {
    return ReadString(section, key, def);
  }

  // Tells the user which line of the file holds an undecodable character.
  void DefaultOnEncodingError(TIniStream& sender, int32_t lineNr);
  static void IgnoreOnErrorEncoding(TIniStream& sender, int32_t lineNr);

  const std::string& FileName() const { return FFileName; }
  // Last-write time of the file at the last load or save; 0 for a missing file, -1 after
  // ReadFromString.
  TDateTime FileTime() const { return FFileTime; }
  bool AutoMaintain() const { return FAutoMaintain; }
  void SetAutoMaintain(bool value) { FAutoMaintain = value; }
  // Off, reads never write the file: a writer that rewrites a whole document (a project)
  // turns it off, so that the file never holds a mix of its old and its new keys, only the
  // one or the other complete version. On by default.
  bool FlushOnRead() const { return FFlushOnRead; }
  void SetFlushOnRead(bool value) { FFlushOnRead = value; }

 protected:
  // Called when writing the file failed.
  virtual void SaveFailed() {}

 private:
  void WriteToFile(const std::string& fn);
  std::string FFileName;
  TDateTime FFileTime = 0;
  bool FAutoMaintain = false;
  bool FFlushOnRead = true;
};

}  // namespace qv
