// Frame synthesis of TMorphing: interpolated points, the triangle index map, and the frame (or
// one field of it) computed pixel by pixel from both sources.
#include <algorithm>
#include <cstring>

#include "Canvas.h"
#include "Morph.h"
#include "MorphError.h"
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
  FTargetPix.reset();
  FTriangleIndexes.reset();
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
  RasterizeTriangles(*FTargetRectIdxBmp, FTargetAngles, W, H);
  FTriangleIndexes = AllocPixBuffer(size_t(W) * size_t(H));
  FTargetRectIdxBmp->ReadPixels32(FTriangleIndexes.get());
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
  FTargetBmp->ReadPixels32(FTargetPix.get());

  const size_t n = std::min({FTriangles.size(), FTriangleTarget.size(), FTriangleSource1.size(),
                             FTriangleSource2.size()});
  for (size_t i = 0; i < n; ++i) GetAnglePoints(FTriangleTarget[i], FTriangles[i], FTargetAngles);

  const uint8_t w = uint8_t(MulDiv(nomi, 255, denom));
  const uint32_t* pix1 = FSource1->FSourcePix.get();
  const uint32_t* pix2 = FSource2->FSourcePix.get();
  const uint32_t* idx = FTriangleIndexes.get();
  uint32_t* target = FTargetPix.get();
  const int32_t step = OddEvenBoth == oe_both ? 1 : 2;
  for (int32_t y = OddEvenBoth == oe_odd ? 1 : 0; y < H; y += step) {
    const size_t row = size_t(H - 1 - y) * size_t(W);
    for (int32_t x = 0; x < W; ++x) {
      const uint32_t v = SwapRedBlue(idx[row + x]) & 0xFFFFFF;
      if (v == 0 || v > n) continue;
      const size_t k = v - 1;
      int32_t A, B;
      TriangleCoords(FTriangleTarget[k], TPoint{x, y}, A, B);
      TPoint p1 = TrianglePoint(FTriangleSource1[k], A, B);
      TPoint p2 = TrianglePoint(FTriangleSource2[k], A, B);
      p1.X = std::clamp(p1.X, 0, W - 1);
      p1.Y = std::clamp(p1.Y, 0, H - 1);
      p2.X = std::clamp(p2.X, 0, W - 1);
      p2.Y = std::clamp(p2.Y, 0, H - 1);
      const uint32_t c1 = pix1[size_t(H - 1 - p1.Y) * W + p1.X];
      const uint32_t c2 = pix2[size_t(H - 1 - p2.Y) * W + p2.X];
      target[row + x] = BlendPixel(c1, c2, w);
    }
  }
  FTargetBmp->WritePixels32(target);
}

void TMorphing::BlendFrame(int32_t p, int32_t m) {
  if (m == 0) throw EMorphError("Division durch Null");
  if (!FTargetPix || !FSource1->FSourcePix || !FSource2->FSourcePix)
    throw EMorphError("Das Zwischenbild kann nicht berechnet werden: Bilder fehlen.");
  const uint8_t w = uint8_t(MulDiv(p, 255, m));
  BlendPixels(FSource1->FSourcePix.get(), FSource2->FSourcePix.get(), FTargetPix.get(), w,
              Height(), Width());
  FTargetBmp->WritePixels32(FTargetPix.get());
}

}  // namespace qv
