// BMP files (device-independent bitmaps), read and written by the system itself.
//
// Reading accepts the Windows and OS/2 variants found in practice: core (12-byte), info
// (40-byte), OS/2 2.x and V2 to V5 headers; 1, 2, 4 and 8 bits with a colour table, 16 bits
// (555 or bit fields), 24 bits, 32 bits (plain or bit fields); bottom-up and top-down rows;
// RLE8 and RLE4 compression. Files of 24 and 32 bits keep their pixel format, all others
// become 24-bit bitmaps. An alpha channel is ignored (the fourth byte of a 32-bit bitmap is 0).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace qv {

class TBitmap;

// Decodes a whole BMP file held in memory. Every failure raises EMorphError naming fileName;
// the bitmap's content is then undefined.
void DecodeBmp(const uint8_t* data, size_t size, const std::string& fileName, TBitmap& bitmap);

// Decodes the device-independent bitmap of an icon: info header at data[0], whose height
// counts the colour rows and the rows of the AND mask, then the colour table and the colour
// bits. For 32 bits, alpha receives the fourth byte of every pixel (rows from the top);
// otherwise it is emptied. Answers the offset right after the colour bits, where the AND
// mask starts.
size_t DecodeIconDib(const uint8_t* data, size_t size, const std::string& fileName, TBitmap& bitmap,
                     std::vector<uint8_t>& alpha);

// Writes the bitmap in its own format (24 or 32 bits) as a BMP file: file header, 40-byte
// info header, bottom-up rows padded to four bytes. Failures raise EMorphError.
void SaveBmpFile(const std::string& fileName, const TBitmap& bitmap);

}  // namespace qv
