#include "PixBuffer.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "MorphError.h"

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace qv {

void TAlignedFree::operator()(uint32_t* p) const { std::free(p); }

void* AllocPixelMemory(size_t bytes) {
  constexpr size_t kAlignment = 64, kHugePage = size_t(2) << 20;
  if (bytes > SIZE_MAX - kHugePage) return nullptr;
  const size_t alignment = bytes >= kHugePage ? kHugePage : kAlignment;
  bytes = std::max<size_t>((bytes + alignment - 1) / alignment * alignment, alignment);
  void* p = std::aligned_alloc(alignment, bytes);
  if (!p) return nullptr;
#if defined(__linux__) && defined(MADV_HUGEPAGE)
  // Before the first touch, so that the pages are faulted in as huge ones; only advice.
  if (alignment == kHugePage) madvise(p, bytes, MADV_HUGEPAGE);
#endif
  std::memset(p, 0, bytes);
  return p;
}

TPixBuffer AllocPixBuffer(size_t words) {
  if (words > SIZE_MAX / sizeof(uint32_t)) throw EMorphError("Unzulässige Bildgröße");
  auto* p = static_cast<uint32_t*>(AllocPixelMemory(words * sizeof(uint32_t)));
  if (!p) throw EMorphError("Unzulässige Bildgröße");
  return TPixBuffer(p);
}

}  // namespace qv
