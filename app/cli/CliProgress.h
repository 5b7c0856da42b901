// Long commands on a terminal: Ctrl+C as a stop request, and a progress bar on stderr.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>

#include "RenderHost.h"

namespace qv::cli {

// While an object lives, SIGINT only sets a flag, which the frame loop reads between frames;
// a second Ctrl+C ends the program at once.
class TInterruptScope {
 public:
  TInterruptScope();
  ~TInterruptScope();
  TInterruptScope(const TInterruptScope&) = delete;
  TInterruptScope& operator=(const TInterruptScope&) = delete;
  static bool Interrupted();
};

// One line on stderr, rewritten after every frame: a bar, frames done of the total, and the
// estimated time left. Without a total (0) only the count is shown.
class TProgressBar {
 public:
  TProgressBar(bool enabled, int64_t total);
  void Update(int64_t done);
  // Ends the line.
  void Finish();

 private:
  bool FEnabled;
  int64_t FTotal;
  bool FDrawn = false;
  std::chrono::steady_clock::time_point FStart;
};

// The host of a video run on the command line: progress on stderr, Ctrl+C as stop request,
// and the reason when the video could not be opened.
class TCliRenderHost : public TRenderHost {
 public:
  TCliRenderHost(bool showProgress, int64_t totalFrames) : FBar(showProgress, totalFrames) {}
  void FrameWritten(int32_t count) override;
  void ProcessMessages() override;
  void VideoNotOpened(const std::string& reason) override { FNotOpened = reason; }

  int32_t FramesWritten() const { return FWritten; }
  const std::string& NotOpenedReason() const { return FNotOpened; }
  TProgressBar& Bar() { return FBar; }

 private:
  TProgressBar FBar;
  int32_t FWritten = 0;
  std::string FNotOpened;
};

}  // namespace qv::cli
