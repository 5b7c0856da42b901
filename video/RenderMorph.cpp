#include "RenderMorph.h"

#include "CreateAVI.h"
#include "Easing.h"
#include "Morph.h"
#include "MorphError.h"

namespace qv {

void RenderMorphFrame(TRenderHost& host, TMorphing& M, int32_t nomi, int32_t denom,
                      TOddEvenBoth OddEvenBoth, bool BgDraw) {
  M.UpdateTargetAngles(nomi, denom);
  M.UpdateTargetPict();
  M.Make1Frame(nomi, denom, OddEvenBoth, BgDraw);
  if (OddEvenBoth == oe_both || !BgDraw) {
    host.ShowFrame(M.TargetBmp());
    if (M.withBG()) M.updateBgBmp();
  }
}

namespace {

// One run of the frame loop on an open writer.
class TMorphVideoRun {
 public:
  TMorphVideoRun(TRenderHost& host, TMorphing& M, TAVICreator& writer)
      : FHost(host),
        M(M),
        FWriter(writer),
        F(M.FramesMorph()),
        S(M.StillImagesAtStart()),
        E(M.StillImagesAtEnd()),
        n(2 * F) {}

  // Steps 4 to 10 of a video: true when the last frame was reached.
  bool Run() {
    FHost.FFileCreating = true;
    FHost.SetProgressMax(2 * (S + E) + n);
    M.optimizeXRange(xa, xe);
    M.MakeFramesInit();
    StartFrames();
    Transition();
    if (FHost.FStopped) return false;
    EndFrames();
    return true;
  }

 private:
  void WriteOutput() {
    FWriter.AddAVIFrame(M.withBG() ? M.BgBmp() : M.TargetBmp());
    FHost.FrameWritten(FWriter.AVIFrameIndex());
  }

  // The start picture, S + 1 times.
  void StartFrames() {
    RenderMorphFrame(FHost, M, 0, n, oe_both, true);
    FHost.ShowFrame(M.TargetBmp());
    if (M.withBG()) M.updateBgBmp();
    for (int32_t k = 0; k < S; ++k) {
      FHost.SetProgressPosition(2 * k);
      WriteOutput();
      FHost.ProcessMessages();
      if (FHost.FStopped) break;
    }
    WriteOutput();
    FHost.ProcessMessages();
  }

  // Samples 0 .. n of the half-step grid; a frame is written at every odd sample.
  void Transition() {
    for (int32_t i = 0; i <= n && !FHost.FStopped; ++i) {
      FHost.SetProgressPosition(2 * S + i);
      const int32_t nomi =
          EasedSamplePosition(i, n, xa, xe, M.SmoothAtStart(), M.SmoothAtEnd()).nomi;
      const bool even = i % 2 == 0;
      switch (M.InterlaceType()) {
        case it_none:
          if (even) RenderMorphFrame(FHost, M, nomi, n, oe_both, true);
          break;
        case it_upperFirst:
          RenderMorphFrame(FHost, M, nomi, n, even ? oe_even : oe_odd, even);
          break;
        case it_LowerFirst:
          RenderMorphFrame(FHost, M, nomi, n, even ? oe_odd : oe_even, even);
          break;
      }
      if (!even) {
        if (M.withBG()) M.updateBgBmp();
        WriteOutput();
        FHost.ProcessMessages();
      }
    }
  }

  // The end picture, E + 1 times.
  void EndFrames() {
    RenderMorphFrame(FHost, M, n, n, oe_both, true);
    if (M.withBG()) M.updateBgBmp();
    for (int32_t k = 0; k <= E; ++k) {
      if (FHost.FStopped) break;
      WriteOutput();
      FHost.ProcessMessages();
      FHost.SetProgressPosition(2 * (S + k) + n);
    }
  }

  TRenderHost& FHost;
  TMorphing& M;
  TAVICreator& FWriter;
  const int32_t F, S, E, n;
  long double xa = 0, xe = 0;
};

// The host's progress bar as it was before the run, put back afterwards.
struct TSavedProgress {
  explicit TSavedProgress(const TRenderHost& host)
      : Max(host.ProgressMax()), Position(host.ProgressPosition()) {}
  void Restore(TRenderHost& host) const {
    host.SetProgressMax(Max);
    host.SetProgressPosition(Position);
  }
  int32_t Max, Position;
};

void SetVideoSize(TMorphing& M, TAVICreator& writer) {
  if (M.withBG()) {
    writer.SetWidth(M.BackGround().Width());
    writer.SetHeight(M.BackGround().Height());
    M.BackGround().AsureBGBMP();
  } else {
    writer.SetWidth(M.Width());
    writer.SetHeight(M.Height());
  }
}

}  // namespace

bool RenderMorphAVI(TRenderHost& host, TMorphing& M, const std::string& fileName) {
  CheckFrameCount(M.FramesMorph());
  host.FStopped = false;
  TAVICreator writer;
  writer.SetFPS(uint8_t(M.FramesPerSecond()));
  SetVideoSize(M, writer);
  writer.SetFilename(fileName);
  const TSavedProgress saved(host);
  if (!writer.CreateAVIFile(M.ShowCompressDialog(), {av_video})) return false;

  const auto finish = [&] {
    M.MakeFramesClose();
    host.FFileCreating = false;
    saved.Restore(host);
    writer.CloseAVIFile(false);
  };
  bool reachedEnd = false;
  try {
    reachedEnd = TMorphVideoRun(host, M, writer).Run();
  } catch (...) {
    try {
      finish();
    } catch (const EMorphError&) {
      // The error that ended the loop is the one to report.
    }
    throw;
  }
  finish();
  return reachedEnd;
}

}  // namespace qv
