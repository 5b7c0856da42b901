// What the main window lends to a video run: the target pane that shows finished frames, the
// progress bar (the preview track bar in the editor), the processing of pending window
// messages between frames, and the two flags that coordinate a run with the rest of the
// window. The editor's main window derives from it; the command line has a terminal version.
#pragma once

#include <cstdint>
#include <string>

namespace qv {

class TBitmap;

class TRenderHost {
 public:
  virtual ~TRenderHost() = default;

  // A stop request (Escape, the pause button, the close query, Ctrl+C on the command line).
  // Cleared by a loop when it starts.
  bool FStopped = false;
  // True while a video is being written; the preview track bar ignores its own changes then.
  bool FFileCreating = false;

  // Shows a completely computed frame (the target bitmap) in the target pane.
  virtual void ShowFrame(const TBitmap& frame) { (void)frame; }
  // The progress bar's range and position.
  virtual int32_t ProgressMax() const { return FProgressMax; }
  virtual void SetProgressMax(int32_t value) { FProgressMax = value; }
  virtual int32_t ProgressPosition() const { return FProgressPosition; }
  virtual void SetProgressPosition(int32_t value) { FProgressPosition = value; }
  // Called after every frame handed to the writer, with the number of frames written so far.
  virtual void FrameWritten(int32_t count) { (void)count; }
  // Processes pending window messages; this is where a stop request can arrive.
  virtual void ProcessMessages() {}
  // The writer could not open the video (reason empty when the codec choice was cancelled).
  // The editor reports nothing then; the command line tells why.
  virtual void VideoNotOpened(const std::string& reason) { (void)reason; }

 private:
  int32_t FProgressMax = 0;
  int32_t FProgressPosition = 0;
};

}  // namespace qv
