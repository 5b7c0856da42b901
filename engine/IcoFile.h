// Icon files (.ico, and cursors of the same layout): the largest image of the file with its
// transparency as a mask.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace qv {

class TBitmap;

// Decodes the best image of an icon file held in memory: the largest, among equal sizes the
// one with the most colours. Images may be device-independent bitmaps (with their AND mask,
// or an alpha channel at 32 bits) or PNG files. mask receives one byte per pixel, rows from
// the top, 255 where the icon is opaque and 0 where it is transparent; it is left empty when
// no pixel is transparent. Failures raise EMorphError naming fileName; bitmap and mask are
// then undefined.
void DecodeIco(const uint8_t* data, size_t size, const std::string& fileName, TBitmap& bitmap,
               std::vector<uint8_t>& mask);

}  // namespace qv
