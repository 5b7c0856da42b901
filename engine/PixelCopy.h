// Moving pixels between bitmaps: the area source of src, scaled by nearest neighbour to the
// area dest, is copied into dst. Destination column dest.Left + x (0 <= x < Dw) takes source
// column source.Left + (x * Sw) div Dw, row dest.Top + y takes source row
// source.Top + (y * Sh) div Dh (rows counted from the top, exact integer arithmetic), so whole
// rows and columns are repeated or dropped and equal sizes copy 1:1. Destination pixels
// outside dst, or whose source pixel lies outside src, are left alone. Pixels are converted
// exactly between 24 and 32 bits (the fourth byte written as 0).
#pragma once

#include <cstdint>

namespace qv {

class TBitmap;

// An area of pixels Left .. Right - 1, Top .. Bottom - 1, wide enough for any sum of 32-bit
// coordinates.
struct TPixelArea {
  int64_t Left = 0, Top = 0, Right = 0, Bottom = 0;
  int64_t Width() const { return Right - Left; }
  int64_t Height() const { return Bottom - Top; }
};

// With a mask (one byte per pixel of src, rows from the top, no padding), only source pixels
// whose mask byte is not 0 are copied. Nothing happens for an empty bitmap or area. dst and
// src may be the same bitmap.
void CopyPixels(TBitmap& dst, const TPixelArea& dest, const TBitmap& src, const TPixelArea& source,
                const uint8_t* mask = nullptr);

}  // namespace qv
