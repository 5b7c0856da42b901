#include "CliProgress.h"

#include <algorithm>
#include <csignal>
#include <cstdio>

namespace qv::cli {

namespace {

volatile std::sig_atomic_t gInterrupted = 0;
struct sigaction gPrevious;

extern "C" void OnInterrupt(int) {
  gInterrupted = 1;
}

std::string Duration(int64_t seconds) {
  char buf[32];
  if (seconds >= 3600)
    std::snprintf(buf, sizeof buf, "%lld:%02lld:%02lld", (long long)(seconds / 3600),
                  (long long)(seconds / 60 % 60), (long long)(seconds % 60));
  else
    std::snprintf(buf, sizeof buf, "%lld:%02lld", (long long)(seconds / 60),
                  (long long)(seconds % 60));
  return buf;
}

}  // namespace

TInterruptScope::TInterruptScope() {
  gInterrupted = 0;
  struct sigaction sa = {};
  sa.sa_handler = OnInterrupt;
  sigemptyset(&sa.sa_mask);
  sa.sa_flags = SA_RESETHAND;  // the second Ctrl+C ends the program
  sigaction(SIGINT, &sa, &gPrevious);
}

TInterruptScope::~TInterruptScope() {
  sigaction(SIGINT, &gPrevious, nullptr);
}

bool TInterruptScope::Interrupted() {
  return gInterrupted != 0;
}

TProgressBar::TProgressBar(bool enabled, int64_t total)
    : FEnabled(enabled), FTotal(total), FStart(std::chrono::steady_clock::now()) {}

void TProgressBar::Update(int64_t done) {
  if (!FEnabled) return;
  std::string line = "\r";
  if (FTotal > 0) {
    constexpr int kWidth = 30;
    const int filled = int(std::min<int64_t>(done, FTotal) * kWidth / FTotal);
    line += "[" + std::string(filled, '#') + std::string(kWidth - filled, '-') + "] ";
    line += std::to_string(done) + "/" + std::to_string(FTotal) + " Bilder";
    const double elapsed =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - FStart).count();
    if (done > 0 && done < FTotal)
      line += ", noch " + Duration(int64_t(elapsed / double(done) * double(FTotal - done) + 0.5));
  } else {
    line += std::to_string(done) + " Bilder";
  }
  line += "   ";
  std::fputs(line.c_str(), stderr);
  std::fflush(stderr);
  FDrawn = true;
}

void TProgressBar::Finish() {
  if (!FDrawn) return;
  std::fputs("\n", stderr);
  FDrawn = false;
}

void TCliRenderHost::FrameWritten(int32_t count) {
  FWritten = count;
  FBar.Update(count);
}

void TCliRenderHost::ProcessMessages() {
  if (TInterruptScope::Interrupted()) FStopped = true;
}

}  // namespace qv::cli
