// The canvas of a TBitmap: the drawing operations of TCanvas carried out on the bitmap's own
// pixel memory, exactly and reproducibly (no anti-aliasing, no dithering).
#pragma once

#include "Canvas.h"

namespace qv {

class TBitmap;

class TBitmapCanvas : public TCanvas {
 public:
  explicit TBitmapCanvas(TBitmap& bitmap) : FBitmap(bitmap) {}

  void FillRect(const TRect& r) override;
  void Polygon(const TPoint* points, size_t count) override;
  void Rectangle(int32_t x1, int32_t y1, int32_t x2, int32_t y2) override;
  void Line(int32_t x1, int32_t y1, int32_t x2, int32_t y2) override;
  void Draw(int32_t x, int32_t y, const TBitmap& src, const uint8_t* mask = nullptr) override;
  void StretchDraw(const TRect& dest, const TBitmap& src) override;
  void CopyRect(const TRect& dest, const TBitmap& src, const TRect& source) override;
  void TextOut(int32_t x, int32_t y, const std::string& text) override;

 private:
  TBitmap& FBitmap;
};

}  // namespace qv
