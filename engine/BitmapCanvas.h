// The canvas of a TBitmap: the drawing operations of TCanvas carried out on the bitmap's own
// pixel memory, exactly and reproducibly (no anti-aliasing, no dithering). Every operation
// clips to the bitmap, accepts any 32-bit coordinates and does nothing on an empty bitmap.
//
// - Brush: solid; clear (FillRect and the fill of Polygon and Rectangle paint nothing); or the
//   forward-diagonal hatch, an 8 x 8 pattern tied to the bitmap's top-left pixel that paints
//   pixel (x, y) when (x + y) mod 8 = 7 and leaves the pixels between its lines alone.
// - Lines and outlines follow RasterLine.h: the pixels of a segment do not depend on the
//   direction it is drawn in, so an edge shared by two polygons has the same pixels in both.
// - Polygon fills the interior by the sample rule of PolygonScan.h (pixel (x, y) when the
//   point (x, y) is inside, points on an edge going to the polygon to their right and below,
//   alternate rule), then draws every edge with both end points. Corners on one line give just
//   the outline. One point draws one pixel, two points their segment.
// - Rectangle with swapped corners is normalised; an empty one draws nothing.
// - FillRect normalises swapped corners.
// - StretchDraw and CopyRect draw nothing for an empty or inverted rectangle; CopyRect with
//   areas of different sizes stretches by the same nearest rule as StretchDraw (PixelCopy.h).
// - TextOut draws black ink (TextRaster.h); FontHeight is the height of the line.
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
