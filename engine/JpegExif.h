// Exported frames as JPEG files with an EXIF block (orientation, thumbnail, software).
#pragma once

#include <cstdint>
#include <string>

#include "Types.h"

namespace qv {

class TBitmap;

// Largest size of the EXIF thumbnail.
constexpr int32_t ExifThumbnailWidth = 160;
constexpr int32_t ExifThumbnailHeight = 120;

// The size of a width x height picture scaled with its aspect ratio kept to fit within
// ExifThumbnailWidth x ExifThumbnailHeight (rounded, at least 1 x 1); smaller pictures keep
// their size.
TPoint ExifThumbnailSize(int32_t width, int32_t height);

// Writes the bitmap as a JPEG file of the given quality with an EXIF block holding
// Orientation 1, Software "Zunt Quorvel <version>" and a JPEG thumbnail of the picture.
// Failures raise EMorphError naming the file.
void SaveJpegWithExif(const std::string& fileName, const TBitmap& bitmap, int quality);

}  // namespace qv
