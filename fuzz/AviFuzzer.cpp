// The AVI reader on arbitrary bytes in a file named ".avi": it opens or answers false, and
// every frame it hands out is a complete bottom-up 24-bit DIB of the size its header gives.
// Frames are asked for in the orders the conversion and the player use: on from 0, back, and
// a jump ahead.
#include <cstdio>
#include <cstdlib>

#include "AVIReader.h"
#include "DibFormat.h"
#include "FuzzSupport.h"


namespace {

[[noreturn]] void Broken(const char* what) {
  std::fprintf(stderr, "AVI frame broken: %s\n", what);
  std::abort();
}

void CheckFrame(const qv::TAVIReader& reader, const uint8_t* dib) {
  if (!dib) return;
  qv::TBitmapInfoHeader h;
  if (!qv::ReadDibHeader(dib, reader.FrameSize(), h)) Broken("shorter than its header");
  if (h.biSize != 40 || h.biBitCount != 24 || h.biWidth <= 0 || h.biHeight <= 0)
    Broken("not a bottom-up 24-bit DIB");
  const size_t expected =
      qv::DibHeaderSize + size_t(qv::DibRowBytes(h.biWidth, 24)) * size_t(h.biHeight);
  if (reader.FrameSize() != expected) Broken("size differs from the header");
  qv::fuzz::TouchBytes(dib, reader.FrameSize());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = qv::fuzz::WriteScratchFile("fuzz.avi", data, size);
  qv::TAVIReader reader;
  if (!reader.OpenAVIFile(path)) {
    if (reader.ErrorMessage().empty()) Broken("failed open without a reason");
    return 0;
  }
  reader.StreamFrameCount();
  for (int32_t n : {0, 1, 2, 3, 1, 0, 9, 4}) CheckFrame(reader, reader.GetFrame(n));
  return 0;
}
