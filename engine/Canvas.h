// The drawing interface every view and bitmap offers: a brush, a pen and a font, and the few
// drawing operations the system needs. The engine draws through it into bitmaps
// (TBitmapCanvas); the editor hands the same calls to a Qt painter.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "Types.h"

namespace qv {

class TBitmap;

enum TBrushStyle : uint8_t {
  bsSolid,
  bsClear,
  // forward-diagonal hatch (lines from bottom-left to top-right), drawn transparently
  bsBDiagonal
};

class TCanvas {
 public:
  virtual ~TCanvas() = default;

  TColor BrushColor() const { return FBrushColor; }
  // Setting a brush colour while the style is clear turns the style back to solid.
  void SetBrushColor(TColor c) {
    FBrushColor = c;
    if (FBrushStyle == bsClear) FBrushStyle = bsSolid;
  }
  TBrushStyle BrushStyle() const { return FBrushStyle; }
  void SetBrushStyle(TBrushStyle s) { FBrushStyle = s; }
  TColor PenColor() const { return FPenColor; }
  void SetPenColor(TColor c) { FPenColor = c; }
  int32_t FontHeight() const { return FFontHeight; }
  void SetFontHeight(int32_t px) { FFontHeight = px; }

  // Pixels x1 .. x2 - 1, y1 .. y2 - 1 take the brush colour (clipped).
  virtual void FillRect(const TRect& r) = 0;
  // Closed polygon: interior filled with the brush, every pixel of every edge (end points
  // included) drawn with the pen. Later polygons overwrite earlier ones.
  virtual void Polygon(const TPoint* points, size_t count) = 0;
  // Outline with the pen and fill with the brush; the right and bottom lines are left out.
  virtual void Rectangle(int32_t x1, int32_t y1, int32_t x2, int32_t y2) = 0;
  // Line with the pen from (x1, y1) to (x2, y2), the end pixel left out.
  virtual void Line(int32_t x1, int32_t y1, int32_t x2, int32_t y2) = 0;
  // Unscaled copy of src with its top-left corner at (x, y), clipped. With a mask (one byte per
  // pixel of src, rows from the top), only pixels whose mask byte is not 0 are drawn.
  virtual void Draw(int32_t x, int32_t y, const TBitmap& src, const uint8_t* mask = nullptr) = 0;
  // Nearest-neighbour stretch of src into dest: destination column x (0 .. Dw - 1) samples
  // source column (x * Sw) div Dw, row y samples (y * Sh) div Dh, rows from the top.
  virtual void StretchDraw(const TRect& dest, const TBitmap& src) = 0;
  // 1:1 copy of the area source of src into dest (same size), clipped on both sides.
  virtual void CopyRect(const TRect& dest, const TBitmap& src, const TRect& source) = 0;
  // Text (UTF-8) in the font colour (black) with its top-left corner at (x, y), FontHeight()
  // pixels high, drawn transparently.
  virtual void TextOut(int32_t x, int32_t y, const std::string& text) = 0;

 protected:
  TColor FBrushColor = clWhite;
  TBrushStyle FBrushStyle = bsSolid;
  TColor FPenColor = clBlack;
  int32_t FFontHeight = 12;
};

}  // namespace qv
