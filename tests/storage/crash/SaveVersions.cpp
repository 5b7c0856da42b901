#include "SaveVersions.h"

#include <cstdio>
#include <fstream>
#include <iterator>

#include "Ini.h"
#include "Morph.h"
#include "UserSettings.h"

namespace qv::test {

namespace {

constexpr int32_t kPoints = 1500;
constexpr int32_t kTriangles = 200;

std::string Bytes(const std::string& fn) {
  std::ifstream in(fn, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The number the file states as its version, read as the program reads it; -1 without one.
int32_t StatedVersion(const std::string& bytes, const std::string& sect, const std::string& key) {
  TIni ini("");
  ini.ReadFromString(bytes);
  return ini.ReadInteger(sect, key, -1);
}

}  // namespace

void SaveProjectVersion(const std::string& fn, int32_t k) {
  TMorphing doc;
  doc.setTargetImageSize(640, 480);
  for (int32_t i = 0; i < kPoints; ++i)
    doc.AddPoint(doc.Source1(), TPoint{(i * 7 + k) % 640, (i * 13 + 3 * k) % 480});
  for (int32_t i = 0; i < kTriangles; ++i) doc.AppendTriangle({i, i + 1, (i * 5 + k) % kPoints});
  doc.SetGridColor(TColor(k));
  doc.SetFramesMorph(k % 500 + 1);
  doc.SaveToFile(fn);
}

void SaveSettingsVersion(TUserSettingsFile& settings, int32_t k) {
  settings.writeInteger("Form1", "Left", k);
  settings.writeString("File", "Current", "/home/anna/Morphings/Übergang " + std::to_string(k) + ".qvp");
  TStringList history;
  for (int32_t i = 0; i < 300; ++i)
    history.push_back("Eintrag " + std::to_string(k) + "-" + std::to_string(i) + "=ein längerer Wert");
  settings.writeList("History", history);
  settings.writeBool("Settings", "AutoPlay", k % 2 == 1);
  settings.Save();
}

int32_t ProjectVersionOf(const std::string& bytes, const std::string& scratchFile) {
  const int32_t k = StatedVersion(bytes, "Project", "GridColor");
  if (k < 0) return -1;
  std::remove(scratchFile.c_str());
  SaveProjectVersion(scratchFile, k);
  return Bytes(scratchFile) == bytes ? k : -1;
}

int32_t SettingsVersionOf(const std::string& bytes, const std::string& scratchFile) {
  const int32_t k = StatedVersion(bytes, "Form1", "Left");
  if (k < 0) return -1;
  std::remove(scratchFile.c_str());
  {
    TUserSettingsFile settings(scratchFile);
    SaveSettingsVersion(settings, k);
  }
  return Bytes(scratchFile) == bytes ? k : -1;
}

}  // namespace qv::test
