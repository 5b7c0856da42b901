// The sequence video: two tracks of members with different lengths on a coloured background,
// compared frame by frame with the members' own videos; members left out, stopping, rate.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "AVIReader.h"
#include "MorphScene.h"
#include "MultiMorph.h"
#include "RenderMorph.h"
#include "RenderMultiMorph.h"
#include "ScriptedDialogs.h"
#include "VideoTestTools.h"

namespace qv {
namespace {

class TStopHost : public TRenderHost {
 public:
  int StopAfter = -1;
  int Written = 0;
  int MaxDuringRun = 0;
  void FrameWritten(int32_t count) override { Written = count; }
  void ProcessMessages() override {
    MaxDuringRun = ProgressMax();
    if (Written == StopAfter) FStopped = true;
  }
};

using TFrame = std::vector<uint8_t>;  // 24-bit BGR rows from the top

// Every frame of an AVI file through our reader, as rows from the top.
std::vector<TFrame> ReadFrames(const std::string& file, int w, int h) {
  TAVIReader reader;
  EXPECT_TRUE(reader.OpenAVIFile(file)) << reader.ErrorMessage();
  std::vector<TFrame> frames;
  const int rowBytes = (w * 3 + 3) / 4 * 4;
  for (int32_t k = 0;; ++k) {
    const uint8_t* dib = reader.GetFrame(k);
    if (!dib) break;
    EXPECT_EQ(reader.FrameSize(), 40u + size_t(rowBytes) * h);
    TFrame f;
    for (int y = 0; y < h; ++y) {
      const uint8_t* row = dib + 40 + size_t(h - 1 - y) * rowBytes;
      f.insert(f.end(), row, row + w * 3);
    }
    frames.push_back(std::move(f));
  }
  return frames;
}

// A member: the scene of the rendering tests in a folder of its own.
struct TMember {
  test::TTempDir Dir;
  TMorphing* M = nullptr;
  int W = 0, H = 0;
  std::vector<TFrame> Own;  // its frames rendered alone
};

class RenderMultiMorph : public ::testing::Test {
 protected:
  static constexpr int BW = 96, BH = 64;
  static constexpr TColor kColor = 0x00336699;

  TMember& Add(int w, int h, int frames, int stillStart, int stillEnd, int subSeq) {
    members.push_back(std::make_unique<TMember>());
    TMember& mb = *members.back();
    mb.W = w;
    mb.H = h;
    mb.M = &mm.AddMorphing(std::make_unique<TMorphing>());
    test::BuildMorphScene(*mb.M, mb.Dir, w, h);
    mb.M->SetFramesMorph(frames);
    mb.M->SetStillImagesAtStart(stillStart);
    mb.M->SetStillImagesAtEnd(stillEnd);
    mb.M->SetSubSeq(subSeq);
    return mb;
  }

  void RenderAlone(TMember& mb) {
    const std::string f = mb.Dir.File("own.avi");
    TRenderHost h;
    ASSERT_TRUE(RenderMorphAVI(h, *mb.M, f));
    mb.Own = ReadFrames(f, mb.W, mb.H);
  }

  void SetBackground() {
    mm.BackGround().SetWidth(BW);
    mm.BackGround().SetHeight(BH);
    mm.BackGround().SetBGColor(kColor);
    mm.SetFramesPerSecond(25);
  }

  // Draws a member frame into a background frame at (x, y), cut at the edges.
  static void Paste(TFrame& bg, const TFrame& f, int w, int h, int x, int y) {
    for (int r = 0; r < h; ++r)
      for (int c = 0; c < w; ++c) {
        const int bx = x + c, by = y + r;
        if (bx < 0 || by < 0 || bx >= BW || by >= BH) continue;
        for (int k = 0; k < 3; ++k) bg[(size_t(by) * BW + bx) * 3 + k] = f[(size_t(r) * w + c) * 3 + k];
      }
  }
  static TFrame Background() {
    TFrame bg(size_t(BW) * BH * 3);
    for (size_t i = 0; i < bg.size(); i += 3) {
      bg[i] = GetBValue(kColor);
      bg[i + 1] = GetGValue(kColor);
      bg[i + 2] = GetRValue(kColor);
    }
    return bg;
  }

