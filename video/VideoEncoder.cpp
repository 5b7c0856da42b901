#include "VideoEncoder.h"

#include <algorithm>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/imgutils.h>
#include <libavutil/opt.h>
#include <libswscale/swscale.h>
}

#include "FFmpegSetup.h"

namespace qv {

namespace {

// The MPEG quantiser (2 best .. 31 worst) for a quality of 1 .. 100.
int QuantiserFor(int32_t quality) {
  quality = std::clamp(quality, 1, 100);
  return 2 + (100 - quality) * 29 / 99;
}

// The x264 rate factor (1 best .. 51 worst) for a quality of 1 .. 100; 0 would be lossless in
// a profile few players accept.
double RateFactorFor(int32_t quality) {
  quality = std::clamp(quality, 1, 100);
  return 1.0 + (100 - quality) * 50.0 / 99.0;
}

AVPixelFormat PixelFormatFor(TAVICodec codec) {
  // FFV1 stores the frames losslessly as RGB; the others want 4:2:0 YUV.
  return codec == vc_FFV1 ? AV_PIX_FMT_BGR0 : AV_PIX_FMT_YUV420P;
}

void ApplyRateSettings(AVCodecContext* c, const TAVICompressOptions& o) {
  if (o.Codec == vc_FFV1) return;
  if (o.DataRate > 0) {
    c->bit_rate = int64_t(o.DataRate) * 1000;
  } else if (o.Codec == vc_H264) {
    av_opt_set_double(c->priv_data, "crf", RateFactorFor(o.Quality), 0);
  } else {
    c->flags |= AV_CODEC_FLAG_QSCALE;
    c->global_quality = FF_QP2LAMBDA * QuantiserFor(o.Quality);
  }
}

}  // namespace

std::unique_ptr<TVideoEncoder> TVideoEncoder::Open(const TAVICompressOptions& options,
                                                   int32_t width, int32_t height, uint32_t fps) {
  InitFFmpegLibraries();
  const char* name = AVICodecEncoder(options.Codec);
  const AVCodec* codec = name ? avcodec_find_encoder_by_name(name) : nullptr;
  if (!codec || width <= 0 || height <= 0 || fps == 0) return nullptr;
  // x264 refuses 4:2:0 frames of odd sizes (and loses memory doing so): refuse them here.
  if (options.Codec == vc_H264 && ((width | height) & 1)) return nullptr;
  std::unique_ptr<TVideoEncoder> e(new TVideoEncoder);
  AVCodecContext* c = e->FContext = avcodec_alloc_context3(codec);
  if (!c) return nullptr;
  c->width = width;
  c->height = height;
  c->time_base = AVRational{1, int(fps)};
  c->framerate = AVRational{int(fps), 1};
  c->pix_fmt = PixelFormatFor(options.Codec);
  c->codec_tag = AVICodecFourCC(options.Codec);
  c->max_b_frames = 0;
  if (options.Codec == vc_MotionJPEG) c->color_range = AVCOL_RANGE_JPEG;
  if (options.KeyFrameEvery > 0)
    c->gop_size = options.KeyFrameEvery;
  else if (options.Codec == vc_FFV1)
    c->gop_size = 1;  // lossless frames that each decode on their own
  ApplyRateSettings(c, options);
  if (avcodec_open2(c, codec, nullptr) < 0) return nullptr;

  e->FFrame = av_frame_alloc();
  e->FPacket = av_packet_alloc();
  if (!e->FFrame || !e->FPacket) return nullptr;
  e->FFrame->format = c->pix_fmt;
  e->FFrame->width = width;
  e->FFrame->height = height;
  e->FFrame->color_range = c->color_range;
  if (av_frame_get_buffer(e->FFrame, 0) < 0) return nullptr;
  e->FScaler = sws_getContext(width, height, AV_PIX_FMT_BGR24, width, height, c->pix_fmt,
                              SWS_BICUBIC | SWS_ACCURATE_RND, nullptr, nullptr, nullptr);
  if (!e->FScaler) return nullptr;
  if (c->color_range == AVCOL_RANGE_JPEG) {
    const int* coefficients = sws_getCoefficients(SWS_CS_ITU601);
    sws_setColorspaceDetails(e->FScaler, coefficients, 1, coefficients, 1, 0, 1 << 16, 1 << 16);
  }
  return e;
}

TVideoEncoder::~TVideoEncoder() {
  sws_freeContext(FScaler);
  av_packet_free(&FPacket);
  av_frame_free(&FFrame);
  avcodec_free_context(&FContext);
}

std::vector<uint8_t> TVideoEncoder::ExtraData() const {
  if (!FContext->extradata || FContext->extradata_size <= 0) return {};
  return std::vector<uint8_t>(FContext->extradata, FContext->extradata + FContext->extradata_size);
}

bool TVideoEncoder::Encode(const uint8_t* bits, int32_t stride, const TPacketSink& sink) {
  if (FFlushed || av_frame_make_writable(FFrame) < 0) return false;
  const int h = FContext->height;
  // Bottom-up rows: start at the last row in memory (the top of the picture) and go back.
  const uint8_t* src[1] = {bits + size_t(h - 1) * size_t(stride)};
  const int srcStride[1] = {-stride};
  sws_scale(FScaler, src, srcStride, 0, h, FFrame->data, FFrame->linesize);
  FFrame->pts = FNextPts++;
  FFrame->quality = FContext->global_quality;
  if (avcodec_send_frame(FContext, FFrame) < 0) return false;
  return Drain(sink);
}

bool TVideoEncoder::Flush(const TPacketSink& sink) {
  if (FFlushed) return true;
  FFlushed = true;
  if (avcodec_send_frame(FContext, nullptr) < 0) return false;
  return Drain(sink);
}

bool TVideoEncoder::Drain(const TPacketSink& sink) {
  for (;;) {
    int r = avcodec_receive_packet(FContext, FPacket);
    if (r == AVERROR(EAGAIN) || r == AVERROR_EOF) return true;
    if (r < 0) return false;
    bool ok = sink(FPacket->data, size_t(FPacket->size), (FPacket->flags & AV_PKT_FLAG_KEY) != 0);
    av_packet_unref(FPacket);
    if (!ok) return false;
  }
}

}  // namespace qv
