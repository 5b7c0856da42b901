#include "IniValues.h"

#include <algorithm>
#include <charconv>
#include <clocale>
#include <cstring>
#include <limits>
#include <locale>

namespace qv {

namespace {

int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// Magnitude and sign of an integer text; false when the text is not of the integer form or
// the magnitude passes 64 bits.
bool ParseIntegerText(std::string_view s, bool& negative, uint64_t& magnitude) {
  size_t i = 0;
  while (i < s.size() && s[i] == ' ') ++i;
  negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
  unsigned radix = 10;
  if (i < s.size() && (s[i] == '$' || s[i] == 'x' || s[i] == 'X')) {
    radix = 16;
    ++i;
  } else if (i + 1 < s.size() && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
    radix = 16;
    i += 2;
  }
  if (i >= s.size()) return false;
  magnitude = 0;
  for (; i < s.size(); ++i) {
    int d = HexDigitValue(s[i]);
    if (d < 0 || unsigned(d) >= radix) return false;
    if (magnitude > (std::numeric_limits<uint64_t>::max() - unsigned(d)) / radix) return false;
    magnitude = magnitude * radix + unsigned(d);
  }
  return true;
}

template <typename T>
bool TryStrToSigned(std::string_view text, T& value) {
  bool negative;
  uint64_t m;
  if (!ParseIntegerText(text, negative, m)) return false;
  const uint64_t limit = uint64_t(std::numeric_limits<T>::max()) + (negative ? 1 : 0);
  if (m > limit) return false;
  value = negative ? T(-int64_t(m - 1) - 1) : T(m);
  return true;
}

char LocaleDecimalSeparator() {
  try {
    return std::use_facet<std::numpunct<char>>(std::locale("")).decimal_point();
  } catch (const std::exception&) {
    return '.';
  }
}

}  // namespace

bool TryStrToInt(std::string_view text, int32_t& value) {
  return TryStrToSigned(text, value);
}
bool TryStrToInt64(std::string_view text, int64_t& value) {
  return TryStrToSigned(text, value);
}

bool TryStrToFloat(std::string_view text, double& value) {
  static const char separator = LocaleDecimalSeparator();
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  std::string s(text);
  for (char& c : s) {
    if (c == separator)
      c = '.';
    else if (c == '.')
      return false;  // only the locale's separator is a decimal separator
  }
  if (!s.empty() && s[0] == '+') s.erase(0, 1);
  if (s.empty()) return false;
  double v;
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  if (ec != std::errc() || end != s.data() + s.size()) return false;
  value = v;
  return true;
}

std::string DoubleToHexBits(double value) {
  uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  static const char kDigits[] = "0123456789ABCDEF";
  std::string out(16, '0');
  for (int k = 15; k >= 0; --k, bits >>= 4) out[size_t(k)] = kDigits[bits & 0xF];
  return out;
}

double HexBitsToDouble(std::string_view text) {
  size_t i = 0;
  if (i < text.size() && text[i] == '$') ++i;
  uint64_t bits = 0;
  for (; i < text.size(); ++i) {
    int d = HexDigitValue(text[i]);
    if (d < 0) break;
    bits = (bits << 4) | unsigned(d);
  }
  double value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

TScanResult ScanInteger(std::string_view text, int32_t pos) {
  constexpr int32_t kMaxPos = 255;
  const int32_t len = int32_t(std::min<size_t>(text.size(), kMaxPos));
  const auto at = [&](int32_t p) { return text[size_t(p - 1)]; };
  uint32_t radix = 10;
  bool negative = false, sawDollar = false, sawMinus = false;
  if (pos < 1) pos = 1;
  while (pos <= len && HexDigitValue(at(pos)) < 0) {
    char c = at(pos);
    if (c == '$') {
      if (sawMinus) return {0, 1};
      radix = 16;
      sawDollar = true;
    } else if (c == '-') {
      if (sawDollar) return {0, 1};
      negative = !negative;
      sawMinus = true;
    } else {
      return {0, pos};
    }
    ++pos;
  }
  uint32_t value = 0;
  for (; pos <= len; ++pos) {
    int d = HexDigitValue(at(pos));
    if (d < 0 || uint32_t(d) >= radix) break;
    value = value * radix + uint32_t(d);
  }
  if (negative) value = 0u - value;
  return {int32_t(value), pos};
}

}  // namespace qv
