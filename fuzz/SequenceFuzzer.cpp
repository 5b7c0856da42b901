// Loading a sequence file: the INI text, the multi-morph's own settings, the member sections
// and their project files found relative to the sequence's folder (the scratch folder holds
// two small projects the seeds name). The loaded sequence builds its sub-sequences, and saved
// and loaded again it has the same members.
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "Bitmap.h"
#include "BmpFile.h"
#include "Canvas.h"
#include "FuzzSupport.h"
#include "Ini.h"
#include "Morph.h"
#include "MorphError.h"
#include "MultiMorph.h"

namespace {

// Every member loads a project with its pictures, and the background is allocated: more of
// either costs only time here; the limits have tests of their own.
constexpr size_t kMostFuzzedSections = 12;
constexpr int64_t kLargestFuzzedSide = 512;

[[noreturn]] void Broken(const char* what) {
  std::fprintf(stderr, "sequence broken: %s\n", what);
  std::abort();
}

void WriteProjects() {
  static bool written = false;
  if (written) return;
  written = true;
  const std::string& dir = qv::fuzz::ScratchFolder();
  qv::TBitmap picture(qv::pf24bit);
  picture.SetSize(32, 24);
  picture.Canvas().FillRect(qv::Rect(0, 0, 32, 24));
  qv::SaveBmpFile(dir + "bild.bmp", picture);
  std::filesystem::create_directories(dir + "Teil");
  for (const char* name : {"eins.qvp", "Teil/zwei.qvp"}) {
    qv::TMorphing m;
    m.NewProject("", 32, 24);
    m.Source1().SetSourceImageName(dir + "bild.bmp");
    m.Source2().SetSourceImageName(dir + "bild.bmp");
    m.SaveToFile(dir + name);
  }
}

bool SmallEnough(const std::string& path) {
  qv::TIni ini(path, qv::te_UTF8, qv::TIni::IgnoreOnErrorEncoding);
  const int64_t w = ini.ReadInteger("$Project", "BGWidth", 1);
  const int64_t h = ini.ReadInteger("$Project", "BGHeight", 1);
  return ini.SectionList().Count() <= kMostFuzzedSections && w <= kLargestFuzzedSide &&
         h <= kLargestFuzzedSide;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  qv::fuzz::UseSilentDialogs();
  WriteProjects();
  const std::string path = qv::fuzz::WriteScratchFile("fuzz.msq", data, size);
  if (!SmallEnough(path)) return 0;
  qv::TMultiMorph doc;
  try {
    doc.LoadFromFile(path);
    doc.InitializeSequences();
  } catch (const qv::EMorphError&) {
    return 0;
  }
  if (doc.FrameCount() < 0) Broken("negative frame count");
  if (doc.FileName().empty()) return 0;  // refused: nothing worth saving
  const std::string copy = qv::fuzz::ScratchFolder() + "copy.msq";
  std::remove(copy.c_str());
  doc.SaveToFile(copy);
  qv::TMultiMorph again;
  again.LoadFromFile(copy);
  int32_t named = 0;
  for (int32_t i = 0; i < doc.Count(); ++i)
    if (!doc.Morphs(i).FileName().empty()) ++named;
  if (again.Count() != named) Broken("members changed by saving");
  for (int32_t i = 0, j = 0; i < doc.Count(); ++i) {
    if (doc.Morphs(i).FileName().empty()) continue;
    if (again.Morphs(j++).FileName() != doc.Morphs(i).FileName()) Broken("member moved by saving");
  }
  return 0;
}
