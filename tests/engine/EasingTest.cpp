// Eased progress: the angle range of a transition and the position of every sample of its
// grid of 2F half-steps.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "Easing.h"
#include "Morph.h"
#include "MorphError.h"

namespace qv {
namespace {

const long double kPi = std::acos(-1.0L);

struct TTransition {
  int32_t frames;
  TInterlaceType interlace;
  bool start, end;
};

// The angle range of the document's settings, and the positions of samples first.. on.
class EasingTest : public ::testing::Test {
 protected:
  void Set(const TTransition& t) {
    m.SetFramesMorph(t.frames);
    m.SetInterlaceType(t.interlace);
    m.SetSmoothAtStart(t.start);
    m.SetSmoothAtEnd(t.end);
    m.optimizeXRange(xa, xe);
  }
  std::vector<int32_t> Positions(int32_t first, int32_t count, int32_t step = 1) const {
    std::vector<int32_t> v;
    const int32_t N = 2 * m.FramesMorph();
    for (int32_t i = first; i < first + count * step; i += step) {
      const TSamplePosition p =
          EasedSamplePosition(i, N, xa, xe, m.SmoothAtStart(), m.SmoothAtEnd());
      EXPECT_EQ(p.denom, N);
      v.push_back(p.nomi);
    }
    return v;
  }
  // The angle as a multiple k of pi / n.
  static long double Steps(long double x, int32_t n) { return x / kPi * n; }

  TMorphing m;
  long double xa = -1, xe = -1;
};

TEST_F(EasingTest, AngleRangesOfTheGrid) {
  struct Case {
    TTransition t;
    long double ka, ke;  // xa = ka * pi / n, xe = ke * pi / n
    int32_t n;
  } cases[] = {
      {{50, it_none, true, true}, 5, 49, 50},
      {{50, it_upperFirst, true, true}, 7, 99, 100},
      {{50, it_LowerFirst, true, false}, 7, 100, 100},
      {{50, it_none, false, true}, 0, 49, 50},
      {{50, it_none, false, false}, 0, 50, 50},
      {{2, it_none, true, true}, 1, 1, 2},
      {{1, it_none, true, true}, 1, 0, 1},
  };
  for (const Case& c : cases) {
    Set(c.t);
    EXPECT_NEAR(double(Steps(xa, c.n)), double(c.ka), 1e-12) << c.t.frames;
    EXPECT_NEAR(double(Steps(xe, c.n)), double(c.ke), 1e-12) << c.t.frames;
  }
  // Without easing the range is exactly 0 .. pi.
  Set({50, it_none, false, false});
  EXPECT_EQ(xa, 0.0L);
  EXPECT_EQ(xe, kPi);
}

TEST_F(EasingTest, SampleTables) {
  struct Case {
    TTransition t;
    int32_t first;
    std::vector<int32_t> positions;
    int32_t step = 1;
  } cases[] = {
      // Progressive, both ends: the frames written are the even samples.
      {{50, it_none, true, true}, 0, {2, 3, 4}, 2},
      {{50, it_none, true, true}, 48, {54, 55, 56, 58, 59}},
      {{50, it_none, true, true}, 98, {100, 100}, 2},
      // Interlaced: the curve of 100 steps.
      {{50, it_upperFirst, true, true}, 0, {1, 2, 2, 2, 3, 3}},
      // One end only: the position jumps at the middle sample.
      {{50, it_none, true, false}, 48, {55, 56, 58, 51, 52, 53}},
      {{50, it_none, false, true}, 47, {47, 48, 49, 48, 50, 52, 53}},
      // Two frames: xa = xe = pi / 2, always the middle.
      {{2, it_none, true, true}, 0, {2, 2, 2, 2, 2}},
      // One frame: the range runs backwards, from the end image to the start image.
      {{1, it_none, true, true}, 0, {2, 1, 0}},
      // Linear progress: sample i is position i; the first frame is the start image itself.
      {{50, it_none, false, false}, 0, {0, 1, 2, 3}},
      {{50, it_none, false, false}, 97, {97, 98, 99, 100}},
  };
  for (const Case& c : cases) {
    Set(c.t);
    EXPECT_EQ(Positions(c.first, int32_t(c.positions.size()), c.step), c.positions)
        << "F " << c.t.frames << " from " << c.first << " start " << c.t.start << " end "
        << c.t.end;
  }
}

TEST_F(EasingTest, BothEndsNeverStepBack) {
  for (TInterlaceType it : {it_none, it_upperFirst}) {
    for (int32_t F : {3, 7, 25, 100, 999}) {
      Set({F, it, true, true});
      const std::vector<int32_t> v = Positions(0, 2 * F + 1);
      for (size_t i = 1; i < v.size(); ++i) ASSERT_LE(v[i - 1], v[i]) << F << " at " << i;
      EXPECT_GT(v.front(), 0) << F << ": the eased start skips the position 0";
    }
  }
}

TEST_F(EasingTest, TransitionWithoutFramesIsRefusedWithAGermanText) {
  const std::string text = "Die Dauer des Morphings muss mindestens ein Bild betragen.";
  for (int32_t F : {0, -3}) {
    for (bool eased : {true, false}) {
      m.SetFramesMorph(F);
      m.SetSmoothAtStart(eased);
      m.SetSmoothAtEnd(eased);
      try {
        m.optimizeXRange(xa, xe);
        ADD_FAILURE() << "F " << F << " accepted";
      } catch (const EMorphError& e) {
        EXPECT_EQ(std::string(e.what()), text);
      }
    }
  }
  long double x = 1.25L;
  EXPECT_THROW(EaseStartAngle(0, x), EMorphError);
  EXPECT_THROW(EaseEndAngle(-1, x), EMorphError);
  EXPECT_EQ(x, 1.25L) << "unchanged";
  EXPECT_THROW(EasedSamplePosition(0, 0, 0, kPi, true, true), EMorphError);
  EXPECT_THROW(CheckFrameCount(0), EMorphError);
  // A grid of 2F half-steps must fit into 32 bits.
  EXPECT_NO_THROW(CheckFrameCount(MaxFramesMorph));
  EXPECT_THROW(CheckFrameCount(MaxFramesMorph + 1), EMorphError);
}

}  // namespace
}  // namespace qv
