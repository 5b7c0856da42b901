// Letter-case blind comparison of UTF-8 strings: Unicode simple case folding, then code
// points. The order is the same on every machine and in every locale, and "" sorts first.
#pragma once

#include <string_view>

namespace qv {

char32_t FoldCase(char32_t c);

// <0, 0, >0 comparing the case-folded code points of a and b.
int CompareText(std::string_view a, std::string_view b);
inline bool SameText(std::string_view a, std::string_view b) {
  return CompareText(a, b) == 0;
}

// A total order that ignores case first: CompareText, and between texts that differ only in
// letter case their code points.
int CompareTextStable(std::string_view a, std::string_view b);

// Equal when only the letters A to Z differ in case (the file-name comparison of the recent
// files list).
bool SameTextAsciiAZ(std::string_view a, std::string_view b);

}  // namespace qv
