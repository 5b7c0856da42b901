#include "GifFile.h"

#include <gif_lib.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "Bitmap.h"
#include "MorphError.h"
#include "PictureIo.h"

namespace qv {

namespace {

struct TGifSource {
  const uint8_t* Data;
  size_t Size;
  size_t Position;
};

int ReadGifBytes(GifFileType* gif, GifByteType* buffer, int count) {
  auto* source = static_cast<TGifSource*>(gif->UserData);
  const size_t n = std::min(size_t(count < 0 ? 0 : count), source->Size - source->Position);
  if (n > 0) std::memcpy(buffer, source->Data + source->Position, n);
  source->Position += n;
  return int(n);
}

struct TGifCloser {
  void operator()(GifFileType* gif) const {
    int error = 0;
    DGifCloseFile(gif, &error);
  }
};
using TGifHandle = std::unique_ptr<GifFileType, TGifCloser>;

class TGifReader {
 public:
  TGifReader(const uint8_t* data, size_t size, const std::string& fileName)
      : FSource{data, size, 0}, FFileName(fileName) {}
  void Decode(TBitmap& bitmap);

 private:
  [[noreturn]] void Damaged() const { throw EMorphError(PictureDamagedText(FFileName)); }
  void Check(int result) const {
    if (result != GIF_OK) Damaged();
  }
  void ReadExtension();
  void DecodeImage(TBitmap& bitmap);
  void PaintRow(const std::vector<GifPixelType>& line, const ColorMapObject& colors,
                uint8_t* dst) const;

  TGifSource FSource;
  const std::string& FFileName;
  TGifHandle FGif;
  int FTransparent = NO_TRANSPARENT_COLOR;
};

void TGifReader::Decode(TBitmap& bitmap) {
  int error = 0;
  FGif.reset(DGifOpen(&FSource, ReadGifBytes, &error));
  if (!FGif) Damaged();
  for (;;) {
    GifRecordType record = UNDEFINED_RECORD_TYPE;
    Check(DGifGetRecordType(FGif.get(), &record));
    if (record == IMAGE_DESC_RECORD_TYPE) return DecodeImage(bitmap);
    if (record == EXTENSION_RECORD_TYPE)
      ReadExtension();
    else if (record == TERMINATE_RECORD_TYPE)
      Damaged();  // a file without any image
  }
}

// Extensions before the first image; only the graphics control block (transparency) counts.
void TGifReader::ReadExtension() {
  int code = 0;
  GifByteType* block = nullptr;
  Check(DGifGetExtension(FGif.get(), &code, &block));
  if (code == GRAPHICS_EXT_FUNC_CODE && block) {
    GraphicsControlBlock gcb{};
    if (DGifExtensionToGCB(block[0], block + 1, &gcb) == GIF_OK)
      FTransparent = gcb.TransparentColor;
  }
  while (block) Check(DGifGetExtensionNext(FGif.get(), &block));
}

void TGifReader::DecodeImage(TBitmap& bitmap) {
  Check(DGifGetImageDesc(FGif.get()));
  const GifImageDesc& desc = FGif->Image;
  const ColorMapObject* colors = desc.ColorMap ? desc.ColorMap : FGif->SColorMap;
  if (!colors || !colors->Colors) Damaged();
  CheckPictureSize(FFileName, desc.Width, desc.Height);
  const int64_t width = std::max<int64_t>(FGif->SWidth, int64_t(desc.Left) + desc.Width);
  const int64_t height = std::max<int64_t>(FGif->SHeight, int64_t(desc.Top) + desc.Height);
  CheckPictureSize(FFileName, width, height);
  bitmap.SetPixelFormat(pf24bit);
  bitmap.SetSize(int32_t(width), int32_t(height));
  for (int32_t y = 0; y < bitmap.Height(); ++y)
    std::memset(bitmap.ScanLine(y), 255, size_t(width) * 3);

  // Interlaced images arrive in four passes: every 8th row from 0, from 4, every 4th from 2,
  // every 2nd from 1.
  static constexpr int kStart[4] = {0, 4, 2, 1}, kStep[4] = {8, 8, 4, 2};
  std::vector<GifPixelType> line(size_t(desc.Width));
  const int passes = desc.Interlace ? 4 : 1;
  for (int pass = 0; pass < passes; ++pass) {
    const int start = desc.Interlace ? kStart[pass] : 0, step = desc.Interlace ? kStep[pass] : 1;
    for (int row = start; row < desc.Height; row += step) {
      Check(DGifGetLine(FGif.get(), line.data(), desc.Width));
      PaintRow(line, *colors, bitmap.ScanLine(desc.Top + row) + size_t(desc.Left) * 3);
    }
  }
}

void TGifReader::PaintRow(const std::vector<GifPixelType>& line, const ColorMapObject& colors,
                          uint8_t* dst) const {
  for (GifPixelType index : line) {
    if (index != FTransparent) {
      if (index >= colors.ColorCount) Damaged();
      const GifColorType& c = colors.Colors[index];
      dst[0] = c.Blue;
      dst[1] = c.Green;
      dst[2] = c.Red;
    }
    dst += 3;
  }
}

}  // namespace

void DecodeGif(const uint8_t* data, size_t size, const std::string& fileName, TBitmap& bitmap) {
  TGifReader reader(data, size, fileName);
  reader.Decode(bitmap);
}

}  // namespace qv
