#include "RenderMultiMorph.h"

#include "CreateAVI.h"
#include "Dialogs.h"
#include "MorphError.h"
#include "MultiMorph.h"
#include "RenderMorph.h"

namespace qv {

namespace {

// A sequence whose settings were never opened has the rate 0, which no player can use.
constexpr int32_t kDefaultSequenceRate = 25;

// The frames of one run on an open writer; true when the last one was written.
bool WriteSequenceFrames(TRenderHost& host, TMultiMorph& mm, TAVICreator& writer) {
  const int32_t total = mm.FrameCount();
  host.SetProgressMax(total);
  bool more = mm.GetFirstFrame();
  for (int32_t k = 0; more; ++k) {
    host.SetProgressPosition(k);
    writer.AddAVIFrame(mm.BgBmp());
    host.FrameWritten(writer.AVIFrameIndex());
    host.ProcessMessages();
    if (host.FStopped) return false;
    more = mm.GetNextFrame();
  }
  host.SetProgressPosition(total);
  return true;
}

}  // namespace

int32_t SequenceVideoRate(const TMultiMorph& mm) {
  return mm.FramesPerSecond() > 0 ? mm.FramesPerSecond() : kDefaultSequenceRate;
}

bool RenderMultiMorphAVI(TRenderHost& host, TMultiMorph& mm, const std::string& fileName) {
  host.FStopped = false;
  mm.InitializeSequences();
  const std::string left = mm.UnrenderableText();
  if (!left.empty()) Dialogs().ShowInformation(left);
  if (mm.FrameCount() == 0) return false;

  TAVICreator writer;
  writer.SetFPS(uint8_t(SequenceVideoRate(mm)));
  writer.SetWidth(mm.Width());
  writer.SetHeight(mm.Height());
  writer.SetFilename(fileName);
  if (!writer.CreateAVIFile(mm.ShowCompressDialog(), {av_video})) {
    host.VideoNotOpened(writer.FailureText());
    return false;
  }
  return WriteAndCloseVideo(
      host, writer,
      [&] {
        host.FFileCreating = true;
        return WriteSequenceFrames(host, mm, writer);
      },
      [&] { mm.CloseFrames(); });
}

}  // namespace qv
