// Text encodings of the files the system keeps. Strings in memory are UTF-8; files are read in
// UTF-8, UTF-16 or the code page of files written on Windows (Windows-1252).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

// te_Ansi is the unset encoding: written as UTF-8 without byte-order mark, read line by line
// as UTF-8 where a line is valid UTF-8 and as Windows-1252 otherwise.
enum TTextEncoding : uint8_t { te_Ansi = 0, te_UTF8 = 1, te_UTF16LE = 2, te_UTF16BE = 3 };

// The byte-order mark of an encoding; empty for te_Ansi.
std::string_view ByteOrderMark(TTextEncoding enc);
// The encoding whose byte-order mark starts bytes, te_Ansi when none does.
TTextEncoding DetectByteOrderMark(std::string_view bytes);

bool IsValidUtf8(std::string_view bytes);
std::string Cp1252ToUtf8(std::string_view bytes);
// Unpaired surrogates and a dangling odd byte become U+FFFD.
std::string Utf16ToUtf8(std::string_view bytes, bool bigEndian);
// text is UTF-8; invalid sequences are written as U+FFFD.
std::string Utf8ToUtf16(std::string_view text, bool bigEndian);

// Decodes one code point of s at i and advances i; a byte that does not start a valid
// sequence is answered as 0xDC00 + byte (so that every string has a total order).
char32_t NextCodePoint(std::string_view s, size_t& i);
void AppendUtf8(std::string& out, char32_t c);
// s without its last character (code point); empty stays empty.
std::string WithoutLastChar(std::string_view s);

// The text of bytes (byte-order mark excluded) cut into lines at CR LF, CR or LF; a line end
// at the very end makes no further line. Each line is decoded in enc; with te_UTF8 a line
// that is not valid UTF-8 is decoded as Windows-1252 and counted as failed, with te_Ansi it is
// decoded the same way silently. lastFailedLine is the 1-based number of the last failed line,
// 0 when none failed.
std::vector<std::string> DecodeTextLines(std::string_view bytes, TTextEncoding enc,
                                         int32_t& lastFailedLine);
// Each line followed by CR LF, in enc, preceded by the encoding's byte-order mark.
std::string EncodeTextLines(const std::vector<std::string>& lines, TTextEncoding enc);

// Splits at CR LF, CR or LF; a line end at the very end makes no further line.
std::vector<std::string> SplitLines(std::string_view text);

}  // namespace qv
