// Frame synthesis of TMorphing: interpolated points, the triangle index map, and the frame (or
// one field of it) computed pixel by pixel from both sources.
#include <algorithm>
#include <cstring>

#include "Canvas.h"
#include "Morph.h"
#include "MorphError.h"
#include "FastSynthesis.h"
#include "IndexMap.h"
#include "Synthesis.h"

namespace qv {

void TMorphing::GetAnglePoints(TTriangle& DestTriangle, const TTrianglePerIndex& srcTriangle,
                               const TAngleArray& AnglePoints) {
  for (int j = 0; j < 3; ++j) {
    const int32_t idx = srcTriangle[j];
    // A triangle naming no point (never in a consistent document) collapses onto the origin.
    DestTriangle[j] = idx >= 0 && size_t(idx) < AnglePoints.size() ? AnglePoints[idx] : TPoint{};
  }
}

void TMorphing::GetTargetBitmapInfo(TBitmapInfoHeader& bi, uint16_t aBitCount) const {
  bi = TBitmapInfoHeader{};
  bi.biWidth = Width();
  bi.biHeight = Height();
  bi.biBitCount = aBitCount;
}

void TMorphing::FreePixBuffers() {
  FSource1->FreeSourcePix();
  FSource2->FreeSourcePix();
  FTargetPix = nullptr;
  FTriangleIndexes = nullptr;
}

void TMorphing::MakeFramesInit() {
  const size_t n = FTriangles.size();
  FTriangleTarget.assign(n, TTriangle{});
  FTriangleSource1.resize(n);
  FTriangleSource2.resize(n);
  for (size_t i = 0; i < n; ++i) {
    GetAnglePoints(FTriangleSource1[i], FTriangles[i], FSource1->FAngles);
    GetAnglePoints(FTriangleSource2[i], FTriangles[i], FSource2->FAngles);
  }
}

void TMorphing::UpdateTargetAngles(int32_t nom, int32_t denom) {
  if (denom == 0) throw EMorphError("Division durch Null");
  const TAngleArray& s1 = FSource1->FAngles;
  const TAngleArray& s2 = FSource2->FAngles;
  FTargetAngles.resize(s1.size());
  const int32_t half = denom / 2;
  // Signed 32-bit arithmetic that wraps like the machine's; the division truncates.
  auto lerp = [&](int32_t a, int32_t b) {
    const uint32_t sum = uint32_t(denom - nom) * uint32_t(a) + uint32_t(nom) * uint32_t(b) +
                         uint32_t(half);
    const int32_t s = int32_t(sum);
    return denom == -1 ? int32_t(0u - uint32_t(s)) : s / denom;
  };
  for (size_t i = 0; i < s1.size(); ++i) {
    const TPoint b = i < s2.size() ? s2[i] : s1[i];
    FTargetAngles[i] = TPoint{lerp(s1[i].X, b.X), lerp(s1[i].Y, b.Y)};
  }
}

void TMorphing::RasterizeTriangles(TBitmap& raster, const TAngleArray& angles, int32_t w,
                                   int32_t h) {
  raster.SetPixelFormat(pf32bit);
  raster.SetSize(w, h);
  TCanvas& c = raster.Canvas();
  c.SetBrushStyle(bsSolid);
  c.SetBrushColor(0);
  c.FillRect(Rect(0, 0, w, h));
  for (size_t i = 0; i < FTriangles.size(); ++i) {
    const TColor colour = TColor(i + 1);
    c.SetBrushColor(colour);
    c.SetPenColor(colour);
    TTriangle t;
    GetAnglePoints(t, FTriangles[i], angles);
    c.Polygon(t.data(), 3);
  }
}

void TMorphing::UpdateTargetPict() {
  const int32_t W = Width(), H = Height();
  DrawIndexMap(*FTargetRectIdxBmp, FTriangles, FTargetAngles, W, H);
  FTriangleIndexes = FTargetRectIdxBmp->Pixels32();
}

void TMorphing::CheckFrameRequest(int32_t denom) const {
  if (denom < 1) throw EMorphError("Division durch Null");
  if (!FTargetPix || !FSource1->FSourcePix || !FSource2->FSourcePix || !FTriangleIndexes ||
      FTargetRectIdxBmp->Width() != Width() || FTargetRectIdxBmp->Height() != Height() ||
      FSource1->FResultWidth != Width() || FSource1->FResultHeight != Height() ||
      FSource2->FResultWidth != Width() || FSource2->FResultHeight != Height())
    throw EMorphError("Das Zwischenbild kann nicht berechnet werden: Bilder fehlen.");
}

void TMorphing::DrawBackgroundForFrame() {
  if (!FWithBG) {
    FBackGround->FillBackground(clBlack);
    return;
  }
  FBackGround->AsureBGBMP();
  switch (FBackGround->BgType()) {
    case bg_Color:
      FBackGround->FillBackground(FBackGround->BGColor());
      break;
    case bg_Pict:
      DrawPictureBackground();
      break;
    case bg_Video:
      break;
  }
}

void TMorphing::Make1Frame(int32_t nomi, int32_t denom, TOddEvenBoth OddEvenBoth, bool BgDraw) {
  CheckFrameRequest(denom);
  const int32_t W = Width(), H = Height();
  if (BgDraw) DrawBackgroundForFrame();
  // FTargetPix is the target bitmap's own memory: it holds the bitmap's content already, and
  // what is computed into it is the bitmap's content afterwards.

  const size_t n = std::min({FTriangles.size(), FTriangleTarget.size(), FTriangleSource1.size(),
                             FTriangleSource2.size()});
  for (size_t i = 0; i < n; ++i) GetAnglePoints(FTriangleTarget[i], FTriangles[i], FTargetAngles);

  TSynthesisFrame f;
  f.Index = FTriangleIndexes;
  f.Src1 = FSource1->FSourcePix.get();
  f.Src2 = FSource2->FSourcePix.get();
  f.Target = FTargetPix;
  f.W = W;
  f.H = H;
  f.TriTarget = FTriangleTarget.data();
  f.Tri1 = FTriangleSource1.data();
  f.Tri2 = FTriangleSource2.data();
  f.Count = n;
  f.Weight = uint8_t(MulDiv(nomi, 255, denom));
  SynthesizeFrame(f, OddEvenBoth);
}

void TMorphing::BlendFrame(int32_t p, int32_t m) {
  if (m == 0) throw EMorphError("Division durch Null");
  if (!FTargetPix || !FSource1->FSourcePix || !FSource2->FSourcePix)
    throw EMorphError("Das Zwischenbild kann nicht berechnet werden: Bilder fehlen.");
  const uint8_t w = uint8_t(MulDiv(p, 255, m));
  BlendPixels(FSource1->FSourcePix.get(), FSource2->FSourcePix.get(), FTargetPix, w, Height(),
              Width());
}

}  // namespace qv
