#include "ConvertAVI.h"

#include <cstring>

#include "AVIReader.h"
#include "CreateAVI.h"
#include "Dialogs.h"
#include "DibFormat.h"
#include "MorphError.h"

namespace qv {

namespace {

// Copies a packed 24-bit DIB into bitmap; false when the DIB is not one or is too short.
bool CopyDib(const uint8_t* dib, size_t size, TBitmap& bitmap) {
  TBitmapInfoHeader info;
  if (!ReadDibHeader(dib, size, info) || info.biBitCount != 24 || info.biCompression != 0 ||
      info.biWidth <= 0 || info.biHeight <= 0)
    return false;
  bitmap.SetPixelFormat(pf24bit);
  bitmap.SetSize(info.biWidth, info.biHeight);
  if (size - DibHeaderSize < bitmap.ImageSize()) return false;
  std::memcpy(bitmap.Bits(), dib + DibHeaderSize, bitmap.ImageSize());
  return true;
}

}  // namespace

bool ConvertAVI(const std::string& source, const std::string& target,
                const TConvertProgress& progress) {
  TAVIReader reader;
  TAVICreator writer;
  if (!reader.OpenAVIFile(source)) {
    Dialogs().ShowMessage(reader.ErrorMessage(), TMessagePlacement::MainWindow);
    return false;
  }
  const uint8_t* first = reader.GetFrame(0);
  TBitmapInfoHeader info;
  if (!first || !ReadDibHeader(first, reader.FrameSize(), info)) {
    Dialogs().ShowMessage("konnte ersten Frame nicht laden", TMessagePlacement::MainWindow);
    return false;
  }
  writer.SetWidth(info.biWidth);
  writer.SetHeight(info.biHeight);
  writer.SetFilename(target);
  if (!writer.CreateAVIFile(true, {av_video, av_audio})) return false;

  TBitmap frame(pf24bit);
  try {
    for (int32_t n = 0;; ++n) {
      const uint8_t* dib = reader.GetFrame(n);
      if (!dib || !CopyDib(dib, reader.FrameSize(), frame)) break;
      writer.AddAVIFrame(frame);
      if (progress && progress(frame, n)) break;
    }
  } catch (...) {
    try {
      writer.CloseAVIFile(false);
    } catch (const EMorphError&) {
    }
    throw;
  }
  writer.CloseAVIFile(false);
  return true;
}

}  // namespace qv
