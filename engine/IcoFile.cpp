#include "IcoFile.h"

#include <algorithm>
#include <cstring>

#include "Bitmap.h"
#include "BmpFile.h"
#include "MorphError.h"
#include "PictureIo.h"
#include "PngFile.h"

namespace qv {

namespace {

constexpr size_t kDirectorySize = 6;
constexpr size_t kEntrySize = 16;
constexpr uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

struct TIconEntry {
  int32_t Width = 0, Height = 0, Bits = 0;
  size_t Offset = 0, Size = 0;
};

// The largest (then deepest) image of the directory; an entry whose image lies outside the
// file makes the whole file damaged (it was cut).
bool FindBestEntry(const uint8_t* data, size_t size, TIconEntry& best) {
  const uint16_t count = GetLE16(data + 4);
  if ((size - kDirectorySize) / kEntrySize < count) return false;
  bool found = false;
  for (uint16_t i = 0; i < count; ++i) {
    const uint8_t* e = data + kDirectorySize + size_t(i) * kEntrySize;
    TIconEntry entry;
    entry.Width = e[0] ? e[0] : 256;
    entry.Height = e[1] ? e[1] : 256;
    const int colors = e[2];
    entry.Bits = GetLE16(e + 6);
    if (entry.Bits == 0 && colors > 0) entry.Bits = colors <= 2 ? 1 : colors <= 16 ? 4 : 8;
    entry.Size = GetLE32(e + 8);
    entry.Offset = GetLE32(e + 12);
    if (entry.Offset > size || size - entry.Offset < entry.Size || entry.Size < 8) return false;
    const int64_t area = int64_t(entry.Width) * entry.Height;
    const int64_t bestArea = int64_t(best.Width) * best.Height;
    if (!found || area > bestArea || (area == bestArea && entry.Bits > best.Bits)) best = entry;
    found = true;
  }
  return found;
}

// Rows of the AND mask: 1 bit per pixel, bottom row first, rows padded to four bytes; a set
// bit is transparent.
bool ReadAndMask(const uint8_t* bits, size_t available, int32_t w, int32_t h,
                 std::vector<uint8_t>& mask) {
  const size_t stride = (size_t(w) + 31) / 32 * 4;
  if (available / stride < size_t(h)) return false;
  mask.assign(size_t(w) * h, 255);
  for (int32_t y = 0; y < h; ++y) {
    const uint8_t* row = bits + size_t(h - 1 - y) * stride;
    for (int32_t x = 0; x < w; ++x)
      if (row[x / 8] & (0x80 >> (x % 8))) mask[size_t(y) * w + x] = 0;
  }
  return true;
}

void DecodeDibImage(const uint8_t* image, size_t size, const std::string& fileName, TBitmap& bitmap,
                    std::vector<uint8_t>& mask) {
  std::vector<uint8_t> alpha;
  const size_t bitsEnd = DecodeIconDib(image, size, fileName, bitmap, alpha);
  const int32_t w = bitmap.Width(), h = bitmap.Height();
  // A 32-bit image whose fourth bytes are not all 0 has an alpha channel, which wins over the
  // AND mask (such icons may even leave the mask out).
  const bool useAlpha = std::any_of(alpha.begin(), alpha.end(), [](uint8_t a) { return a != 0; });
  if (useAlpha) {
    mask.resize(alpha.size());
    std::transform(alpha.begin(), alpha.end(), mask.begin(),
                   [](uint8_t a) { return uint8_t(a >= 128 ? 255 : 0); });
  } else if (!ReadAndMask(image + bitsEnd, size - bitsEnd, w, h, mask)) {
    throw EMorphError(PictureDamagedText(fileName));
  }
  if (std::all_of(mask.begin(), mask.end(), [](uint8_t m) { return m != 0; })) mask.clear();
}

}  // namespace

void DecodeIco(const uint8_t* data, size_t size, const std::string& fileName, TBitmap& bitmap,
               std::vector<uint8_t>& mask) {
  if (size < kDirectorySize || GetLE16(data) != 0 ||
      (GetLE16(data + 2) != 1 && GetLE16(data + 2) != 2))
    throw EMorphError(PictureDamagedText(fileName));
  TIconEntry best;
  if (!FindBestEntry(data, size, best)) throw EMorphError(PictureDamagedText(fileName));
  const uint8_t* image = data + best.Offset;
  if (std::memcmp(image, kPngSignature, sizeof kPngSignature) == 0)
    DecodePngWithMask(image, best.Size, fileName, bitmap, mask);
  else
    DecodeDibImage(image, best.Size, fileName, bitmap, mask);
}

}  // namespace qv