  TScriptedDialogs dialogs;
  test::TTempDir dir;
  std::string file = dir.File("seq.avi");
  TMultiMorph mm;
  std::vector<std::unique_ptr<TMember>> members;
  TStopHost host;
};

TEST_F(RenderMultiMorph, TwoTracksPlayTheirMembersAtTheirOffsets) {
  // Track 1: a (5 frames) then b (6 frames); track 2: c (6 frames), right-aligned and cut at
  // the bottom, drawn over a where they overlap.
  TMember& a = Add(48, 32, 3, 0, 0, 1);
  TMember& c = Add(40, 40, 4, 0, 0, 2);
  TMember& b = Add(32, 24, 2, 1, 1, 1);
  a.M->SetOffset({16, 8});
  b.M->SetOffset({0, 40});
  c.M->SetHorzAlign(ha_right);
  c.M->SetOffset({0, 30});
  SetBackground();
  for (TMember* mb : {&a, &b, &c}) {
    mb->M->SetwithBG(false);
    RenderAlone(*mb);
  }
  c.M->SetwithBG(true);  // a member's own background is not used
  c.M->SetUnModified();
  ASSERT_EQ(a.Own.size(), 5u);
  ASSERT_EQ(b.Own.size(), 6u);
  ASSERT_EQ(c.Own.size(), 6u);

  ASSERT_TRUE(RenderMultiMorphAVI(host, mm, file));
  EXPECT_TRUE(dialogs.Shown().empty());
  EXPECT_EQ(host.MaxDuringRun, 11);
  EXPECT_FALSE(host.FFileCreating);
  // The members are as they were.
  EXPECT_TRUE(c.M->withBG());
  EXPECT_FALSE(c.M->Modified());

  const test::TProbe probe = test::Probe(file);
  ASSERT_TRUE(probe.Ok);
  EXPECT_EQ(probe.Width, BW);
  EXPECT_EQ(probe.Height, BH);
  EXPECT_EQ(probe.Rate, "25/1");
  EXPECT_EQ(probe.Packets, 11);

  const std::vector<TFrame> frames = ReadFrames(file, BW, BH);
  ASSERT_EQ(frames.size(), 11u);
  for (size_t t = 0; t < frames.size(); ++t) {
    TFrame expected = Background();
    if (t < 5)
      Paste(expected, a.Own[t], a.W, a.H, 16, 8);
    else
      Paste(expected, b.Own[t - 5], b.W, b.H, 0, 40);
    Paste(expected, c.Own[std::min<size_t>(t, 5)], c.W, c.H, BW - c.W, 30);
    EXPECT_TRUE(frames[t] == expected) << "frame " << t;
  }
}

TEST_F(RenderMultiMorph, MembersThatCannotBeRenderedAreNamedAndLeftOut) {
  TMember& a = Add(32, 24, 2, 0, 0, 1);
  mm.AddMorphing(std::make_unique<TMorphing>());  // no project
  TMember& z = Add(32, 24, 0, 0, 0, 1);           // no transition
  z.M->SetFileName("/x/Null.qvp");
  SetBackground();
  RenderAlone(a);
  ASSERT_TRUE(RenderMultiMorphAVI(host, mm, file));
  EXPECT_EQ(dialogs.Texts(TScriptedDialogs::TKind::Information),
            (std::vector<std::string>{"Diese Morphings der Sequenz werden nicht gerendert:\r"
                                      "2. ?: keine lesbare Morphing-Datei\r"
                                      "3. Null: weniger als ein Übergangsbild"}));
  const std::vector<TFrame> frames = ReadFrames(file, BW, BH);
  ASSERT_EQ(frames.size(), 4u);
  TFrame expected = Background();
  Paste(expected, a.Own[3], a.W, a.H, 0, 0);
  EXPECT_TRUE(frames[3] == expected);

  // Without any member that can be rendered no file is written.
  std::filesystem::remove(file);
  mm.DelMorphing(0);
  dialogs.ClearShown();
  EXPECT_FALSE(RenderMultiMorphAVI(host, mm, file));
  EXPECT_EQ(mm.FrameCount(), 0);
  EXPECT_EQ(dialogs.Texts(TScriptedDialogs::TKind::Information).size(), 1u);
  EXPECT_FALSE(std::filesystem::exists(file));
}

TEST_F(RenderMultiMorph, AStopLeavesAValidFileAndRateZeroPlaysAt25) {
  Add(32, 24, 10, 0, 0, 0);
  SetBackground();
  mm.SetFramesPerSecond(0);
  host.StopAfter = 4;
  EXPECT_FALSE(RenderMultiMorphAVI(host, mm, file));
  const test::TProbe probe = test::Probe(file);
  ASSERT_TRUE(probe.Ok);
  EXPECT_EQ(probe.Rate, "25/1");
  EXPECT_EQ(probe.Packets, 4);

  // The same sequence runs to its end afterwards: the members were given back intact.
  host.StopAfter = -1;
  EXPECT_TRUE(RenderMultiMorphAVI(host, mm, file));
  EXPECT_EQ(test::Probe(file).Packets, 12);
}

}  // namespace
}  // namespace qv
