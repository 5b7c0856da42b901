#include "JpegFile.h"

// clang-format off
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <jpeglib.h>
#include <jerror.h>
// clang-format on

#include "Bitmap.h"
#include "MorphError.h"
#include "PictureIo.h"

namespace qv {

namespace {

// A progressive file may consist of any number of scans; more than this is taken as damage
// rather than spending minutes on it.
constexpr int kMaxJpegScans = 1000;
// Working memory libjpeg may take for one picture (coefficient buffers of progressive files).
constexpr long kMaxJpegMemory = 1L << 30;

// libjpeg reports fatal errors through error_exit, which must not return: it jumps back to
// the setjmp of the function that called into the library. Messages are never printed.
struct TJpegError {
  jpeg_error_mgr Manager;
  std::jmp_buf Jump;
  bool Truncated;
};

[[noreturn]] void JpegErrorExit(j_common_ptr cinfo) {
  std::longjmp(reinterpret_cast<TJpegError*>(cinfo->err)->Jump, 1);
}

void JpegOutputMessage(j_common_ptr) {}

void JpegEmitMessage(j_common_ptr cinfo, int level) {
  if (level < 0 && cinfo->err->msg_code == JWRN_JPEG_EOF)
    reinterpret_cast<TJpegError*>(cinfo->err)->Truncated = true;
}

void JpegProgress(j_common_ptr cinfo) {
  if (cinfo->is_decompressor &&
      reinterpret_cast<j_decompress_ptr>(cinfo)->input_scan_number > kMaxJpegScans)
    JpegErrorExit(cinfo);
}

void InitError(TJpegError& error) {
  jpeg_std_error(&error.Manager);
  error.Manager.error_exit = JpegErrorExit;
  error.Manager.output_message = JpegOutputMessage;
  error.Manager.emit_message = JpegEmitMessage;
  error.Truncated = false;
}

enum class TJpegResult { Ok, Damaged, Unusable };

// CMYK and YCCK samples as libjpeg hands them out; Adobe files store them inverted.
void CmykToBgr(const uint8_t* src, uint8_t* dst, int32_t width, bool inverted) {
  for (int32_t x = 0; x < width; ++x, src += 4, dst += 3) {
    int c = src[0], m = src[1], y = src[2], k = src[3];
    if (!inverted) {
      c = 255 - c;
      m = 255 - m;
      y = 255 - y;
      k = 255 - k;
    }
    dst[0] = uint8_t((y * k + 127) / 255);
    dst[1] = uint8_t((m * k + 127) / 255);
    dst[2] = uint8_t((c * k + 127) / 255);
  }
}

bool KnownColorSpace(J_COLOR_SPACE space) {
  return space == JCS_GRAYSCALE || space == JCS_RGB || space == JCS_YCbCr || space == JCS_CMYK ||
         space == JCS_YCCK;
}

// Holds only trivially destructible locals: a longjmp back into it skips nothing. The
// bitmap and the row buffer belong to the caller.
TJpegResult Decompress(jpeg_decompress_struct* cinfo, TJpegError* error,
                       jpeg_progress_mgr* progress, const uint8_t* data, size_t size,
                       const std::string& fileName, TBitmap& bitmap, std::vector<uint8_t>& row) {
  if (setjmp(error->Jump)) return TJpegResult::Damaged;
  jpeg_create_decompress(cinfo);
  cinfo->mem->max_memory_to_use = kMaxJpegMemory;
  progress->progress_monitor = JpegProgress;
  cinfo->progress = progress;
  jpeg_mem_src(cinfo, data, static_cast<unsigned long>(size));
  jpeg_read_header(cinfo, TRUE);
  if (!KnownColorSpace(cinfo->jpeg_color_space)) return TJpegResult::Unusable;
  CheckPictureSize(fileName, cinfo->image_width, cinfo->image_height);
  const bool cmyk = cinfo->jpeg_color_space == JCS_CMYK || cinfo->jpeg_color_space == JCS_YCCK;
  cinfo->out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGR;
  jpeg_start_decompress(cinfo);
  bitmap.SetPixelFormat(pf24bit);
  bitmap.SetSize(int32_t(cinfo->output_width), int32_t(cinfo->output_height));
  if (cmyk) row.resize(size_t(cinfo->output_width) * 4);
  while (cinfo->output_scanline < cinfo->output_height) {
    const int32_t y = int32_t(cinfo->output_scanline);
    JSAMPROW target = cmyk ? row.data() : bitmap.ScanLine(y);
    if (jpeg_read_scanlines(cinfo, &target, 1) != 1 || error->Truncated)
      return TJpegResult::Damaged;  // a cut file is damaged: no need to decode the rest
    if (cmyk) CmykToBgr(row.data(), bitmap.ScanLine(y), bitmap.Width(), cinfo->saw_Adobe_marker);
  }
  jpeg_finish_decompress(cinfo);
  return error->Truncated ? TJpegResult::Damaged : TJpegResult::Ok;
}

struct TDecompressor {
  jpeg_decompress_struct Info{};
  TJpegError Error;
  jpeg_progress_mgr Progress{};
  TDecompressor() {
    InitError(Error);
    Info.err = &Error.Manager;
  }
  ~TDecompressor() { jpeg_destroy_decompress(&Info); }
};

// The compressed stream grows in a malloc'ed buffer owned here, so that a jump out of the
// library leaks nothing.
struct TMemoryDestination {
  jpeg_destination_mgr Manager{};
  uint8_t* Buffer = nullptr;
  size_t Capacity = 0;
  size_t Length = 0;
  ~TMemoryDestination() { std::free(Buffer); }
};

TMemoryDestination* DestinationOf(j_compress_ptr cinfo) {
  return reinterpret_cast<TMemoryDestination*>(cinfo->dest);
}

void InitDestination(j_compress_ptr cinfo) {
  TMemoryDestination* d = DestinationOf(cinfo);
  d->Capacity = 1 << 16;
  d->Buffer = static_cast<uint8_t*>(std::malloc(d->Capacity));
  if (!d->Buffer) ERREXIT1(cinfo, JERR_OUT_OF_MEMORY, 0);
  d->Manager.next_output_byte = d->Buffer;
  d->Manager.free_in_buffer = d->Capacity;
}

boolean GrowDestination(j_compress_ptr cinfo) {
  TMemoryDestination* d = DestinationOf(cinfo);
  const size_t grown = d->Capacity * 2;
  auto* buffer = static_cast<uint8_t*>(std::realloc(d->Buffer, grown));
  if (!buffer) ERREXIT1(cinfo, JERR_OUT_OF_MEMORY, 0);
  d->Buffer = buffer;
  d->Manager.next_output_byte = buffer + d->Capacity;
  d->Manager.free_in_buffer = grown - d->Capacity;
  d->Capacity = grown;
  return TRUE;
}

void TermDestination(j_compress_ptr cinfo) {
  TMemoryDestination* d = DestinationOf(cinfo);
  d->Length = d->Capacity - d->Manager.free_in_buffer;
}

bool Compress(jpeg_compress_struct* cinfo, TJpegError* error, TMemoryDestination* dest,
              const TBitmap& bitmap, int quality, const std::vector<uint8_t>* app1) {
  if (setjmp(error->Jump)) return false;
  jpeg_create_compress(cinfo);
  dest->Manager.init_destination = InitDestination;
  dest->Manager.empty_output_buffer = GrowDestination;
  dest->Manager.term_destination = TermDestination;
  cinfo->dest = &dest->Manager;
  cinfo->image_width = JDIMENSION(bitmap.Width());
  cinfo->image_height = JDIMENSION(bitmap.Height());
  const bool four = bitmap.PixelFormat() == pf32bit;
  cinfo->input_components = four ? 4 : 3;
  cinfo->in_color_space = four ? JCS_EXT_BGRX : JCS_EXT_BGR;
  jpeg_set_defaults(cinfo);
  jpeg_set_quality(cinfo, quality, TRUE);
  if (app1) cinfo->write_JFIF_header = FALSE;
  jpeg_start_compress(cinfo, TRUE);
  if (app1) jpeg_write_marker(cinfo, JPEG_APP0 + 1, app1->data(), unsigned(app1->size()));
  while (cinfo->next_scanline < cinfo->image_height) {
    JSAMPROW row = const_cast<uint8_t*>(bitmap.ScanLine(int32_t(cinfo->next_scanline)));
    jpeg_write_scanlines(cinfo, &row, 1);
  }
  jpeg_finish_compress(cinfo);
  return true;
}

struct TCompressor {
  jpeg_compress_struct Info{};
  TJpegError Error;
  TCompressor() {
    InitError(Error);
    Info.err = &Error.Manager;
  }
  ~TCompressor() { jpeg_destroy_compress(&Info); }
};

}  // namespace

void DecodeJpeg(const uint8_t* data, size_t size, const std::string& fileName, TBitmap& bitmap) {
  TDecompressor d;
  std::vector<uint8_t> row;
  switch (Decompress(&d.Info, &d.Error, &d.Progress, data, size, fileName, bitmap, row)) {
    case TJpegResult::Ok:
      return;
    case TJpegResult::Unusable:
      throw EMorphError(PictureFormatText(fileName));
    case TJpegResult::Damaged:
      break;
  }
  throw EMorphError(PictureDamagedText(fileName));
}

std::vector<uint8_t> EncodeJpeg(const std::string& fileName, const TBitmap& bitmap, int quality,
                                const std::vector<uint8_t>* app1) {
  constexpr size_t kMaxMarkerData = 65533;
  if (bitmap.Empty() || (app1 && app1->size() > kMaxMarkerData))
    throw EMorphError(PictureWriteText(fileName));
  TMemoryDestination dest;
  {
    TCompressor c;
    if (!Compress(&c.Info, &c.Error, &dest, bitmap, quality, app1))
      throw EMorphError(PictureWriteText(fileName));
  }
  return std::vector<uint8_t>(dest.Buffer, dest.Buffer + dest.Length);
}

void SaveJpegFile(const std::string& fileName, const TBitmap& bitmap, int quality) {
  const std::vector<uint8_t> jpeg = EncodeJpeg(fileName, bitmap, quality);
  WritePictureFile(fileName, {{jpeg.data(), jpeg.size()}});
}

}  // namespace qv
