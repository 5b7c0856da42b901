// The 40-byte bitmap header as the AVI format block and the packed frames carry it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "DibHeader.h"

namespace qv {

constexpr size_t DibHeaderSize = sizeof(TBitmapInfoHeader);

// Bytes of one bottom-up row of w pixels at bitCount bits, padded to four bytes.
constexpr uint32_t DibRowBytes(int32_t w, uint16_t bitCount) {
  return uint32_t((int64_t(w) * bitCount + 31) / 32 * 4);
}

// The header of bottom-up w x h frames: biSizeImage is the padded rows times h.
TBitmapInfoHeader DibHeader(int32_t w, int32_t h, uint16_t bitCount = 24, uint32_t compression = 0);
// The header followed by extra bytes (codec data or the colour entry); biSize counts the
// extra bytes when compressed, as the codecs expect.
std::vector<uint8_t> DibHeaderBlock(const TBitmapInfoHeader& header,
                                    const std::vector<uint8_t>& extra = {});
void PutDibHeader(uint8_t* dst, const TBitmapInfoHeader& header);
// Reads the header of a packed DIB of size bytes; false when size is shorter than the header.
bool ReadDibHeader(const uint8_t* dib, size_t size, TBitmapInfoHeader& header);

}  // namespace qv
