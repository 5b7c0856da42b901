#include "Ini.h"

#include "Dialogs.h"
#include "FileUtil.h"
#include "MorphError.h"

namespace qv {

namespace {
constexpr TDateTime kFlushAge = 10.0 / kSecondsPerDay;
}

TIni::TIni(const std::string& fileName) : TIni(fileName, te_Ansi, nullptr) {}

TIni::TIni(const std::string& fileName, TTextEncoding encoding, TEncodingErrorHandler onError)
    : FFileName(fileName) {
  SetEncoding(encoding);
  if (onError)
    SetOnEncodingError(std::move(onError));
  else
    SetOnEncodingError(
        [this](TIniStream& sender, int32_t lineNr) { DefaultOnEncodingError(sender, lineNr); });
  if (FileExists(FFileName)) ReadFromFile();
}

TIni::~TIni() {
  try {
    if (Modified()) Save();
  } catch (...) {
    // a failing save on destruction is not reported
  }
}

void TIni::LoadFromFile(const std::string& fn) {
  if (fn.empty()) return;
  FFileTime = FileLastWriteTime(fn);
  Clear();
  std::string bytes = ReadFileBytes(fn);
  if (LoadFromBytes(bytes, Encoding()) == te_UTF8 && Encoding() == te_Ansi) SetEncoding(te_UTF8);
  if (fn != FFileName) SetModified(true);
}

void TIni::ReadFromFile() {
  if (!FFileName.empty()) LoadFromFile(FFileName);
}

void TIni::ReadFromString(const std::string& text) {
  FFileTime = -1;
  Clear();
  LoadFromTextLines(SplitLines(text));
}

void TIni::SaveToFile(const std::string& fn, TTextEncoding encoding) {
  if (fn.empty()) return;
  if (encoding != te_Ansi) SetEncoding(encoding);
  WriteToFile(fn);
  SetModified(false);
  FFileTime = FileLastWriteTime(FFileName);
}

void TIni::SaveCopyToFile(const std::string& fn) {
  if (!fn.empty()) WriteToFile(fn);
}

void TIni::WriteToFile(const std::string& fn) {
  TStringList lines;
  SaveToList(lines);
  try {
    if (isEmpty()) {
      DeleteFileOrRaise(fn);  // an empty document leaves no file
    } else {
      EnsureFolder(ExtractFilePath(fn));
      WriteFileAtomic(fn, EncodeTextLines(lines, Encoding()));
    }
  } catch (const std::exception&) {
    SaveFailed();
  }
}

void TIni::Save() {
  if (Modified()) SaveToFile(FFileName, Encoding());
}

void TIni::Maintain() {
  if (Modified()) {
    Save();
    return;
  }
  TDateTime t = FileLastWriteTime(FFileName);
  if (t != 0 && t != FFileTime) ReadFromFile();
}

void TIni::ChangeFileName(const std::string& fileName) {
  FFileName = fileName;
  SetModified(true);
}

std::string TIni::ReadString(const std::string& section, const std::string& key,
                             const std::string& def) {
  if (FAutoMaintain) Maintain();
  if (FFlushOnRead && Modified() && FFileTime < Now() - kFlushAge) Save();
  return TIniStream::ReadString(section, key, def);
}

void TIni::ReadSectionLines(const std::string& section, TStringList& list, bool withCommentLines) {
  if (FAutoMaintain) Maintain();
  TIniStream::ReadSectionLines(section, list, withCommentLines);
}

void TIni::DefaultOnEncodingError(TIniStream&, int32_t lineNr) {
  Dialogs().ShowInformation("Die Datei \r" + FFileName + "\r enthält in Zeile " +
                            std::to_string(lineNr) + " ein nicht interpretierbares Zeichen.");
}

void TIni::IgnoreOnErrorEncoding(TIniStream&, int32_t) {}

}  // namespace qv
