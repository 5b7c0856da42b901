#include "RenderMorph.h"

#include "CreateAVI.h"
#include "Easing.h"
#include "Morph.h"
#include "MorphError.h"
#include "MorphFrames.h"

namespace qv {

void RenderMorphFrame(TRenderHost& host, TMorphing& M, int32_t nomi, int32_t denom,
                      TOddEvenBoth OddEvenBoth, bool BgDraw) {
  if (MakeMorphFrame(M, nomi, denom, OddEvenBoth, BgDraw)) host.ShowFrame(M.TargetBmp());
}

namespace {

// One run of the frame loop on an open writer.
class TMorphVideoRun {
 public:
  TMorphVideoRun(TRenderHost& host, TMorphing& M, TAVICreator& writer)
      : FHost(host),
        FWriter(writer),
        FFrames(M, [&host](const TBitmap& frame) { host.ShowFrame(frame); }),
        S(M.StillImagesAtStart()),
        E(M.StillImagesAtEnd()),
        n(FFrames.SampleCount()) {}

  // Steps 4 to 10 of a video: true when the last frame was reached.
  bool Run() {
    FHost.FFileCreating = true;
    FHost.SetProgressMax(2 * (S + E) + n);
    FFrames.Init();
    StartFrames();
    Transition();
    if (FHost.FStopped) return false;
    EndFrames();
    return true;
  }

 private:
  void WriteOutput() {
    FWriter.AddAVIFrame(FFrames.Output());
    FHost.FrameWritten(FWriter.AVIFrameIndex());
  }

  // The start picture, S + 1 times.
  void StartFrames() {
    FFrames.StartFrame();
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
      if (FFrames.Sample(i)) {
        WriteOutput();
        FHost.ProcessMessages();
      }
    }
  }

  // The end picture, E + 1 times.
  void EndFrames() {
    FFrames.EndFrame();
    for (int32_t k = 0; k <= E; ++k) {
      if (FHost.FStopped) break;
      WriteOutput();
      FHost.ProcessMessages();
      FHost.SetProgressPosition(2 * (S + k) + n);
    }
  }

  TRenderHost& FHost;
  TAVICreator& FWriter;
  TMorphFrames FFrames;
  const int32_t S, E, n;
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
  if (!writer.CreateAVIFile(M.ShowCompressDialog(), {av_video})) {
    host.VideoNotOpened(writer.FailureText());
    return false;
  }
  return WriteAndCloseVideo(
      host, writer, [&] { return TMorphVideoRun(host, M, writer).Run(); },
      [&] { M.MakeFramesClose(); });
}

bool WriteAndCloseVideo(TRenderHost& host, TAVICreator& writer, const std::function<bool()>& write,
                        const std::function<void()>& close) {
  const TSavedProgress saved(host);
  const auto finish = [&] {
    close();
    host.FFileCreating = false;
    saved.Restore(host);
    writer.CloseAVIFile(false);
  };
  bool reachedEnd = false;
  try {
    reachedEnd = write();
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
