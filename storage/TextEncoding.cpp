#include "TextEncoding.h"

namespace qv {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Windows-1252 0x80 to 0x9F; the five unassigned bytes keep their C1 control code.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// Length of the valid UTF-8 sequence at s[i], 0 when there is none.
size_t Utf8SequenceLength(std::string_view s, size_t i) {
  const auto b = [&](size_t k) { return static_cast<unsigned char>(s[k]); };
  unsigned char c = b(i);
  if (c < 0x80) return 1;
  size_t n;
  unsigned char lo = 0x80, hi = 0xBF;
  if (c >= 0xC2 && c <= 0xDF) {
    n = 2;
  } else if (c >= 0xE0 && c <= 0xEF) {
    n = 3;
    if (c == 0xE0) lo = 0xA0;
    if (c == 0xED) hi = 0x9F;  // no surrogates
  } else if (c >= 0xF0 && c <= 0xF4) {
    n = 4;
    if (c == 0xF0) lo = 0x90;
    if (c == 0xF4) hi = 0x8F;
  } else {
    return 0;
  }
  if (i + n > s.size()) return 0;
  if (b(i + 1) < lo || b(i + 1) > hi) return 0;
  for (size_t k = 2; k < n; ++k)
    if ((b(i + k) & 0xC0) != 0x80) return 0;
  return n;
}

void AppendUtf16(std::string& out, char16_t u, bool bigEndian) {
  char hi = char(u >> 8), lo = char(u & 0xFF);
  if (bigEndian) {
    out += hi;
    out += lo;
  } else {
    out += lo;
    out += hi;
  }
}

}  // namespace

std::string_view ByteOrderMark(TTextEncoding enc) {
  switch (enc) {
    case te_UTF8:
      return "\xEF\xBB\xBF";
    case te_UTF16LE:
      return "\xFF\xFE";
    case te_UTF16BE:
      return "\xFE\xFF";
    default:
      return {};
  }
}

TTextEncoding DetectByteOrderMark(std::string_view bytes) {
  for (TTextEncoding enc : {te_UTF8, te_UTF16LE, te_UTF16BE})
    if (bytes.starts_with(ByteOrderMark(enc))) return enc;
  return te_Ansi;
}

bool IsValidUtf8(std::string_view bytes) {
  for (size_t i = 0; i < bytes.size();) {
    size_t n = Utf8SequenceLength(bytes, i);
    if (n == 0) return false;
    i += n;
  }
  return true;
}

char32_t NextCodePoint(std::string_view s, size_t& i) {
  size_t n = Utf8SequenceLength(s, i);
  auto c = static_cast<unsigned char>(s[i]);
  if (n == 0) {
    ++i;
    return 0xDC00 + c;
  }
  char32_t cp = n == 1 ? c : n == 2 ? (c & 0x1F) : n == 3 ? (c & 0x0F) : (c & 0x07);
  for (size_t k = 1; k < n; ++k) cp = (cp << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
  i += n;
  return cp;
}

void AppendUtf8(std::string& out, char32_t c) {
  if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) c = kReplacement;
  if (c < 0x80) {
    out += char(c);
  } else if (c < 0x800) {
    out += char(0xC0 | (c >> 6));
    out += char(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += char(0xE0 | (c >> 12));
    out += char(0x80 | ((c >> 6) & 0x3F));
    out += char(0x80 | (c & 0x3F));
  } else {
    out += char(0xF0 | (c >> 18));
    out += char(0x80 | ((c >> 12) & 0x3F));
    out += char(0x80 | ((c >> 6) & 0x3F));
    out += char(0x80 | (c & 0x3F));
  }
}

std::string WithoutLastChar(std::string_view s) {
  size_t i = 0, last = 0;
  while (i < s.size()) {
    last = i;
    NextCodePoint(s, i);
  }
  return std::string(s.substr(0, last));
}

std::string Cp1252ToUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() + bytes.size() / 2);
  for (char ch : bytes) {
    auto c = static_cast<unsigned char>(ch);
    AppendUtf8(out, c >= 0x80 && c < 0xA0 ? char32_t(kCp1252High[c - 0x80]) : char32_t(c));
  }
  return out;
}

std::string Utf16ToUtf8(std::string_view bytes, bool bigEndian) {
  std::string out;
  out.reserve(bytes.size());
  const size_t units = bytes.size() / 2;
  const auto unit = [&](size_t k) {
    auto a = static_cast<unsigned char>(bytes[2 * k]);
    auto b = static_cast<unsigned char>(bytes[2 * k + 1]);
    return bigEndian ? char16_t((a << 8) | b) : char16_t((b << 8) | a);
  };
  for (size_t k = 0; k < units; ++k) {
    char16_t u = unit(k);
    if (u >= 0xD800 && u <= 0xDBFF && k + 1 < units && unit(k + 1) >= 0xDC00 &&
        unit(k + 1) <= 0xDFFF) {
      AppendUtf8(out, 0x10000 + ((char32_t(u) - 0xD800) << 10) + (unit(k + 1) - 0xDC00));
      ++k;
    } else {
      AppendUtf8(out, (u >= 0xD800 && u <= 0xDFFF) ? kReplacement : char32_t(u));
    }
  }
  if (bytes.size() % 2) AppendUtf8(out, kReplacement);
  return out;
}

std::string Utf8ToUtf16(std::string_view text, bool bigEndian) {
  std::string out;
  out.reserve(text.size() * 2);
  for (size_t i = 0; i < text.size();) {
    size_t start = i;
    char32_t c = NextCodePoint(text, i);
    if (i - start == 1 && c >= 0xDC80 && c <= 0xDCFF) c = kReplacement;  // invalid byte
    if (c >= 0x10000) {
      c -= 0x10000;
      AppendUtf16(out, char16_t(0xD800 + (c >> 10)), bigEndian);
      AppendUtf16(out, char16_t(0xDC00 + (c & 0x3FF)), bigEndian);
    } else {
      AppendUtf16(out, char16_t(c), bigEndian);
    }
  }
  return out;
}

std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' && text[i] != '\n') continue;
    lines.emplace_back(text.substr(start, i - start));
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < text.size()) lines.emplace_back(text.substr(start));
  return lines;
}

std::vector<std::string> DecodeTextLines(std::string_view bytes, TTextEncoding enc,
                                         int32_t& lastFailedLine) {
  lastFailedLine = 0;
  if (enc == te_UTF16LE || enc == te_UTF16BE)
    return SplitLines(Utf16ToUtf8(bytes, enc == te_UTF16BE));
  std::vector<std::string> lines = SplitLines(bytes);
  for (size_t k = 0; k < lines.size(); ++k) {
    if (IsValidUtf8(lines[k])) continue;
    lines[k] = Cp1252ToUtf8(lines[k]);
    if (enc == te_UTF8) lastFailedLine = int32_t(k + 1);
  }
  return lines;
}

std::string EncodeTextLines(const std::vector<std::string>& lines, TTextEncoding enc) {
  std::string text;
  for (const std::string& line : lines) {
    text += line;
    text += "\r\n";
  }
  std::string out(ByteOrderMark(enc));
  if (enc == te_UTF16LE || enc == te_UTF16BE)
    out += Utf8ToUtf16(text, enc == te_UTF16BE);
  else
    out += text;
  return out;
}

}  // namespace qv
