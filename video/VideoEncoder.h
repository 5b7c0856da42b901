// One codec of the AVI writer: FFmpeg's encoder fed with 24-bit bottom-up frames, converted to
// the codec's pixel format by libswscale. Never produces B-frames, so the packets come in the
// order of the frames.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "CompressOptions.h"

struct AVCodecContext;
struct AVFrame;
struct AVPacket;
struct SwsContext;

namespace qv {

// Receives one encoded frame; answers false when it could not be stored.
using TPacketSink = std::function<bool(const uint8_t* data, size_t size, bool keyFrame)>;

class TVideoEncoder {
 public:
  // The encoder of options.Codec (not vc_Uncompressed) for width x height frames at fps;
  // nullptr when the codec is missing or refuses the settings.
  static std::unique_ptr<TVideoEncoder> Open(const TAVICompressOptions& options, int32_t width,
                                             int32_t height, uint32_t fps);
  ~TVideoEncoder();
  TVideoEncoder(const TVideoEncoder&) = delete;
  TVideoEncoder& operator=(const TVideoEncoder&) = delete;

  // The codec data that follows the bitmap header in the stream format (often empty).
  std::vector<uint8_t> ExtraData() const;
  // Encodes one frame of bottom-up 24-bit rows, stride bytes apart, and hands on every
  // packet that is ready. False when encoding or the sink fails.
  bool Encode(const uint8_t* bits, int32_t stride, const TPacketSink& sink);
  // Hands on the frames the codec still holds; afterwards no more frames are accepted.
  bool Flush(const TPacketSink& sink);

 private:
  TVideoEncoder() = default;
  bool Drain(const TPacketSink& sink);

  AVCodecContext* FContext = nullptr;
  AVFrame* FFrame = nullptr;
  AVPacket* FPacket = nullptr;
  SwsContext* FScaler = nullptr;
  int64_t FNextPts = 0;
  bool FFlushed = false;
};

}  // namespace qv
