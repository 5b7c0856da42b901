// The font of last resort, used when no font file can be read: 5 x 7 pixel glyphs in a cell
// of 6 x 9 units (one row above the glyph for accents, one column and one row of spacing),
// printable ASCII plus the Latin-1 letters (base letter with its accent, ß of its own); every
// other character shows as a box.
#pragma once

#include <array>
#include <cstdint>

namespace qv {

namespace BuiltinFont {

constexpr int32_t CellWidth = 6;
constexpr int32_t CellHeight = 9;

// The CellHeight rows of character c's cell; bit 4 of a row is the leftmost column, bit 0 the
// fifth.
std::array<uint8_t, CellHeight> Glyph(char32_t c);

}  // namespace BuiltinFont

}  // namespace qv
