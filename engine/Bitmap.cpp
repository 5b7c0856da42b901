#include "Bitmap.h"

#include <cstdlib>
#include <cstring>
#include <new>

#include "BitmapCanvas.h"
#include "MorphError.h"
#include "PixBuffer.h"

namespace qv {

void TBitmap::TFree::operator()(uint8_t* p) const { std::free(p); }

TBitmap::TBitmap(TPixelFormat pf) : FPixelFormat(pf) {}

TBitmap::TBitmap(const TBitmap& other) : FPixelFormat(other.FPixelFormat) { *this = other; }

TBitmap& TBitmap::operator=(const TBitmap& other) {
  if (this == &other) return *this;
  Allocate(other.FWidth, other.FHeight, other.FPixelFormat);
  if (other.FBits) std::memcpy(FBits.get(), other.FBits.get(), other.ImageSize());
  return *this;
}

TBitmap::~TBitmap() = default;

void TBitmap::Allocate(int32_t w, int32_t h, TPixelFormat pf) {
  if (w < 0 || h < 0 || w > MaxDimension || h > MaxDimension)
    throw EMorphError("Unzulässige Bildgröße");
  if (w == FWidth && h == FHeight && pf == FPixelFormat) return;
  int64_t bytes = int64_t(RowBytesFor(w, pf)) * h;
  if (bytes > MaxBytes) throw EMorphError("Unzulässige Bildgröße");
  std::unique_ptr<uint8_t[], TFree> bits;
  if (bytes > 0) {
    bits.reset(static_cast<uint8_t*>(AllocPixelMemory(size_t(bytes))));
    if (!bits) throw EMorphError("Unzulässige Bildgröße");
  }
  FBits = std::move(bits);
  FWidth = w;
  FHeight = h;
  FPixelFormat = pf;
}

void TBitmap::SetPixelFormat(TPixelFormat pf) { Allocate(FWidth, FHeight, pf); }

void TBitmap::SetSize(int32_t w, int32_t h) { Allocate(w, h, FPixelFormat); }

TColor TBitmap::GetPixel(int32_t x, int32_t y) const {
  if (x < 0 || y < 0 || x >= FWidth || y >= FHeight) return 0;
  const uint8_t* p = ScanLine(y) + size_t(x) * (FPixelFormat / 8);
  return RGB(p[2], p[1], p[0]);
}

void TBitmap::SetPixel(int32_t x, int32_t y, TColor c) {
  if (x < 0 || y < 0 || x >= FWidth || y >= FHeight) return;
  uint8_t* p = ScanLine(y) + size_t(x) * (FPixelFormat / 8);
  p[0] = GetBValue(c);
  p[1] = GetGValue(c);
  p[2] = GetRValue(c);
  if (FPixelFormat == pf32bit) p[3] = 0;
}

void TBitmap::ReadPixels32(uint32_t* dst) const {
  if (Empty()) return;
  if (FPixelFormat == pf32bit) {
    std::memcpy(dst, FBits.get(), ImageSize());
    return;
  }
  const int32_t stride = RowBytes();
  for (int32_t row = 0; row < FHeight; ++row) {
    const uint8_t* s = FBits.get() + size_t(row) * stride;
    uint32_t* d = dst + size_t(row) * FWidth;
    for (int32_t x = 0; x < FWidth; ++x, s += 3)
      d[x] = uint32_t(s[0]) | (uint32_t(s[1]) << 8) | (uint32_t(s[2]) << 16);
  }
}

void TBitmap::WritePixels32(const uint32_t* src) {
  if (Empty()) return;
  if (FPixelFormat == pf32bit) {
    // The fourth byte of a 32-bit bitmap stays 0 whatever the buffer holds there.
    uint32_t* d = reinterpret_cast<uint32_t*>(FBits.get());
    const size_t count = size_t(FWidth) * size_t(FHeight);
    for (size_t i = 0; i < count; ++i) d[i] = src[i] & 0x00FFFFFFu;
    return;
  }
  const int32_t stride = RowBytes();
  for (int32_t row = 0; row < FHeight; ++row) {
    uint8_t* d = FBits.get() + size_t(row) * stride;
    const uint32_t* s = src + size_t(row) * FWidth;
    for (int32_t x = 0; x < FWidth; ++x, d += 3) {
      d[0] = uint8_t(s[x]);
      d[1] = uint8_t(s[x] >> 8);
      d[2] = uint8_t(s[x] >> 16);
    }
  }
}

void TBitmap::ReadPixels24(uint8_t* dst) const {
  if (Empty()) return;
  const int32_t dstStride = RowBytesFor(FWidth, pf24bit);
  if (FPixelFormat == pf24bit) {
    std::memcpy(dst, FBits.get(), ImageSize());
    return;
  }
  for (int32_t row = 0; row < FHeight; ++row) {
    const uint8_t* s = FBits.get() + size_t(row) * RowBytes();
    uint8_t* d = dst + size_t(row) * dstStride;
    for (int32_t x = 0; x < FWidth; ++x, s += 4, d += 3) {
      d[0] = s[0];
      d[1] = s[1];
      d[2] = s[2];
    }
    std::memset(d, 0, size_t(dstStride - 3 * FWidth));
  }
}

TCanvas& TBitmap::Canvas() {
  if (!FCanvas) FCanvas = std::make_unique<TBitmapCanvas>(*this);
  return *FCanvas;
}

}  // namespace qv
