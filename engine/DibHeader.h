// The 40-byte header of a device-independent bitmap, as it appears in BMP and AVI files.
#pragma once

#include <cstdint>

namespace qv {

#pragma pack(push, 1)
struct TBitmapInfoHeader {
  uint32_t biSize = 40;
  int32_t biWidth = 0;
  int32_t biHeight = 0;  // positive: rows bottom-up
  uint16_t biPlanes = 1;
  uint16_t biBitCount = 0;
  uint32_t biCompression = 0;  // 0: none (BI_RGB)
  uint32_t biSizeImage = 0;
  int32_t biXPelsPerMeter = 0;
  int32_t biYPelsPerMeter = 0;
  uint32_t biClrUsed = 0;
  uint32_t biClrImportant = 0;
};
#pragma pack(pop)
static_assert(sizeof(TBitmapInfoHeader) == 40);

}  // namespace qv
