// Shared value types of the morph engine: points, triangles, colours, enumerations and the
// integer helpers every part of the geometry uses.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace qv {

struct TPoint {
  int32_t X = 0;
  int32_t Y = 0;
  friend bool operator==(const TPoint&, const TPoint&) = default;
};

struct TRect {
  int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;
  int32_t Width() const { return Right - Left; }
  int32_t Height() const { return Bottom - Top; }
  friend bool operator==(const TRect&, const TRect&) = default;
};

inline TRect Rect(int32_t l, int32_t t, int32_t r, int32_t b) { return TRect{l, t, r, b}; }

// A triangle as three point indexes, in the order they were selected.
using TTrianglePerIndex = std::array<int32_t, 3>;
// The same triangle as three corner coordinates in one picture.
using TTriangle = std::array<TPoint, 3>;
using TAngleArray = std::vector<TPoint>;

// Colours are 0x00BBGGRR (red in the lowest byte) wherever they are stored or drawn.
using TColor = uint32_t;
constexpr TColor clBlack = 0x000000;
constexpr TColor clWhite = 0xFFFFFF;

inline constexpr uint8_t GetRValue(TColor c) { return c & 0xFF; }
inline constexpr uint8_t GetGValue(TColor c) { return (c >> 8) & 0xFF; }
inline constexpr uint8_t GetBValue(TColor c) { return (c >> 16) & 0xFF; }
inline constexpr TColor RGB(uint8_t r, uint8_t g, uint8_t b) {
  return TColor(r) | (TColor(g) << 8) | (TColor(b) << 16);
}
// Buffer pixels are 0x00RRGGBB: exchanging red and blue converts either way.
inline constexpr uint32_t SwapRedBlue(uint32_t v) {
  return (v & 0xFF00FF00u) | ((v & 0xFF) << 16) | ((v >> 16) & 0xFF);
}

enum TMorphEditMode : uint8_t { mm_ImgSel = 0, mm_Points = 1, mm_Net = 2 };
enum TInterlaceType : uint8_t { it_none = 0, it_upperFirst = 1, it_LowerFirst = 2 };
enum TBgType : uint8_t { bg_Color = 0, bg_Pict = 1, bg_Video = 2 };
enum THorzAlign : uint8_t { ha_none = 0, ha_left = 1, ha_right = 2, ha_center = 3 };
enum TOddEvenBoth : uint8_t { oe_even = 0, oe_odd = 1, oe_both = 2 };

struct TVersionNr {
  int16_t VerHi = 0, VerLow = 0, Ver3 = 0, Ver4 = 0;
  friend bool operator==(const TVersionNr&, const TVersionNr&) = default;
};

// a * b / c with a 64-bit intermediate, rounded to nearest with halves away from zero.
// Answers -1 when c is 0 or the result does not fit into 32 bits.
int32_t MulDiv(int32_t a, int32_t b, int32_t c);

}  // namespace qv
