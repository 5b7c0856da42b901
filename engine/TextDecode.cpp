#include "TextDecode.h"

#include <cstdint>
#include <optional>

namespace qv {

namespace {

// Windows-1252 0x80 .. 0x9F; the five unassigned bytes keep their own value, as Windows does.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
std::optional<std::u32string> DecodeUtf8(const std::string& text) {
  std::u32string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    const uint8_t lead = uint8_t(text[i]);
    if (lead < 0x80) {
      out.push_back(lead);
      ++i;
      continue;
    }
    int extra;
    char32_t c, minimum;
    if ((lead & 0xE0) == 0xC0) {
      extra = 1, c = lead & 0x1F, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
      extra = 2, c = lead & 0x0F, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
      extra = 3, c = lead & 0x07, minimum = 0x10000;
    } else {
      return std::nullopt;
    }
    if (text.size() - i <= size_t(extra)) return std::nullopt;
    for (int k = 1; k <= extra; ++k) {
      const uint8_t b = uint8_t(text[i + k]);
      if ((b & 0xC0) != 0x80) return std::nullopt;
      c = (c << 6) | (b & 0x3F);
    }
    if (c < minimum || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return std::nullopt;
    out.push_back(c);
    i += size_t(extra) + 1;
  }
  return out;
}

}  // namespace

std::u32string DecodeText(const std::string& text) {
  if (auto utf8 = DecodeUtf8(text)) return *utf8;
  std::u32string out;
  out.reserve(text.size());
  for (char ch : text) {
    const uint8_t b = uint8_t(ch);
    out.push_back(b >= 0x80 && b < 0xA0 ? char32_t(kCp1252High[b - 0x80]) : char32_t(b));
  }
  return out;
}

}  // namespace qv
