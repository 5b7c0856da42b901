// Whole-frame pixel buffers: W x H 32-bit words, rows bottom-up (word (H - 1 - y) * W + x),
// 0x00RRGGBB. Allocated aligned for vector loads and released with free().
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

namespace qv {

struct TAlignedFree {
  void operator()(uint32_t* p) const;
};
using TPixBuffer = std::unique_ptr<uint32_t[], TAlignedFree>;

// W * H words, zero-filled; raises EMorphError("Unzulässige Bildgröße") when refused.
TPixBuffer AllocPixBuffer(size_t words);

// Zero-filled memory for pixels, released with free(), nullptr when refused. Buffers of frame
// size are asked for in huge pages: a frame of random accesses into both sources then needs
// a few address translations instead of thousands.
void* AllocPixelMemory(size_t bytes);

}  // namespace qv
