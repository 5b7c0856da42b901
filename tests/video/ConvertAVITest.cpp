#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "CompressorDialog.h"
#include "ConvertAVI.h"
#include "ScriptedDialogs.h"
#include "VideoTestTools.h"

namespace qv {
namespace {

constexpr int W = 321, H = 241, Frames = 12;

// A lossless source of the test pictures at 30 frames per second, made by ffmpeg.
std::string MakeSource(const test::TTempDir& dir) {
  const std::string file = dir.File("source.avi");
  EXPECT_TRUE(test::EncodeTestFrames(file, W, H, 30, Frames, "-c:v ffv1 -pix_fmt bgr0"));
  return file;
}

// Rows from the top of the test picture n, cut to w x h.
std::vector<uint8_t> Cut(int n, int w, int h) {
  auto full = test::TopDown(test::TestFrame(W, H, n), W, H);
  std::vector<uint8_t> out;
  for (int y = 0; y < h; ++y)
    out.insert(out.end(), full.begin() + y * W * 3, full.begin() + (y * W + w) * 3);
  return out;
}

TEST(ConvertAVI, TargetHasTheSourceFramesCutToMultiplesOfEightAt25PerSecond) {
  test::TTempDir dir;
  TScriptedDialogs dialogs;
  TFixedCompressorDialog choice;  // keeps the preset: uncompressed
  TCompressorDialogScope scope(choice);
  const std::string target = dir.File("clip_1.AVI");
  std::vector<int32_t> shown;
  ASSERT_TRUE(ConvertAVI(MakeSource(dir), target, [&](const TBitmap& frame, int32_t n) {
    EXPECT_EQ(frame.Width(), W);
    EXPECT_EQ(frame.Height(), H);
    shown.push_back(n);
    return false;
  }));
  EXPECT_TRUE(dialogs.Shown().empty());
  EXPECT_EQ(choice.Calls(), 1);  // the codec choice is always offered
  EXPECT_EQ(shown.size(), size_t(Frames));
  auto probe = test::Probe(target);
  EXPECT_EQ(probe.Codec, "rawvideo");
  EXPECT_EQ(probe.Rate, "25/1");
  EXPECT_EQ(probe.Width, 320);
  EXPECT_EQ(probe.Height, 240);
  auto frames = test::DecodeWithFFmpeg(target, 320, 240);
  ASSERT_EQ(frames.size(), size_t(Frames));
  for (int n = 0; n < Frames; ++n) EXPECT_EQ(frames[n], Cut(n, 320, 240)) << "frame " << n;
}

TEST(ConvertAVI, StopKeepsTheFramesWrittenSoFar) {
  test::TTempDir dir;
  const std::string target = dir.File("stopped.avi");
  ASSERT_TRUE(
      ConvertAVI(MakeSource(dir), target, [](const TBitmap&, int32_t n) { return n == 4; }));
  auto frames = test::DecodeWithFFmpeg(target, 320, 240);
  ASSERT_EQ(frames.size(), 5u);
  EXPECT_EQ(frames[4], Cut(4, 320, 240));
}

TEST(ConvertAVI, UnreadableSourcesAreReportedAndWriteNothing) {
  test::TTempDir dir;
  const std::string sound = dir.File("sound.avi");
  ASSERT_TRUE(test::MakeSoundOnlyAVI(sound));
  std::ofstream(dir.File("clip.xyz")) << "RIFF";
  const struct {
    std::string Source;
    const char* Message;
  } cases[] = {
      {dir.File("missing.avi"), "A disk error occurred while opening the file."},
      {dir.File("clip.xyz"), "no Handler for .xyz"},
      {sound, "konnte ersten Frame nicht laden"},
  };
  for (const auto& c : cases) {
    TScriptedDialogs dialogs;
    const std::string target = dir.File("target.avi");
    EXPECT_FALSE(ConvertAVI(c.Source, target));
    EXPECT_EQ(dialogs.Texts(TScriptedDialogs::TKind::Message), std::vector<std::string>{c.Message});
    EXPECT_FALSE(std::filesystem::exists(target));
  }
}

TEST(ConvertAVI, CancelledCodecChoiceEndsSilently) {
  test::TTempDir dir;
  TScriptedDialogs dialogs;
  TFixedCompressorDialog cancel = TFixedCompressorDialog::Cancelling();
  TCompressorDialogScope scope(cancel);
  const std::string target = dir.File("never.avi");
  EXPECT_FALSE(ConvertAVI(MakeSource(dir), target));
  EXPECT_TRUE(dialogs.Shown().empty());
  EXPECT_FALSE(std::filesystem::exists(target));
}

}  // namespace
}  // namespace qv
