// Reads the video frames of an AVI file (or any other video FFmpeg can open) one by one as
// packed device-independent bitmaps: a 40-byte header directly followed by bottom-up 24-bit
// rows, padded to four bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct AVCodecContext;
struct AVFormatContext;
struct AVFrame;
struct AVPacket;
struct SwsContext;

namespace qv {

class TAVIReader {
 public:
  TAVIReader();
  ~TAVIReader();
  TAVIReader(const TAVIReader&) = delete;
  TAVIReader& operator=(const TAVIReader&) = delete;

  // Opens fn for reading; false with ErrorMessage set when that fails. A file without video
  // stream, or with one no decoder reads, opens, but yields no frames.
  bool OpenAVIFile(const std::string& fn);
  const std::string& ErrorMessage() const { return FErrorMessage; }
  // Frame FrameNr (from 0) as a packed DIB owned by the reader and valid until the next call;
  // nullptr beyond the last frame or when the frame cannot be decoded. Frames are found by
  // their time in the stream: reading on does not seek, a jump seeks to the key frame before.
  const uint8_t* GetFrame(int32_t FrameNr);
  // Bytes of the DIB GetFrame answered last (header included).
  size_t FrameSize() const { return FDib.size(); }
  // The frame rate the reader reports; the file's own rate is not read.
  int32_t FPS() const { return 25; }
  // The frame rate the video stream declares (25 when it declares none), for playing it.
  double StreamFrameRate() const { return double(FRateNum) / FRateDen; }
  // The number of frames the video stream declares (or its duration gives); -1 when unknown.
  int64_t StreamFrameCount() const;
  // Nothing to do: everything is released when the reader is destroyed.
  void CloseAVIFile() {}

 private:
  void Release();
  int OpenInput();
  bool Restart();
  bool SeekBefore(int64_t frameNr);
  bool WorthSeeking(int64_t frameNr) const;
  bool DecodeNext();
  // Decodes on until FLast is the frame shown at FrameNr.
  bool DecodeUpTo(int64_t FrameNr);
  int64_t FrameNumberOf(int64_t timestamp) const;
  int64_t TimestampOf(int64_t frameNr) const;
  const uint8_t* MakeDib(const AVFrame* frame);

  std::string FFileName;
  std::string FErrorMessage;
  AVFormatContext* FFormat = nullptr;
  AVCodecContext* FDecoder = nullptr;
  int FStream = -1;
  int64_t FStartTs = 0;                 // stream time of frame 0
  int32_t FRateNum = 25, FRateDen = 1;  // frames per second of the stream
  AVPacket* FPacket = nullptr;
  AVFrame* FDecoded = nullptr;  // the frame DecodeNext delivered
  AVFrame* FLast = nullptr;     // the latest frame before the one asked for
  int64_t FLastNr = -1;         // its number; -1 when there is none
  bool FHavePending = false;    // FDecoded holds a frame not yet used
  int64_t FDecodedNr = -1;      // its number
  // Number of the next frame the decoder delivers when the stream carries no presentation
  // times (AVI); after a seek it is taken from the first packet read, -1 until then.
  int64_t FNextNr = 0;
  bool FInputEnded = false;
  SwsContext* FScaler = nullptr;
  std::vector<uint8_t> FDib;
  int64_t FDibNr = -1;
};

}  // namespace qv
