// Channel copies: a source placed on a destination at (x, y) like a plain copy, each destination pixel
// taking one channel of the source (the others zero), or grey from the source's alpha plane.
#pragma once

#include <cstdint>

#include "buffers/buffer.h"

namespace vxl::blend {

void CopyRedChannel(TBufferVx* source, TBufferVx* destination, int32_t x, int32_t y);
void CopyGreenChannel(TBufferVx* source, TBufferVx* destination, int32_t x, int32_t y);
void CopyBlueChannel(TBufferVx* source, TBufferVx* destination, int32_t x, int32_t y);
// Nothing happens for a source without an alpha plane.
void CopyAlphaChannel(TBufferVx* source, TBufferVx* destination, int32_t x, int32_t y);

}  // namespace vxl::blend
