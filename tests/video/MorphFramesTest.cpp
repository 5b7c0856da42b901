// The frames of a morph video taken one by one: the same frames, in the same number, as the
// video command writes, in every field order and easing.
#include <gtest/gtest.h>

#include "MorphFrames.h"
#include "MorphScene.h"
#include "RenderMorph.h"
#include "ScriptedDialogs.h"
#include "VideoTestTools.h"

namespace qv {
namespace {

std::vector<std::vector<uint8_t>> PulledFrames(TMorphing& m) {
  TMorphFrames frames(m);
  std::vector<std::vector<uint8_t>> out;
  for (bool more = frames.First(); more; more = frames.Next())
    out.push_back(test::TopDownBgr(frames.Output()));
  EXPECT_EQ(out.size(), size_t(frames.FrameCount()));
  return out;
}

struct Case {
  int F, S, E;
  TInterlaceType interlace;
  bool smoothB, smoothE;
};

void BuildCase(TMorphing& m, const test::TTempDir& dir, const Case& c) {
  test::BuildMorphScene(m, dir, 40, 32);
  m.SetFramesMorph(c.F);
  m.SetStillImagesAtStart(c.S);
  m.SetStillImagesAtEnd(c.E);
  m.SetInterlaceType(c.interlace);
  m.SetSmoothAtStart(c.smoothB);
  m.SetSmoothAtEnd(c.smoothE);
}

TEST(MorphFrames, OneByOneEqualsTheWrittenVideo) {
  const Case cases[] = {
      {3, 2, 1, it_none, true, true},
      {4, 0, 0, it_upperFirst, true, false},
      {2, 1, 3, it_LowerFirst, false, true},
      {1, 0, -1, it_none, true, true},  // no end picture at all, the transition runs backwards
  };
  for (const Case& c : cases) {
    TScriptedDialogs dialogs;
    test::TTempDir dir;
    TMorphing m, fresh;
    BuildCase(m, dir, c);
    const auto pulled = PulledFrames(m);
    BuildCase(fresh, dir, c);
    TRenderHost host;
    const std::string file = dir.File("v.avi");
    ASSERT_TRUE(RenderMorphAVI(host, fresh, file));
    const auto written = test::DecodeWithFFmpeg(file, 40, 32);
    ASSERT_EQ(pulled.size(), written.size()) << "F " << c.F << " S " << c.S << " E " << c.E;
    for (size_t k = 0; k < written.size(); ++k)
      EXPECT_EQ(pulled[k], written[k]) << "frame " << k << " of case F " << c.F;
  }
}

TEST(MorphFrames, NothingBeforeFirstAndNothingAfterTheLast) {
  TScriptedDialogs dialogs;
  test::TTempDir dir;
  TMorphing m;
  test::BuildMorphScene(m, dir, 24, 16);
  m.SetFramesMorph(2);
  TMorphFrames frames(m);
  EXPECT_FALSE(frames.Next());
  EXPECT_EQ(frames.FrameCount(), 1 + 2 + 1);
  ASSERT_TRUE(frames.First());
  int count = 1;
  while (frames.Next()) ++count;
  EXPECT_EQ(count, 4);
  EXPECT_FALSE(frames.Next());
}

}  // namespace
}  // namespace qv
