// The codecs an AVI video can be written with, and the options of the codec choice.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qv {

enum TAVICodec : uint8_t {
  vc_Uncompressed,  // 24-bit bottom-up frames ("DIB ")
  vc_MotionJPEG,    // "MJPG"
  vc_FFV1,          // lossless, "FFV1"
  vc_H264,          // libx264, "H264"
  vc_MPEG4          // MPEG-4 Part 2, "XVID"
};

struct TAVICompressOptions {
  TAVICodec Codec = vc_Uncompressed;
  // 1 (smallest file) .. 100 (best picture); used by the lossy codecs when DataRate is 0.
  int32_t Quality = 75;
  // A key frame every that many frames for FFV1, H.264 and MPEG-4; 0 makes every FFV1 frame
  // a key frame and leaves the others to the codec. Uncompressed and Motion JPEG frames are
  // always key frames.
  int32_t KeyFrameEvery = 0;
  // Target data rate in kbit/s for the lossy codecs; 0 lets the quality decide.
  int32_t DataRate = 0;
  friend bool operator==(const TAVICompressOptions&, const TAVICompressOptions&) = default;
};

// The name shown in the codec choice, for example "Motion JPEG".
std::string AVICodecName(TAVICodec codec);
// The short name used on the command line: "dib", "mjpeg", "ffv1", "h264", "mpeg4".
std::string AVICodecKey(TAVICodec codec);
// The codec with that short name; false when there is none.
bool AVICodecFromKey(const std::string& key, TAVICodec& codec);
// The FourCC the file carries for the codec (strh fccHandler and biCompression); 0 for
// uncompressed frames, whose handler is "DIB ".
uint32_t AVICodecFourCC(TAVICodec codec);
// The FFmpeg encoder behind the codec; nullptr for uncompressed frames.
const char* AVICodecEncoder(TAVICodec codec);
// The codecs the installed FFmpeg libraries can encode, uncompressed first.
std::vector<TAVICodec> AvailableAVICodecs();
bool AVICodecAvailable(TAVICodec codec);

}  // namespace qv
