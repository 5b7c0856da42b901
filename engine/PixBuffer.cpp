#include "PixBuffer.h"

#include <cstdlib>
#include <cstring>

#include "MorphError.h"

namespace qv {

void TAlignedFree::operator()(uint32_t* p) const { std::free(p); }

TPixBuffer AllocPixBuffer(size_t words) {
  constexpr size_t kAlignment = 64;
  size_t bytes = (words * sizeof(uint32_t) + kAlignment - 1) / kAlignment * kAlignment;
  if (bytes == 0) bytes = kAlignment;
  auto* p = static_cast<uint32_t*>(std::aligned_alloc(kAlignment, bytes));
  if (!p) throw EMorphError("Unzulässige Bildgröße");
  std::memset(p, 0, bytes);
  return TPixBuffer(p);
}

}  // namespace qv
