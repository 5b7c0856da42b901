#include "BitmapCanvas.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "Bitmap.h"
#include "PixelCopy.h"
#include "PolygonScan.h"
#include "RasterLine.h"
#include "RasterSpan.h"
#include "TextRaster.h"

namespace qv {

namespace {

// Paints runs in one colour, either fully or with the forward-diagonal hatch: an 8 x 8
// pattern tied to the bitmap's top-left pixel whose lines run from bottom-left to top-right,
// pixel (x, y) belonging to a line when (x + y) mod 8 = 7. Between the lines nothing changes.
class TSpanPainter : public TSpanSink {
 public:
  TSpanPainter(TBitmap& bitmap, TColor color, bool hatched)
      : FBitmap(bitmap), FPixel(SwapRedBlue(color) & 0x00FFFFFFu), FHatched(hatched) {}

  void Span(int32_t y, int32_t x1, int32_t x2) override {
    int32_t step = 1;
    if (FHatched) {
      x1 += 7 - (x1 + y) % 8;
      step = 8;
    }
    uint8_t* row = FBitmap.ScanLine(y);
    if (FBitmap.PixelFormat() == pf32bit) {
      uint32_t* p = reinterpret_cast<uint32_t*>(row);
      if (step == 1)
        FillPixels32Wide(p + x1, size_t(x2 - x1), FPixel);
      else
        for (int32_t x = x1; x < x2; x += step) p[x] = FPixel;
      return;
    }
    for (int32_t x = x1; x < x2; x += step) {
      uint8_t* p = row + size_t(x) * 3;
      p[0] = uint8_t(FPixel);
      p[1] = uint8_t(FPixel >> 8);
      p[2] = uint8_t(FPixel >> 16);
    }
  }

 private:
  TBitmap& FBitmap;
  uint32_t FPixel;  // 0x00RRGGBB, the memory order of a 32-bit pixel
  bool FHatched;
};

TPixelArea AreaOf(const TRect& r) {
  return {r.Left, r.Top, r.Right, r.Bottom};
}

TPixelArea WholeOf(const TBitmap& b) {
  return {0, 0, b.Width(), b.Height()};
}

}  // namespace

void TBitmapCanvas::FillRect(const TRect& r) {
  if (FBitmap.Empty() || FBrushStyle == bsClear) return;
  TSpanPainter brush(FBitmap, FBrushColor, FBrushStyle == bsBDiagonal);
  ScanRect(std::min(r.Left, r.Right), std::min(r.Top, r.Bottom), std::max(r.Left, r.Right),
           std::max(r.Top, r.Bottom), FBitmap.Width(), FBitmap.Height(), brush);
}

void TBitmapCanvas::Polygon(const TPoint* points, size_t count) {
  if (FBitmap.Empty() || !points || count == 0) return;
  const int32_t w = FBitmap.Width(), h = FBitmap.Height();
  if (FBrushStyle != bsClear) {
    TSpanPainter brush(FBitmap, FBrushColor, FBrushStyle == bsBDiagonal);
    ScanPolygon(points, count, w, h, brush);
  }
  TSpanPainter pen(FBitmap, FPenColor, false);
  for (size_t i = 0; i < count; ++i)
    TraceLine(points[i], points[i + 1 < count ? i + 1 : 0], false, w, h, pen);
}

void TBitmapCanvas::Rectangle(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
  if (FBitmap.Empty()) return;
  const int64_t left = std::min(x1, x2), right = std::max(x1, x2);
  const int64_t top = std::min(y1, y2), bottom = std::max(y1, y2);
  if (left == right || top == bottom) return;
  const int32_t w = FBitmap.Width(), h = FBitmap.Height();
  if (FBrushStyle != bsClear) {
    TSpanPainter brush(FBitmap, FBrushColor, FBrushStyle == bsBDiagonal);
    ScanRect(left + 1, top + 1, right - 1, bottom - 1, w, h, brush);
  }
  TSpanPainter pen(FBitmap, FPenColor, false);
  ScanRect(left, top, right, top + 1, w, h, pen);
  ScanRect(left, bottom - 1, right, bottom, w, h, pen);
  ScanRect(left, top + 1, left + 1, bottom - 1, w, h, pen);
  ScanRect(right - 1, top + 1, right, bottom - 1, w, h, pen);
}

void TBitmapCanvas::Line(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
  if (FBitmap.Empty()) return;
  TSpanPainter pen(FBitmap, FPenColor, false);
  TraceLine(TPoint{x1, y1}, TPoint{x2, y2}, true, FBitmap.Width(), FBitmap.Height(), pen);
}

void TBitmapCanvas::Draw(int32_t x, int32_t y, const TBitmap& src, const uint8_t* mask) {
  const TPixelArea dest{x, y, int64_t(x) + src.Width(), int64_t(y) + src.Height()};
  CopyPixels(FBitmap, dest, src, WholeOf(src), mask);
}

void TBitmapCanvas::StretchDraw(const TRect& dest, const TBitmap& src) {
  CopyPixels(FBitmap, AreaOf(dest), src, WholeOf(src));
}

void TBitmapCanvas::CopyRect(const TRect& dest, const TBitmap& src, const TRect& source) {
  CopyPixels(FBitmap, AreaOf(dest), src, AreaOf(source));
}

void TBitmapCanvas::TextOut(int32_t x, int32_t y, const std::string& text) {
  if (FBitmap.Empty()) return;
  TSpanPainter ink(FBitmap, clBlack, false);
  TTextRaster::Default().Render(x, y, FFontHeight, text, FBitmap.Width(), FBitmap.Height(), ink);
}

}  // namespace qv
