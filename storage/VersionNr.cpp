#include "VersionNr.h"

#include "IniValues.h"

namespace qv {

TVersionNr ParseVersionNr(std::string_view text) {
  TVersionNr v;
  if (text.find('.') == std::string_view::npos) {
    int32_t n;
    if (!TryStrToInt(text, n)) return v;
    if (n < 2000) {
      v.VerHi = int16_t(n);
    } else {
      v.VerHi = 2;
      v.VerLow = int16_t(n % 100);
    }
    return v;
  }
  int16_t* parts[] = {&v.VerHi, &v.VerLow, &v.Ver3, &v.Ver4};
  int32_t pos = 1;
  for (size_t k = 0; k < 4; ++k) {
    TScanResult r = ScanInteger(text, pos);
    *parts[k] = int16_t(r.Value);
    // The next number follows only a "." that is not the last character.
    if (r.Pos >= int32_t(text.size()) || text[size_t(r.Pos - 1)] != '.') break;
    pos = r.Pos + 1;
  }
  return v;
}

}  // namespace qv
