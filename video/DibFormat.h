// The 40-byte header of a device-independent bitmap as the AVI format block and the packed
// frames carry it (little-endian, biSize first).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace qv {

constexpr size_t DibHeaderSize = 40;

struct TDibInfo {
  int32_t Width = 0;
  int32_t Height = 0;  // positive: rows bottom-up
  uint16_t BitCount = 24;
  uint32_t Compression = 0;  // 0: uncompressed, else the FourCC of the codec
  uint32_t SizeImage = 0;
};

// Bytes of one bottom-up row of w pixels at bitCount bits, padded to four bytes.
constexpr uint32_t DibRowBytes(int32_t w, uint16_t bitCount) {
  return uint32_t((int64_t(w) * bitCount + 31) / 32 * 4);
}

// The header followed by extra bytes (codec data or the colour entry); biSize counts the
// extra bytes when compressed, as the codecs expect.
std::vector<uint8_t> DibHeaderBlock(const TDibInfo& info, const std::vector<uint8_t>& extra = {});
void PutDibHeader(uint8_t* dst, const TDibInfo& info);
// Reads the header of a packed DIB of size bytes; false when size is shorter than the header.
bool ReadDibHeader(const uint8_t* dib, size_t size, TDibInfo& info);

}  // namespace qv
