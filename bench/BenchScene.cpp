#include "BenchScene.h"

#include <random>

namespace qv::bench {

std::unique_ptr<TMorphing> MakeGridScene(int32_t W, int32_t H, int32_t cols, int32_t rows) {
  auto m = std::make_unique<TMorphing>();
  FillGridScene(*m, W, H, cols, rows);
  return m;
}

void FillGridScene(TMorphing& morphing, int32_t W, int32_t H, int32_t cols, int32_t rows) {
  TMorphing* m = &morphing;
  m->NewProject("", W, H);
  m->SetMorphMode(mm_Points);
  std::mt19937 rng(42);
  // Like a hand-made net: every point off its grid place by up to a fifth of a cell, and moved
  // from the start to the end picture by up to another fifth.
  std::uniform_int_distribution<int32_t> jitterX(-W / cols / 5, W / cols / 5);
  std::uniform_int_distribution<int32_t> jitterY(-H / rows / 5, H / rows / 5);
  // Index of grid node (i, j); the four frame corners are points 0 to 3.
  std::vector<int32_t> node((cols + 1) * (rows + 1));
  for (int32_t j = 0; j <= rows; ++j)
    for (int32_t i = 0; i <= cols; ++i) {
      int32_t& idx = node[j * (cols + 1) + i];
      const bool left = i == 0, right = i == cols, top = j == 0, bottom = j == rows;
      if (top && left) idx = 0;
      else if (top && right) idx = 1;
      else if (bottom && right) idx = 2;
      else if (bottom && left) idx = 3;
      else {
        const TPoint p{MulDiv(i, W - 1, cols), MulDiv(j, H - 1, rows)};
        m->AddPoint(m->Source1(), p);
        idx = m->AngleCount() - 1;
        auto moved = [&](TPoint q) {
          if (!left && !right) q.X += jitterX(rng);
          if (!top && !bottom) q.Y += jitterY(rng);
          return q;
        };
        const TPoint start = moved(p);
        m->Source1().setPointData(idx, start, false);
        m->Source2().setPointData(idx, moved(start), false);
      }
    }
  for (int32_t j = 0; j < rows; ++j)
    for (int32_t i = 0; i < cols; ++i) {
      const int32_t a = node[j * (cols + 1) + i], b = node[j * (cols + 1) + i + 1];
      const int32_t c = node[(j + 1) * (cols + 1) + i + 1], d = node[(j + 1) * (cols + 1) + i];
      m->AppendTriangle({a, b, c});
      m->AppendTriangle({a, c, d});
    }
  uint32_t* s1 = m->Source1().SourcePix();
  uint32_t* s2 = m->Source2().SourcePix();
  for (int32_t y = 0; y < H; ++y)
    for (int32_t x = 0; x < W; ++x) {
      s1[size_t(y) * W + x] = uint32_t((x * 255 / W) << 16 | (y * 255 / H) << 8 | ((x ^ y) & 255));
      s2[size_t(y) * W + x] = uint32_t(((x + y) & 255) << 16 | (x & 255) << 8 | (y & 255));
    }
}

}  // namespace qv::bench
