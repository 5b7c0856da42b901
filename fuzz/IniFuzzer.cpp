// Loading an INI file as the system does: once as the settings and sequence files are read
// (encoding by byte-order mark, else line by line), once as a project is read (UTF-8 preset,
// undecodable lines recovered as ANSI and reported). Then the typed reads, and the lines as a
// save would write them, which must read back unchanged in every encoding the system writes.
#include <cstdio>
#include <cstdlib>

#include "FuzzSupport.h"
#include "Ini.h"
#include "MorphError.h"
#include "TextEncoding.h"

namespace {

[[noreturn]] void Broken(const char* what) {
  std::fprintf(stderr, "INI document broken: %s\n", what);
  std::abort();
}

void Exercise(qv::TIni& ini) {
  qv::TStringList names;
  ini.ReadSectionNames(names);
  for (size_t i = 0; i < names.size() && i < 8; ++i) {
    const std::string& sect = names[i];
    qv::TStringList lines;
    ini.ReadSectionLines(sect, lines, true);
    ini.ReadSectionLineNames(sect, lines);
    for (size_t k = 0; k < lines.size() && k < 8; ++k) {
      ini.ReadString(sect, lines[k], "");
      ini.ReadInteger(sect, lines[k], 7);
      ini.ReadInt64(sect, lines[k], 7);
      ini.ReadBool(sect, lines[k], true);
      ini.ReadDouble(sect, lines[k], 1.0);
      ini.ReadFloat(sect, lines[k], 1.0);
      ini.ReadPoint(sect, lines[k], "3,4");
    }
  }
  ini.ReadPoint("Opt", "missing", "12,-5");
}

// The lines a save writes, encoded and decoded again, are the same lines.
void CheckEncodings(const qv::TIni& ini) {
  qv::TStringList lines;
  ini.SaveToList(lines);
  for (qv::TTextEncoding enc : {qv::te_UTF8, qv::te_UTF16LE, qv::te_UTF16BE}) {
    std::string bytes = qv::EncodeTextLines(lines, enc);
    bytes.erase(0, qv::ByteOrderMark(enc).size());
    int32_t failed = 0;
    if (qv::DecodeTextLines(bytes, enc, failed) != lines || failed != 0)
      Broken("saved lines do not read back");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  qv::fuzz::UseSilentDialogs();
  const std::string path = qv::fuzz::WriteScratchFile("fuzz.ini", data, size);
  try {
    qv::TIni settings(path, qv::te_Ansi, qv::TIni::IgnoreOnErrorEncoding);
    Exercise(settings);
    CheckEncodings(settings);
    int32_t reported = -1;
    qv::TIni project(path, qv::te_UTF8,
                     [&](qv::TIniStream&, int32_t lineNr) { reported = lineNr; });
    Exercise(project);
    if (reported == 0) Broken("encoding error reported for line 0");
    project.DelDupLines();
    project.SortKeywords();
    CheckEncodings(project);
  } catch (const qv::EMorphError&) {
  }
  return 0;
}
