#include "MorphScene.h"

#include "Bitmap.h"
#include "BmpFile.h"

namespace qv::test {

namespace {

void SavePicture(const std::string& file, int W, int H, bool second) {
  TBitmap b(pf24bit);
  b.SetSize(W, H);
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) {
      const uint8_t r = uint8_t(second ? 255 - x * 5 : x * 5);
      const uint8_t g = uint8_t(second ? y * 6 : 200 - y * 4);
      const uint8_t bl = uint8_t(second ? (x * y) % 251 : 40 + (x ^ y) * 3);
      b.SetPixel(x, y, RGB(r, g, bl));
    }
  SaveBmpFile(file, b);
}

}  // namespace

void BuildMorphScene(TMorphing& m, const TTempDir& dir, int W, int H) {
  const std::string start = dir.File("start.bmp"), end = dir.File("end.bmp");
  SavePicture(start, W, H, false);
  SavePicture(end, W, H, true);
  m.NewProject(dir.File("scene.qvp"), W, H);
  m.Source1().SetSourceImageName(start);
  m.Source2().SetSourceImageName(end);
  m.SetMorphMode(mm_Points);
  m.AddPoint(m.Source1(), {W / 2, H / 2});
  m.Source2().setPointData(4, {W * 3 / 4, H / 4}, false);
  for (TTrianglePerIndex t : {TTrianglePerIndex{0, 1, 4}, TTrianglePerIndex{1, 2, 4},
                              TTrianglePerIndex{2, 3, 4}, TTrianglePerIndex{3, 0, 4}})
    m.AppendTriangle(t);
  m.SetStillImagesAtStart(0);
  m.SetStillImagesAtEnd(0);
  m.SetShowCompressDialog(false);
  m.SetFramesPerSecond(25);
}

std::vector<uint8_t> TopDownBgr(const TBitmap& bitmap) {
  const int W = bitmap.Width(), H = bitmap.Height();
  std::vector<uint8_t> out;
  out.reserve(size_t(W) * H * 3);
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) {
      const TColor c = bitmap.GetPixel(x, y);
      out.insert(out.end(), {GetBValue(c), GetGValue(c), GetRValue(c)});
    }
  return out;
}

std::vector<uint8_t> EngineFrame(TMorphing& m, int32_t nomi, int32_t denom) {
  m.MakeFramesInit();
  m.UpdateTargetAngles(nomi, denom);
  m.UpdateTargetPict();
  m.Make1Frame(nomi, denom, oe_both, true);
  return TopDownBgr(m.TargetBmp());
}

}  // namespace qv::test
