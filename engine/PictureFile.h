// Picture files by their extension: which decoder reads a file, decoding source and background
// pictures, and saving exported frames.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qv {

class TBitmap;

enum TPictureKind : uint8_t {
  pk_none,
  pk_Bmp,
  pk_Jpeg,  // ".jpg", ".jpeg"
  pk_Gif,
  pk_Png,
  pk_Icon,
  pk_Metafile  // ".emf", ".wmf": known, but cannot be used as a picture
};

// The extension of the file's name from its last "." on, in upper case (".JPG"); empty when
// the name has no ".".
std::string PictureExtension(const std::string& fileName);
TPictureKind PictureKindOf(const std::string& fileName);

// The pictures a source of a morphing takes: JPEG, GIF, PNG and BMP files.
bool IsSourcePicture(const std::string& fileName);
// The pictures a background takes (TPicture): those of a source and icons.
bool IsBackgroundPicture(const std::string& fileName);

// Decodes a JPEG, GIF, PNG or BMP file (by its extension) into bitmap: JPEG, GIF and PNG
// become 24-bit bitmaps, BMP files of 24 or 32 bits keep their format, others become 24 bits.
// Any other extension raises EMorphError(PictureFormatText); a missing, unreadable, damaged
// or too large file raises EMorphError with its text (PictureIo.h). After a failure the
// bitmap's content is undefined.
void DecodePicture(const std::string& fileName, TBitmap& bitmap);

// The same for a background picture, which may also be an icon; mask receives the icon's
// transparency (one byte per pixel, rows from the top, 0 = transparent) and is empty for
// every other picture.
void DecodeBackgroundPicture(const std::string& fileName, TBitmap& bitmap,
                             std::vector<uint8_t>& mask);

// Quality of exported JPEG frames.
constexpr int FrameJpegQuality = 95;

// Saves an exported frame by the extension of fileName, compared in lower case: ".bmp" as a
// BMP file in the bitmap's own format, ".jpg" and ".jpeg" as JPEG with EXIF block of quality
// FrameJpegQuality. Any other extension writes nothing and answers false. Write failures
// raise EMorphError.
bool SaveFramePicture(const std::string& fileName, const TBitmap& frame);

}  // namespace qv
