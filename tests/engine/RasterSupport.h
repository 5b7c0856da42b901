// Helpers of the raster tests: bitmaps of a known content and a coverage counter for the
// scanners.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "Bitmap.h"
#include "Canvas.h"
#include "RasterSpan.h"

namespace qv::test {

inline TBitmap FilledBitmap(int32_t w, int32_t h, TColor color, TPixelFormat pf = pf32bit) {
  TBitmap b(pf);
  b.SetSize(w, h);
  b.Canvas().SetBrushColor(color);
  b.Canvas().FillRect(Rect(0, 0, w, h));
  return b;
}

// Pixel (x, y) has the colour RGB(x, y, tag) (x, y < 256).
inline TBitmap CoordinateBitmap(int32_t w, int32_t h, TPixelFormat pf, uint8_t tag = 0x5A) {
  TBitmap b(pf);
  b.SetSize(w, h);
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x) b.SetPixel(x, y, RGB(uint8_t(x), uint8_t(y), tag));
  return b;
}

// Counts how often every pixel of a w x h target is handed over, and checks the clipping.
class TCoverage : public TSpanSink {
 public:
  TCoverage(int32_t w, int32_t h) : FWidth(w), FHeight(h), FCount(size_t(w) * h, 0) {}
  void Span(int32_t y, int32_t x1, int32_t x2) override {
    ASSERT_TRUE(y >= 0 && y < FHeight && x1 >= 0 && x1 < x2 && x2 <= FWidth)
        << "span y " << y << " x " << x1 << ".." << x2;
    for (int32_t x = x1; x < x2; ++x) ++FCount[size_t(y) * FWidth + x];
  }
  int At(int32_t x, int32_t y) const { return FCount[size_t(y) * FWidth + x]; }
  int32_t Width() const { return FWidth; }
  int32_t Height() const { return FHeight; }
  int Total() const {
    int sum = 0;
    for (int c : FCount) sum += c;
    return sum;
  }

 private:
  int32_t FWidth, FHeight;
  std::vector<int> FCount;
};

}  // namespace qv::test
