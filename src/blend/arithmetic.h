// Arithmetic blends: a source laid over a destination at (x, y), each covered pixel combined with the
// source pixel above it by a saturating add or subtract per channel, or by exclusive or.
#pragma once

#include <cstdint>

#include "buffers/buffer.h"

namespace vxl::blend {

void CopyAdd(TBufferVx* source, TBufferVx* destination, int32_t x, int32_t y);
void CopySub(TBufferVx* source, TBufferVx* destination, int32_t x, int32_t y);
void CopyXor(TBufferVx* source, TBufferVx* destination, int32_t x, int32_t y);

}  // namespace vxl::blend
