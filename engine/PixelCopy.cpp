#include "PixelCopy.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "Bitmap.h"
#include "FloorStep.h"

namespace qv {

namespace {

// One destination row from one source row: column k of the run takes source column cols[k].
template <int SrcBytes, int DstBytes>
void CopyRow(uint8_t* dst, const uint8_t* src, const std::vector<int32_t>& cols,
             const uint8_t* maskRow) {
  for (size_t k = 0; k < cols.size(); ++k, dst += DstBytes) {
    const int32_t sc = cols[k];
    if (maskRow && maskRow[sc] == 0) continue;
    const uint8_t* s = src + size_t(sc) * SrcBytes;
    uint32_t v;
    if constexpr (SrcBytes == 4)
      std::memcpy(&v, s, 4);
    else
      v = uint32_t(s[0]) | (uint32_t(s[1]) << 8) | (uint32_t(s[2]) << 16);
    if constexpr (DstBytes == 4) {
      v &= 0x00FFFFFFu;
      std::memcpy(dst, &v, 4);
    } else {
      dst[0] = uint8_t(v);
      dst[1] = uint8_t(v >> 8);
      dst[2] = uint8_t(v >> 16);
    }
  }
}

// n pixels of 32 bits to 24, four a time in whole words.
void Row32To24(uint8_t* dst, const uint8_t* src, size_t n) {
  size_t i = 0;
  for (; i + 4 <= n; i += 4, src += 16, dst += 12) {
    uint32_t p[4];
    std::memcpy(p, src, 16);
    const uint32_t w[3] = {(p[0] & 0x00FFFFFFu) | (p[1] << 24), ((p[1] >> 8) & 0xFFFFu) | (p[2] << 16),
                           ((p[2] >> 16) & 0xFFu) | (p[3] << 8)};
    std::memcpy(dst, w, 12);
  }
  for (; i < n; ++i, src += 4, dst += 3) std::memcpy(dst, src, 3);
}

// n pixels of 24 bits to 32 (the fourth byte 0), four a time in whole words.
void Row24To32(uint8_t* dst, const uint8_t* src, size_t n) {
  size_t i = 0;
  for (; i + 4 <= n; i += 4, src += 12, dst += 16) {
    uint32_t w[3];
    std::memcpy(w, src, 12);
    const uint32_t p[4] = {w[0] & 0x00FFFFFFu, (w[0] >> 24) | ((w[1] & 0xFFFFu) << 8),
                           (w[1] >> 16) | ((w[2] & 0xFFu) << 16), w[2] >> 8};
    std::memcpy(dst, p, 16);
  }
  for (; i < n; ++i, src += 3, dst += 4) {
    const uint32_t v = uint32_t(src[0]) | (uint32_t(src[1]) << 8) | (uint32_t(src[2]) << 16);
    std::memcpy(dst, &v, 4);
  }
}

using TRowCopy = void (*)(uint8_t*, const uint8_t*, const std::vector<int32_t>&, const uint8_t*);

TRowCopy RowCopyFor(TPixelFormat from, TPixelFormat to) {
  if (from == pf32bit) return to == pf32bit ? CopyRow<4, 4> : CopyRow<4, 3>;
  return to == pf32bit ? CopyRow<3, 4> : CopyRow<3, 3>;
}

// The source columns of the destination columns first .. first + result size - 1 that have
// a source pixel; the rule is monotonic, so they form one run.
std::vector<int32_t> ColumnTable(const TPixelArea& dest, const TPixelArea& source, int32_t dstW,
                                 int32_t srcW, int64_t& first) {
  std::vector<int32_t> cols;
  const int64_t x0 = std::max<int64_t>(dest.Left, 0), x1 = std::min<int64_t>(dest.Right, dstW);
  if (x0 >= x1) return cols;
  cols.reserve(size_t(x1 - x0));
  TFloorStep col(0, source.Width(), dest.Width(), x0 - dest.Left);
  for (int64_t x = x0; x < x1; ++x, col.Next()) {
    const int64_t sc = source.Left + col.Value();
    if (sc < 0) continue;
    if (sc >= srcW) break;
    if (cols.empty()) first = x;
    cols.push_back(int32_t(sc));
  }
  return cols;
}

}  // namespace

void CopyPixels(TBitmap& dst, const TPixelArea& dest, const TBitmap& src, const TPixelArea& source,
                const uint8_t* mask) {
  if (dst.Empty() || src.Empty()) return;
  if (dest.Width() <= 0 || dest.Height() <= 0 || source.Width() <= 0 || source.Height() <= 0)
    return;
  if (&dst == &src) {
    const TBitmap copy(src);
    CopyPixels(dst, dest, copy, source, mask);
    return;
  }
  int64_t firstX = 0;
  const std::vector<int32_t> cols = ColumnTable(dest, source, dst.Width(), src.Width(), firstX);
  if (cols.empty()) return;
  const int32_t dstBytes = dst.PixelFormat() / 8, srcBytes = src.PixelFormat() / 8;
  const size_t runBytes = cols.size() * size_t(dstBytes);
  // Equal widths without a mask: the row is one block, in the same format or converted.
  const bool unscaled = !mask && source.Width() == dest.Width();
  const bool block = unscaled && srcBytes == dstBytes;
  const TRowCopy copyRow = RowCopyFor(src.PixelFormat(), dst.PixelFormat());
  const int64_t y0 = std::max<int64_t>(dest.Top, 0),
                y1 = std::min<int64_t>(dest.Bottom, dst.Height());
  if (y0 >= y1) return;
  TFloorStep row(0, source.Height(), dest.Height(), y0 - dest.Top);
  int64_t lastSource = -1;
  const uint8_t* lastRow = nullptr;
  for (int64_t y = y0; y < y1; ++y, row.Next()) {
    const int64_t sr = source.Top + row.Value();
    if (sr < 0) continue;
    if (sr >= src.Height()) break;
    uint8_t* d = dst.ScanLine(int32_t(y)) + size_t(firstX) * dstBytes;
    if (!mask && sr == lastSource)
      std::memcpy(d, lastRow, runBytes);
    else if (block)
      std::memcpy(d, src.ScanLine(int32_t(sr)) + size_t(cols[0]) * srcBytes, runBytes);
    else if (unscaled && srcBytes == 4)
      Row32To24(d, src.ScanLine(int32_t(sr)) + size_t(cols[0]) * 4, cols.size());
    else if (unscaled)
      Row24To32(d, src.ScanLine(int32_t(sr)) + size_t(cols[0]) * 3, cols.size());
    else
      copyRow(d, src.ScanLine(int32_t(sr)), cols,
              mask ? mask + size_t(sr) * size_t(src.Width()) : nullptr);
    lastSource = sr;
    lastRow = d;
  }
}

}  // namespace qv
