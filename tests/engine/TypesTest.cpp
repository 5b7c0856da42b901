#include <gtest/gtest.h>

#include "Types.h"

namespace qv {

TEST(MulDiv, RoundsHalvesAwayFromZero) {
  struct Case {
    int32_t a, b, c, expected;
  } cases[] = {
      {1, 255, 2, 128},      {50, 255, 100, 128},   {-1, 255, 2, -128}, {1, -255, 2, -128},
      {500, 400, 300, 667},  {10, 300, 400, 8},     {5, 1, 3, 2},       {4, 1, 3, 1},
      {-5, 1, 3, -2},        {7, 1, -2, -4},        {0, 5, 7, 0},       {1, 1, 0, -1},
      {2147483647, 2, 1, -1}, {-2147483647 - 1, 1, 1, -2147483647 - 1},
  };
  for (const auto& c : cases)
    EXPECT_EQ(MulDiv(c.a, c.b, c.c), c.expected) << c.a << " * " << c.b << " / " << c.c;
}

TEST(Colours, RedBlueSwapConvertsBetweenColourAndPixel) {
  EXPECT_EQ(SwapRedBlue(0x00112233u), 0x00332211u);
  EXPECT_EQ(SwapRedBlue(RGB(1, 2, 3)), 0x00010203u);
}

}  // namespace qv
