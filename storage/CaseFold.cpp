#include "CaseFold.h"

#include <algorithm>
#include <cstdint>
#include <iterator>

#include "TextEncoding.h"

namespace qv {

namespace {

struct TFoldPair {
  char32_t From, To;
};

constexpr TFoldPair kFoldTable[] = {
#include "CaseFoldTable.inc"
};

char AsciiLower(char c) {
  return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}

}  // namespace

char32_t FoldCase(char32_t c) {
  if (c < 0x80) return (c >= 'A' && c <= 'Z') ? c + 32 : c;
  auto it = std::lower_bound(std::begin(kFoldTable), std::end(kFoldTable), c,
                             [](const TFoldPair& p, char32_t v) { return p.From < v; });
  return (it != std::end(kFoldTable) && it->From == c) ? it->To : c;
}

int CompareText(std::string_view a, std::string_view b) {
  size_t i = 0, j = 0;
  while (i < a.size() && j < b.size()) {
    char32_t ca = FoldCase(NextCodePoint(a, i));
    char32_t cb = FoldCase(NextCodePoint(b, j));
    if (ca != cb) return ca < cb ? -1 : 1;
  }
  if (i < a.size()) return 1;
  if (j < b.size()) return -1;
  return 0;
}

int CompareTextStable(std::string_view a, std::string_view b) {
  if (int r = CompareText(a, b)) return r;
  size_t i = 0, j = 0;
  while (i < a.size() && j < b.size()) {
    char32_t ca = NextCodePoint(a, i), cb = NextCodePoint(b, j);
    if (ca != cb) return ca < cb ? -1 : 1;
  }
  return (i < a.size()) - (j < b.size());
}

bool SameTextAsciiAZ(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return AsciiLower(x) == AsciiLower(y);
         });
}

}  // namespace qv
