// A raster bitmap of 24 or 32 bits per pixel, stored as a bottom-up device-independent bitmap:
// row 0 in memory is the bottom row, rows padded to a multiple of four bytes, bytes blue,
// green, red (and a fourth byte, kept 0, at 32 bits). A 32-bit bitmap's memory therefore is
// exactly a pixel buffer of the engine (word (H - 1 - y) * W + x, 0x00RRGGBB).
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "Types.h"

namespace qv {

class TCanvas;

enum TPixelFormat : uint8_t { pf24bit = 24, pf32bit = 32 };

class TBitmap {
 public:
  // Largest width or height the raster creates, and the largest pixel memory (bytes).
  static constexpr int32_t MaxDimension = 32768;
  static constexpr int64_t MaxBytes = int64_t(1) << 31;

  explicit TBitmap(TPixelFormat pf = pf24bit);
  TBitmap(const TBitmap& other);
  TBitmap& operator=(const TBitmap& other);
  ~TBitmap();

  int32_t Width() const { return FWidth; }
  int32_t Height() const { return FHeight; }
  bool Empty() const { return FWidth == 0 || FHeight == 0; }
  TPixelFormat PixelFormat() const { return FPixelFormat; }

  // Changing the format or the size keeps no promised content; new memory is black (zero).
  // A negative size, a side above MaxDimension or memory above MaxBytes (or refused by the
  // system) raises EMorphError("Unzulässige Bildgröße") and leaves the bitmap unchanged.
  void SetPixelFormat(TPixelFormat pf);
  void SetSize(int32_t w, int32_t h);
  void SetWidth(int32_t w) { SetSize(w, FHeight); }
  void SetHeight(int32_t h) { SetSize(FWidth, h); }

  int32_t RowBytes() const { return RowBytesFor(FWidth, FPixelFormat); }
  static int32_t RowBytesFor(int32_t w, TPixelFormat pf) { return ((w * int32_t(pf) + 31) / 32) * 4; }
  size_t ImageSize() const { return size_t(RowBytes()) * size_t(FHeight); }

  // The pixel memory, bottom row first; nullptr for an empty bitmap.
  uint8_t* Bits() { return FBits.get(); }
  const uint8_t* Bits() const { return FBits.get(); }
  // Row y counted from the top.
  uint8_t* ScanLine(int32_t y) { return FBits.get() + size_t(FHeight - 1 - y) * RowBytes(); }
  const uint8_t* ScanLine(int32_t y) const {
    return FBits.get() + size_t(FHeight - 1 - y) * RowBytes();
  }
  // The memory of a 32-bit bitmap as a pixel buffer (nullptr for 24 bits).
  uint32_t* Pixels32() {
    return FPixelFormat == pf32bit ? reinterpret_cast<uint32_t*>(FBits.get()) : nullptr;
  }

  // Colour of one pixel as 0x00BBGGRR; outside the bitmap: 0.
  TColor GetPixel(int32_t x, int32_t y) const;
  // Sets one pixel; outside the bitmap nothing happens.
  void SetPixel(int32_t x, int32_t y, TColor c);

  // The whole bitmap as a 32-bit pixel buffer (W * H words, bottom-up, 0x00RRGGBB, fourth
  // byte 0), and back.
  void ReadPixels32(uint32_t* dst) const;
  void WritePixels32(const uint32_t* src);
  // The whole bitmap as 24-bit rows padded to four bytes, bottom-up (RowBytesFor(W, pf24bit)
  // * H bytes).
  void ReadPixels24(uint8_t* dst) const;

  TCanvas& Canvas();

 private:
  void Allocate(int32_t w, int32_t h, TPixelFormat pf);

  struct TFree {
    void operator()(uint8_t* p) const;
  };
  int32_t FWidth = 0;
  int32_t FHeight = 0;
  TPixelFormat FPixelFormat;
  std::unique_ptr<uint8_t[], TFree> FBits;
  std::unique_ptr<TCanvas> FCanvas;
};

}  // namespace qv
