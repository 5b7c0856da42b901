#include "JpegExif.h"

#include <libexif/exif-data.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "Bitmap.h"
#include "JpegFile.h"
#include "MorphError.h"
#include "PictureIo.h"
#include "ProgramVersion.h"

namespace qv {

namespace {

constexpr ExifByteOrder kByteOrder = EXIF_BYTE_ORDER_INTEL;
constexpr uint16_t kOrientationNormal = 1;
constexpr uint16_t kCompressionJpeg = 6;
// The EXIF block travels in one APP1 marker, whose data holds at most 65533 bytes.
constexpr size_t kMaxExifBlock = 65533;
// Qualities tried for the thumbnail until the block fits into its marker.
constexpr int kThumbnailQualities[] = {95, 75, 50, 25};

// Box-filtered reduction: every thumbnail pixel is the mean of the picture pixels it covers.
TBitmap MakeThumbnail(const TBitmap& picture) {
  const int32_t w = picture.Width(), h = picture.Height();
  const TPoint size = ExifThumbnailSize(w, h);
  TBitmap thumb(pf24bit);
  thumb.SetSize(size.X, size.Y);
  const size_t step = picture.PixelFormat() / 8;
  for (int32_t ty = 0; ty < size.Y; ++ty) {
    const int32_t y0 = int32_t(int64_t(ty) * h / size.Y);
    const int32_t y1 = std::max(y0 + 1, int32_t(int64_t(ty + 1) * h / size.Y));
    uint8_t* dst = thumb.ScanLine(ty);
    for (int32_t tx = 0; tx < size.X; ++tx, dst += 3) {
      const int32_t x0 = int32_t(int64_t(tx) * w / size.X);
      const int32_t x1 = std::max(x0 + 1, int32_t(int64_t(tx + 1) * w / size.X));
      uint64_t sum[3] = {0, 0, 0};
      for (int32_t y = y0; y < y1; ++y) {
        const uint8_t* src = picture.ScanLine(y) + size_t(x0) * step;
        for (int32_t x = x0; x < x1; ++x, src += step)
          for (int c = 0; c < 3; ++c) sum[c] += src[c];
      }
      const uint64_t n = uint64_t(y1 - y0) * uint64_t(x1 - x0);
      for (int c = 0; c < 3; ++c) dst[c] = uint8_t((sum[c] + n / 2) / n);
    }
  }
  return thumb;
}

struct TExifDataUnref {
  void operator()(ExifData* d) const {
    // The thumbnail belongs to the caller's vector, not to libexif.
    d->data = nullptr;
    d->size = 0;
    exif_data_unref(d);
  }
};
using TExifHandle = std::unique_ptr<ExifData, TExifDataUnref>;

ExifEntry* AddEntry(ExifData* exif, ExifIfd ifd, ExifTag tag) {
  ExifEntry* entry = exif_entry_new();
  if (!entry) return nullptr;
  exif_content_add_entry(exif->ifd[ifd], entry);
  exif_entry_initialize(entry, tag);
  exif_entry_unref(entry);  // the IFD holds the reference now
  return entry;
}

bool AddShort(ExifData* exif, ExifIfd ifd, ExifTag tag, uint16_t value) {
  ExifEntry* entry = AddEntry(exif, ifd, tag);
  if (!entry || !entry->data || entry->format != EXIF_FORMAT_SHORT) return false;
  exif_set_short(entry->data, kByteOrder, value);
  return true;
}

bool AddAscii(ExifData* exif, ExifIfd ifd, ExifTag tag, const std::string& text) {
  ExifMem* mem = exif_mem_new_default();
  if (!mem) return false;
  ExifEntry* entry = exif_entry_new_mem(mem);
  void* buffer = entry ? exif_mem_alloc(mem, ExifLong(text.size() + 1)) : nullptr;
  bool ok = buffer != nullptr;
  if (ok) {
    std::memcpy(buffer, text.c_str(), text.size() + 1);
    entry->data = static_cast<unsigned char*>(buffer);
    entry->size = unsigned(text.size() + 1);
    entry->components = text.size() + 1;
    entry->format = EXIF_FORMAT_ASCII;
    entry->tag = tag;
    exif_content_add_entry(exif->ifd[ifd], entry);
  }
  if (entry) exif_entry_unref(entry);
  exif_mem_unref(mem);
  return ok;
}

// The APP1 data: "Exif\0\0", then the TIFF structure with IFD0 (orientation, software) and
// IFD1 describing the thumbnail. Empty when libexif fails.
std::vector<uint8_t> BuildExifBlock(std::vector<uint8_t>& thumbnail) {
  TExifHandle exif(exif_data_new());
  if (!exif) return {};
  exif_data_unset_option(exif.get(), EXIF_DATA_OPTION_FOLLOW_SPECIFICATION);
  exif_data_set_byte_order(exif.get(), kByteOrder);
  const std::string software = "Zunt Quorvel " + GetProgramVersion();
  if (!AddShort(exif.get(), EXIF_IFD_0, EXIF_TAG_ORIENTATION, kOrientationNormal) ||
      !AddAscii(exif.get(), EXIF_IFD_0, EXIF_TAG_SOFTWARE, software) ||
      !AddShort(exif.get(), EXIF_IFD_1, EXIF_TAG_COMPRESSION, kCompressionJpeg))
    return {};
  exif->data = thumbnail.data();
  exif->size = unsigned(thumbnail.size());
  unsigned char* block = nullptr;
  unsigned int length = 0;
  exif_data_save_data(exif.get(), &block, &length);
  if (!block) return {};
  std::vector<uint8_t> result(block, block + length);
  std::free(block);
  return result;
}

}  // namespace

TPoint ExifThumbnailSize(int32_t width, int32_t height) {
  if (width <= 0 || height <= 0) return TPoint{1, 1};
  if (width <= ExifThumbnailWidth && height <= ExifThumbnailHeight) return TPoint{width, height};
  if (int64_t(width) * ExifThumbnailHeight >= int64_t(height) * ExifThumbnailWidth)
    return TPoint{ExifThumbnailWidth, std::max(1, MulDiv(height, ExifThumbnailWidth, width))};
  return TPoint{std::max(1, MulDiv(width, ExifThumbnailHeight, height)), ExifThumbnailHeight};
}

void SaveJpegWithExif(const std::string& fileName, const TBitmap& bitmap, int quality) {
  if (bitmap.Empty()) throw EMorphError(PictureWriteText(fileName));
  const TBitmap thumb = MakeThumbnail(bitmap);
  std::vector<uint8_t> block;
  for (int thumbQuality : kThumbnailQualities) {
    std::vector<uint8_t> thumbnail = EncodeJpeg(fileName, thumb, thumbQuality);
    block = BuildExifBlock(thumbnail);
    if (block.empty()) throw EMorphError(PictureWriteText(fileName));
    if (block.size() <= kMaxExifBlock) break;
  }
  if (block.size() > kMaxExifBlock) throw EMorphError(PictureWriteText(fileName));
  const std::vector<uint8_t> jpeg = EncodeJpeg(fileName, bitmap, quality, &block);
  WritePictureFile(fileName, {{jpeg.data(), jpeg.size()}});
}

}  // namespace qv
