// The video of a morphing: frame counts, the positions of the frames and fields, the size with
// and without background, stopping, refusing and cleaning up.
#include <gtest/gtest.h>

#include <filesystem>

#include "CompressorDialog.h"
#include "Easing.h"
#include "MorphError.h"
#include "MorphScene.h"
#include "RenderMorph.h"
#include "ScriptedDialogs.h"
#include "VideoTestTools.h"

namespace qv {
namespace {

// A host that records what the loop asks of the window and can stop or fail after a number
// of frames.
class TTestHost : public TRenderHost {
 public:
  int StopAfter = -1;   // set FStopped when this many frames are written
  int ThrowAfter = -1;  // raise an error from the message processing then
  int Written = 0, Shown = 0, Processed = 0;
  int MaxDuringRun = 0;
  bool CreatingDuringRun = false;

  void ShowFrame(const TBitmap&) override { ++Shown; }
  void FrameWritten(int32_t count) override { Written = count; }
  void VideoNotOpened(const std::string& reason) override { NotOpened.push_back(reason); }
  std::vector<std::string> NotOpened;
  void ProcessMessages() override {
    ++Processed;
    CreatingDuringRun = FFileCreating;
    MaxDuringRun = ProgressMax();
    if (Written == StopAfter) FStopped = true;
    if (Written == ThrowAfter) throw EMorphError("Abbruch im Test");
  }
};

class RenderMorph : public ::testing::Test {
 protected:
  static constexpr int W = 48, H = 40;
  void SetUp() override { test::BuildMorphScene(m, dir, W, H); }
  bool Render() { return RenderMorphAVI(host, m, file); }
  std::vector<std::vector<uint8_t>> Decoded(int w = W, int h = H) {
    return test::DecodeWithFFmpeg(file, w, h);
  }

