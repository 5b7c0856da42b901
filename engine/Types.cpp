#include "Types.h"

#include <cstdlib>
#include <limits>

namespace qv {

int32_t MulDiv(int32_t a, int32_t b, int32_t c) {
  if (c == 0) return -1;
  int64_t num = int64_t(a) * int64_t(b);
  bool negative = (num < 0) != (c < 0);
  // |num| fits into 63 bits (at most 2^62), |c| into 32.
  uint64_t n = num < 0 ? uint64_t(-num) : uint64_t(num);
  uint64_t d = c < 0 ? uint64_t(-int64_t(c)) : uint64_t(c);
  uint64_t q = (n + d / 2) / d;
  if (q > uint64_t(std::numeric_limits<int32_t>::max()) + (negative ? 1 : 0)) return -1;
  return negative ? int32_t(-int64_t(q)) : int32_t(q);
}

}  // namespace qv
