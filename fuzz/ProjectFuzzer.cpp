// Loading a project file: the INI text, the point and triangle lists, the stored picture
// names resolved against the project's folder. The folder holds small pictures that the
// names of the seed projects refer to. A loaded project saved and loaded again has the same
// size, points and triangles.
#include <cstdio>
#include <cstdlib>

#include "Bitmap.h"
#include "BmpFile.h"
#include "FuzzSupport.h"
#include "Ini.h"
#include "JpegFile.h"
#include "Morph.h"
#include "MorphError.h"

namespace {

// Larger frames cost only memory and time here; the limits of the frame size have tests of
// their own.
constexpr int32_t kLargestFuzzedSide = 512;

[[noreturn]] void Broken(const char* what) {
  std::fprintf(stderr, "project broken: %s\n", what);
  std::abort();
}

void WritePictures() {
  static bool written = false;
  if (written) return;
  written = true;
  qv::TBitmap picture(qv::pf24bit);
  picture.SetSize(40, 30);
  for (int32_t y = 0; y < 30; ++y)
    for (int32_t x = 0; x < 40; ++x) picture.SetPixel(x, y, qv::TColor(x * 6 + (y * 8 << 8)));
  const std::string& dir = qv::fuzz::ScratchFolder();
  qv::SaveBmpFile(dir + "anna.bmp", picture);
  qv::SaveJpegFile(dir + "bert.jpg", picture, 80);
  qv::SaveBmpFile(dir + "hinten.bmp", picture);
}

bool SmallEnough(const std::string& path) {
  qv::TIni ini(path, qv::te_UTF8, qv::TIni::IgnoreOnErrorEncoding);
  const int64_t w = ini.ReadInteger("Project", "TargetW", 1);
  const int64_t h = ini.ReadInteger("Project", "TargetH", 1);
  const int64_t bw = ini.ReadInteger("Opt", "BGWidth", w);
  const int64_t bh = ini.ReadInteger("Opt", "BGHeight", h);
  return w <= kLargestFuzzedSide && h <= kLargestFuzzedSide && bw <= kLargestFuzzedSide &&
         bh <= kLargestFuzzedSide;
}

void CheckSameContent(const qv::TMorphing& a, const qv::TMorphing& b) {
  if (a.Width() != b.Width() || a.Height() != b.Height()) Broken("size changed by saving");
  if (a.Triangles() != b.Triangles()) Broken("triangles changed by saving");
  if (a.Source1().Angles() != b.Source1().Angles() || a.Source2().Angles() != b.Source2().Angles())
    Broken("points changed by saving");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  qv::fuzz::UseSilentDialogs();
  WritePictures();
  const std::string path = qv::fuzz::WriteScratchFile("fuzz.qvp", data, size);
  if (!SmallEnough(path)) return 0;
  qv::TMorphing doc;
  try {
    doc.LoadFromFile(path);
  } catch (const qv::EMorphError&) {
    return 0;
  }
  const int32_t points = doc.Source1().AngleCount();
  if (points != doc.Source2().AngleCount()) Broken("sources with different point counts");
  for (const qv::TTrianglePerIndex& t : doc.Triangles())
    for (int32_t i : t)
      if (i < 0 || i >= points) Broken("triangle names a point that does not exist");
  if (doc.Width() <= 0) return 0;  // the size was refused: nothing worth saving
  const std::string copy = qv::fuzz::ScratchFolder() + "copy.qvp";
  std::remove(copy.c_str());
  doc.SaveToFile(copy);
  qv::TMorphing again;
  again.LoadFromFile(copy);
  CheckSameContent(doc, again);
  return 0;
}
