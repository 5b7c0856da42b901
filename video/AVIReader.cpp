#include "AVIReader.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/pixdesc.h>
#include <libswscale/swscale.h>
}

#include "DibFormat.h"
#include "FFmpegSetup.h"

namespace qv {

namespace {

// True when some demuxer claims the extension of fn (the way the file is meant to be read).
bool HandlerForExtension(const std::string& fn) {
  void* it = nullptr;
  while (const AVInputFormat* f = av_demuxer_iterate(&it))
    if (f->extensions && av_match_ext(fn.c_str(), f->extensions)) return true;
  return false;
}

std::string OpenErrorText(int err) {
  if (err == AVERROR_INVALIDDATA || err == AVERROR_EOF)
    return "The file couldn't be read, indicating a corrupt file or an unrecognized format.";
  if (err == AVERROR(ENOMEM)) return "The file could not be opened because of insufficient memory.";
  if (err == AVERROR(EIO) || err == AVERROR(EISDIR))
    return "A disk error occurred while reading the file.";
  if (err == AVERROR(ENOENT) || err == AVERROR(EACCES) || err == AVERROR(EPERM) ||
      err == AVERROR(ENOTDIR) || err == AVERROR(ENAMETOOLONG) || err == AVERROR(ELOOP))
    return "A disk error occurred while opening the file.";
  return "File open failed";
}

bool FullRange(const AVFrame* f) {
  switch (f->format) {
    case AV_PIX_FMT_YUVJ420P:
    case AV_PIX_FMT_YUVJ422P:
    case AV_PIX_FMT_YUVJ444P:
    case AV_PIX_FMT_YUVJ440P:
    case AV_PIX_FMT_YUVJ411P:
      return true;
    default:
      return f->color_range == AVCOL_RANGE_JPEG;
  }
}

}  // namespace

TAVIReader::TAVIReader() = default;

TAVIReader::~TAVIReader() {
  Release();
  sws_freeContext(FScaler);
}

void TAVIReader::Release() {
  avcodec_free_context(&FDecoder);
  avformat_close_input(&FFormat);
  av_packet_free(&FPacket);
  av_frame_free(&FDecoded);
  av_frame_free(&FLast);
  FStream = -1;
  FLastNr = -1;
  FHavePending = false;
  FInputEnded = false;
  FNextNr = 0;
}

bool TAVIReader::OpenAVIFile(const std::string& fn) {
  InitFFmpegLibraries();
  Release();
  FDib.clear();
  FDibNr = -1;
  FFileName = fn;
  if (!HandlerForExtension(fn)) {
    FErrorMessage = "no Handler for " + std::filesystem::path(fn).extension().string();
    return false;
  }
  int err = OpenInput();
  if (err < 0) {
    FErrorMessage = OpenErrorText(err);
    Release();
    return false;
  }
  return true;
}

int TAVIReader::OpenInput() {
  int err = avformat_open_input(&FFormat, FFileName.c_str(), nullptr, nullptr);
  if (err < 0) return err;
  avformat_find_stream_info(FFormat, nullptr);  // what it cannot find stays unknown
  FPacket = av_packet_alloc();
  FDecoded = av_frame_alloc();
  FLast = av_frame_alloc();
  if (!FPacket || !FDecoded || !FLast) return AVERROR(ENOMEM);
  for (unsigned i = 0; i < FFormat->nb_streams; ++i) {
    AVStream* st = FFormat->streams[i];
    const bool video = st->codecpar->codec_type == AVMEDIA_TYPE_VIDEO &&
                       !(st->disposition & AV_DISPOSITION_ATTACHED_PIC);
    if (video && FStream < 0)
      FStream = int(i);
    else
      st->discard = AVDISCARD_ALL;
  }
  if (FStream < 0) return 0;
  AVStream* st = FFormat->streams[FStream];
  FStartTs = st->start_time != AV_NOPTS_VALUE ? st->start_time : 0;
  AVRational rate = st->avg_frame_rate.num > 0 && st->avg_frame_rate.den > 0 ? st->avg_frame_rate
                                                                             : st->r_frame_rate;
  if (rate.num <= 0 || rate.den <= 0) rate = AVRational{25, 1};
  FRateNum = rate.num;
  FRateDen = rate.den;
  const AVCodec* codec = avcodec_find_decoder(st->codecpar->codec_id);
  if (!codec) return 0;
  FDecoder = avcodec_alloc_context3(codec);
  if (!FDecoder) return AVERROR(ENOMEM);
  FDecoder->thread_count = 0;
  if (avcodec_parameters_to_context(FDecoder, st->codecpar) < 0 ||
      avcodec_open2(FDecoder, codec, nullptr) < 0) {
    avcodec_free_context(&FDecoder);  // no decoder: the file opens, its frames stay unread
  } else {
    FDecoder->pkt_timebase = st->time_base;
  }
  return 0;
}

int64_t TAVIReader::StreamFrameCount() const {
  if (!FFormat || FStream < 0) return -1;
  const AVStream* st = FFormat->streams[FStream];
  if (st->nb_frames > 0) return st->nb_frames;
  if (st->duration > 0) return FrameNumberOf(FStartTs + st->duration);
  return -1;
}

bool TAVIReader::Restart() {
  Release();
  return OpenInput() >= 0 && FDecoder;
}

int64_t TAVIReader::FrameNumberOf(int64_t ts) const {
  return av_rescale_q_rnd(ts - FStartTs, FFormat->streams[FStream]->time_base,
                          AVRational{FRateDen, FRateNum},
                          AVRounding(AV_ROUND_NEAR_INF | AV_ROUND_PASS_MINMAX));
}

int64_t TAVIReader::TimestampOf(int64_t frameNr) const {
  return FStartTs + av_rescale_q(frameNr, AVRational{FRateDen, FRateNum},
                                 FFormat->streams[FStream]->time_base);
}

bool TAVIReader::WorthSeeking(int64_t frameNr) const {
  const int64_t next = FHavePending ? FDecodedNr : FLastNr + 1;
  if (frameNr <= next) return false;
  AVStream* st = FFormat->streams[FStream];
  int i = av_index_search_timestamp(st, TimestampOf(frameNr), AVSEEK_FLAG_BACKWARD);
  if (i < 0) return false;
  const AVIndexEntry* key = avformat_index_get_entry(st, i);
  return key && key->timestamp > TimestampOf(next);
}

bool TAVIReader::SeekBefore(int64_t frameNr) {
  if (frameNr == 0 ||
      av_seek_frame(FFormat, FStream, TimestampOf(frameNr), AVSEEK_FLAG_BACKWARD) < 0)
    return Restart();
  avcodec_flush_buffers(FDecoder);
  FLastNr = -1;
  FHavePending = false;
  FInputEnded = false;
  FNextNr = -1;
  return true;
}

bool TAVIReader::DecodeNext() {
  for (;;) {
    int r = avcodec_receive_frame(FDecoder, FDecoded);
    if (r == 0) {
      // Frames in AVI files carry no presentation time: they are counted, which is right as
      // the decoder delivers them in display order.
      FDecodedNr = FDecoded->pts != AV_NOPTS_VALUE ? FrameNumberOf(FDecoded->pts)
                                                   : std::max<int64_t>(FNextNr, 0);
      FNextNr = FDecodedNr + 1;
      return true;
    }
    if (r != AVERROR(EAGAIN)) return false;  // the end, or a decoder that gave up
    if (FInputEnded) return false;
    if (av_read_frame(FFormat, FPacket) < 0) {
      FInputEnded = true;
      avcodec_send_packet(FDecoder, nullptr);
      continue;
    }
    if (FPacket->stream_index == FStream) {
      if (FNextNr < 0) {
        const int64_t ts = FPacket->pts != AV_NOPTS_VALUE ? FPacket->pts : FPacket->dts;
        FNextNr = ts != AV_NOPTS_VALUE ? FrameNumberOf(ts) : 0;
      }
      avcodec_send_packet(FDecoder, FPacket);  // a damaged packet is left out
    }
    av_packet_unref(FPacket);
  }
}

const uint8_t* TAVIReader::GetFrame(int32_t FrameNr) {
  if (!FDecoder || FrameNr < 0) return nullptr;
  if (FrameNr == FDibNr) return FDib.data();
  if (FrameNr != FLastNr && !DecodeUpTo(FrameNr)) return nullptr;
  const uint8_t* dib = MakeDib(FLast);
  FDibNr = dib ? FrameNr : -1;
  return dib;
}

bool TAVIReader::DecodeUpTo(int64_t FrameNr) {
  if ((FLastNr >= 0 && FrameNr < FLastNr) || WorthSeeking(FrameNr)) {
    if (!SeekBefore(FrameNr)) return false;
  }
  bool restarted = false;
  for (;;) {
    if (!FHavePending) {
      if (!DecodeNext()) return false;
      FHavePending = true;
    }
    const int64_t nr = FDecodedNr;
    if (nr > FrameNr) {
      // Frame FrameNr repeats the picture before it (a dropped frame); a seek that went too
      // far starts again from the beginning.
      if (FLastNr >= 0) return true;
      if (!restarted && FrameNr > 0) {
        if (!Restart()) return false;
        restarted = true;
        continue;
      }
    }
    av_frame_unref(FLast);
    av_frame_move_ref(FLast, FDecoded);
    FHavePending = false;
    FLastNr = nr;
    if (nr >= FrameNr) return true;
  }
}

const uint8_t* TAVIReader::MakeDib(const AVFrame* frame) {
  const int w = frame->width, h = frame->height;
  const AVPixelFormat fmt = AVPixelFormat(frame->format);
  FScaler = sws_getCachedContext(FScaler, w, h, fmt, w, h, AV_PIX_FMT_BGR24,
                                 SWS_BICUBIC | SWS_ACCURATE_RND, nullptr, nullptr, nullptr);
  if (!FScaler || w <= 0 || h <= 0) return nullptr;
  const AVPixFmtDescriptor* desc = av_pix_fmt_desc_get(fmt);
  if (desc && !(desc->flags & AV_PIX_FMT_FLAG_RGB)) {
    const int cs = frame->colorspace == AVCOL_SPC_BT709 ? SWS_CS_ITU709 : SWS_CS_DEFAULT;
    sws_setColorspaceDetails(FScaler, sws_getCoefficients(cs), FullRange(frame) ? 1 : 0,
                             sws_getCoefficients(SWS_CS_DEFAULT), 1, 0, 1 << 16, 1 << 16);
  }
  const uint32_t stride = DibRowBytes(w, 24);
  FDib.assign(DibHeaderSize + size_t(stride) * h, 0);
  PutDibHeader(FDib.data(), DibHeader(w, h));
  uint8_t* dst[1] = {FDib.data() + DibHeaderSize + size_t(h - 1) * stride};
  const int dstStride[1] = {-int(stride)};
  sws_scale(FScaler, frame->data, frame->linesize, 0, h, dst, dstStride);
  return FDib.data();
}

}  // namespace qv
