#include "CompressOptions.h"

extern "C" {
#include <libavcodec/avcodec.h>
}

#include "AVIFileWriter.h"

namespace qv {

namespace {

struct TCodecInfo {
  TAVICodec Codec;
  const char* Key;
  const char* Name;
  const char* Encoder;
  uint32_t FourCC;
};

constexpr TCodecInfo kCodecs[] = {
    {vc_Uncompressed, "dib", "Unkomprimiert", nullptr, 0},
    {vc_MotionJPEG, "mjpeg", "Motion JPEG", "mjpeg", FourCC("MJPG")},
    {vc_FFV1, "ffv1", "FFV1 (verlustfrei)", "ffv1", FourCC("FFV1")},
    {vc_H264, "h264", "H.264", "libx264", FourCC("H264")},
    {vc_MPEG4, "mpeg4", "MPEG-4 Part 2", "mpeg4", FourCC("XVID")},
};

const TCodecInfo& Info(TAVICodec codec) {
  for (const TCodecInfo& c : kCodecs)
    if (c.Codec == codec) return c;
  return kCodecs[0];
}

}  // namespace

std::string AVICodecName(TAVICodec codec) {
  return Info(codec).Name;
}
std::string AVICodecKey(TAVICodec codec) {
  return Info(codec).Key;
}
uint32_t AVICodecFourCC(TAVICodec codec) {
  return Info(codec).FourCC;
}
const char* AVICodecEncoder(TAVICodec codec) {
  return Info(codec).Encoder;
}

bool AVICodecFromKey(const std::string& key, TAVICodec& codec) {
  for (const TCodecInfo& c : kCodecs)
    if (key == c.Key) {
      codec = c.Codec;
      return true;
    }
  return false;
}

bool AVICodecAvailable(TAVICodec codec) {
  const char* encoder = AVICodecEncoder(codec);
  return !encoder || avcodec_find_encoder_by_name(encoder) != nullptr;
}

std::vector<TAVICodec> AvailableAVICodecs() {
  std::vector<TAVICodec> out;
  for (const TCodecInfo& c : kCodecs)
    if (AVICodecAvailable(c.Codec)) out.push_back(c.Codec);
  return out;
}

}  // namespace qv
