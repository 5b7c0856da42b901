// Text forms of the typed values in INI files.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace qv {

// Optional leading blanks, an optional sign, then decimal digits or hexadecimal digits after
// "$", "x", "X", "0x" or "0X", nothing after the digits, the value inside the range.
bool TryStrToInt(std::string_view text, int32_t& value);
bool TryStrToInt64(std::string_view text, int64_t& value);

// Decimal text with the decimal separator of the user's locale.
bool TryStrToFloat(std::string_view text, double& value);

// The 64 bits of a double as 16 upper-case hexadecimal digits, most significant first.
std::string DoubleToHexBits(double value);
// The text as an unsigned 64-bit hexadecimal number (optional "$", digits of either case up
// to the first other character, wrapping at 64 bits) taken as the bits of a double.
double HexBitsToDouble(std::string_view text);

// The integer scanner of points and version numbers. pos is 1-based and is left on the first
// character not consumed; only the first 255 characters (bytes) of text take part. A "$"
// switches to hexadecimal, a "-" flips the sign; "$" and "-" together give 0 with pos 1.
struct TScanResult {
  int32_t Value;
  int32_t Pos;
};
TScanResult ScanInteger(std::string_view text, int32_t pos);

}  // namespace qv