  TScriptedDialogs dialogs;
  test::TTempDir dir;
  std::string file = dir.File("out.avi");
  TMorphing m;
  TTestHost host;
};

TEST_F(RenderMorph, FiftyLinearFramesGiveFiftyTwoFramesAtTheirPositions) {
  m.SetFramesMorph(50);
  m.SetSmoothAtStart(false);
  m.SetSmoothAtEnd(false);
  ASSERT_TRUE(Render());

  const test::TProbe p = test::Probe(file);
  EXPECT_EQ(p.Codec, "rawvideo");
  EXPECT_EQ(p.Rate, "25/1");
  EXPECT_EQ(p.Width, W);
  EXPECT_EQ(p.Height, H);
  EXPECT_EQ(p.Packets, 52);
  auto frames = Decoded();
  ASSERT_EQ(frames.size(), 52u);
  const auto start = test::EngineFrame(m, 0, 100);
  EXPECT_EQ(frames[0], start);
  EXPECT_EQ(frames[1], start);
  for (int k = 2; k <= 51; ++k)
    ASSERT_EQ(frames[k - 1], test::EngineFrame(m, 2 * (k - 2), 100)) << "frame " << k;
  EXPECT_EQ(frames[51], test::EngineFrame(m, 100, 100));
  EXPECT_NE(frames[2], frames[3]);
}

TEST_F(RenderMorph, StillFramesAndFrameRate) {
  struct Case {
    int F, S, E, fps;
  } cases[] = {{3, 0, 0, 25}, {2, 25, 0, 25}, {4, 1, 3, 30}, {1, 0, 5, 12}};
  for (const Case& c : cases) {
    m.SetFramesMorph(c.F);
    m.SetStillImagesAtStart(c.S);
    m.SetStillImagesAtEnd(c.E);
    m.SetFramesPerSecond(c.fps);
    ASSERT_TRUE(Render());
    const test::TProbe p = test::Probe(file);
    EXPECT_EQ(p.Packets, c.S + c.F + c.E + 2) << c.F << " " << c.S << " " << c.E;
    EXPECT_EQ(p.Rate, std::to_string(c.fps) + "/1");
    auto frames = Decoded();
    ASSERT_EQ(int(frames.size()), c.S + c.F + c.E + 2);
    for (int k = 0; k <= c.S; ++k) EXPECT_EQ(frames[k], frames[0]);
    for (int k = 0; k <= c.E; ++k) EXPECT_EQ(frames[frames.size() - 1 - k], frames.back());
    EXPECT_EQ(frames.back(), test::EngineFrame(m, 1, 1));
    EXPECT_EQ(host.MaxDuringRun, 2 * (c.S + c.E) + 2 * c.F);
  }
}

TEST_F(RenderMorph, EasedFramesFollowTheEngineCurve) {
  m.SetFramesMorph(6);
  ASSERT_TRUE(m.SmoothAtStart() && m.SmoothAtEnd());
  ASSERT_TRUE(Render());
  long double xa, xe;
  m.optimizeXRange(xa, xe);
  auto frames = Decoded();
  ASSERT_EQ(frames.size(), 8u);
  for (int j = 0; j < 6; ++j) {
    const int32_t nomi = EasedSamplePosition(2 * j, 12, xa, xe, true, true).nomi;
    EXPECT_EQ(frames[1 + j], test::EngineFrame(m, nomi, 12)) << "frame " << j;
  }
  EXPECT_NE(frames[1], frames[0]) << "the eased start begins past the start picture";
}

// Every written frame holds the first field from sample 2j and the second from sample 2j+1.
TEST_F(RenderMorph, InterlacedRowsComeFromTheirSamples) {
  m.SetFramesMorph(5);
  m.SetSmoothAtStart(true);
  m.SetSmoothAtEnd(false);
  for (TInterlaceType it : {it_upperFirst, it_LowerFirst}) {
    m.SetInterlaceType(it);
    host.Shown = 0;
    ASSERT_TRUE(Render());
    long double xa, xe;
    m.optimizeXRange(xa, xe);
    auto frames = Decoded();
    ASSERT_EQ(frames.size(), 7u);
    for (int j = 0; j < 5; ++j) {
      const auto first =
          test::EngineFrame(m, EasedSamplePosition(2 * j, 10, xa, xe, true, false).nomi, 10);
      const auto second =
          test::EngineFrame(m, EasedSamplePosition(2 * j + 1, 10, xa, xe, true, false).nomi, 10);
      ASSERT_NE(first, second);
      for (int y = 0; y < H; ++y) {
        const bool evenRow = y % 2 == 0;
        const auto& from = (evenRow == (it == it_upperFirst)) ? first : second;
        const size_t row = size_t(y) * W * 3;
        ASSERT_TRUE(
            std::equal(from.begin() + row, from.begin() + row + W * 3, frames[1 + j].begin() + row))
            << "frame " << j << " row " << y << " interlace " << int(it);
      }
    }
    // Start (twice), the complete frame at every odd sample, the end.
    EXPECT_EQ(host.Shown, 2 + 5 + 1);
  }
}

TEST_F(RenderMorph, BackgroundGivesTheVideoItsSizeWithTheFrameCentred) {
  m.SetFramesMorph(2);
  m.SetwithBG(true);
  m.BackGround().SetBgType(bg_Color);
  m.BackGround().SetBGColor(RGB(10, 200, 30));
  m.BackGround().SetWidth(101);  // the writer keeps 96
  m.BackGround().SetHeight(84);  // and 80
  ASSERT_TRUE(Render());
  const test::TProbe p = test::Probe(file);
  EXPECT_EQ(p.Width, 96);
  EXPECT_EQ(p.Height, 80);
  auto frames = Decoded(96, 80);
  ASSERT_EQ(frames.size(), 4u);
  const int dx = (101 - W) / 2, dy = (84 - H) / 2;
  const auto last = test::EngineFrame(m, 1, 1);
  const uint8_t colour[3] = {30, 200, 10};  // blue, green, red
  for (int y = 0; y < 80; ++y)
    for (int x = 0; x < 96; ++x) {
      const uint8_t* got = &frames[3][(size_t(y) * 96 + x) * 3];
      const bool inside = x >= dx && x < dx + W && y >= dy && y < dy + H;
      const uint8_t* want = inside ? &last[(size_t(y - dy) * W + (x - dx)) * 3] : colour;
      ASSERT_TRUE(std::equal(got, got + 3, want)) << x << "," << y;
    }
}

TEST(RenderMorphSize, WidthIsReducedToMultiplesOfEightAndTheFrameCropped) {
  TScriptedDialogs dialogs;
  test::TTempDir dir;
  TMorphing m;
  test::BuildMorphScene(m, dir, 810, 21);
  m.SetFramesMorph(1);
  TTestHost host;
  const std::string file = dir.File("wide.avi");
  ASSERT_TRUE(RenderMorphAVI(host, m, file));
  const test::TProbe p = test::Probe(file);
  EXPECT_EQ(p.Width, 808);
  EXPECT_EQ(p.Height, 16);
  auto frames = test::DecodeWithFFmpeg(file, 808, 16);
  ASSERT_EQ(frames.size(), 3u);
  const auto full = test::EngineFrame(m, 1, 1);
  for (int y = 0; y < 16; ++y)
    ASSERT_TRUE(std::equal(frames[2].begin() + y * 808 * 3, frames[2].begin() + (y + 1) * 808 * 3,
                           full.begin() + y * 810 * 3))
        << "row " << y;
}

TEST_F(RenderMorph, StopKeepsTheFramesWrittenSoFar) {
  m.SetFramesMorph(4);
  m.SetStillImagesAtStart(2);
  m.SetStillImagesAtEnd(2);
  struct Case {
    int stopAfter, frames;
    bool answer;
  } cases[] = {
      {1, 2, false},  // in the still frames at the start: the first frame is written once more
      {5, 5, false},  // in the transition
      {8, 8, true},   // in the still frames at the end: the end was reached
  };
  for (const Case& c : cases) {
    host.StopAfter = c.stopAfter;
    host.SetProgressMax(77);
    host.SetProgressPosition(5);
    EXPECT_EQ(Render(), c.answer) << c.stopAfter;
    EXPECT_EQ(test::Probe(file).Packets, c.frames) << c.stopAfter;
    EXPECT_EQ(Decoded().size(), size_t(c.frames));
    EXPECT_FALSE(host.FFileCreating);
    EXPECT_EQ(host.ProgressMax(), 77);
    EXPECT_EQ(host.ProgressPosition(), 5);
  }
  host.StopAfter = -1;
  EXPECT_TRUE(Render()) << "a new run clears the stop request";
  EXPECT_EQ(test::Probe(file).Packets, 10);
}

TEST_F(RenderMorph, AnErrorInTheLoopStillCompletesTheFile) {
  m.SetFramesMorph(4);
  host.ThrowAfter = 3;
  host.SetProgressMax(9);
  EXPECT_THROW(Render(), EMorphError);
  EXPECT_TRUE(host.CreatingDuringRun);
  EXPECT_FALSE(host.FFileCreating);
  EXPECT_EQ(host.ProgressMax(), 9);
  EXPECT_EQ(test::Probe(file).Packets, 3);
}

TEST_F(RenderMorph, NoTransitionFramesIsRefusedBeforeAnyFile) {
  for (int F : {0, -3}) {
    m.SetFramesMorph(F);
    try {
      Render();
      ADD_FAILURE() << "F = " << F << " was rendered";
    } catch (const EMorphError& e) {
      EXPECT_STREQ(e.what(), "Die Dauer des Morphings muss mindestens ein Bild betragen.");
    }
    EXPECT_FALSE(std::filesystem::exists(file));
  }
}

TEST_F(RenderMorph, CodecChoiceOfTheProject) {
  m.SetFramesMorph(2);
  m.SetShowCompressDialog(true);
  TAVICompressOptions mjpeg;
  mjpeg.Codec = vc_MotionJPEG;
  TFixedCompressorDialog choose(mjpeg);
  {
    TCompressorDialogScope scope(choose);
    ASSERT_TRUE(Render());
  }
  EXPECT_EQ(choose.Calls(), 1);
  EXPECT_EQ(test::Probe(file).Codec, "mjpeg");
  EXPECT_EQ(test::Probe(file).Packets, 4);

  std::filesystem::remove(file);
  TFixedCompressorDialog cancel = TFixedCompressorDialog::Cancelling();
  TCompressorDialogScope scope(cancel);
  host.SetProgressMax(3);
  EXPECT_FALSE(Render());
  EXPECT_FALSE(std::filesystem::exists(file));
  EXPECT_EQ(host.Processed, 4) << "no frame after the cancel";
  EXPECT_EQ(host.ProgressMax(), 3);
  EXPECT_EQ(host.NotOpened, std::vector<std::string>{""}) << "a cancel has no reason";
  EXPECT_TRUE(dialogs.Shown().empty());
}

TEST_F(RenderMorph, AFileThatCannotBeCreatedAnswersFalseWithTheWritersReason) {
  m.SetFramesMorph(2);
  file = dir.File("no-such-folder/out.avi");
  EXPECT_FALSE(Render());
  ASSERT_EQ(host.NotOpened.size(), 1u);
  EXPECT_EQ(host.NotOpened[0],
            "Konnte AVI-Datei nicht erstellen. \rFestplatte voll oder Datei in Benutzung?");
  EXPECT_EQ(host.Processed, 0);
  EXPECT_FALSE(host.FFileCreating);
  EXPECT_TRUE(dialogs.Shown().empty());
}

}  // namespace
}  // namespace qv
