// Alpha blending: a source laid over a destination at (x, y) and mixed toward the source by one
// opacity, by the opacity of each pixel from the source's alpha plane, or by one opacity with a colour
// key whose pixels leave the destination alone.
#pragma once

#include <cstdint>

#include "buffers/buffer.h"

namespace vxl::blend {

void CopyAlpha(TBufferVx* source, TBufferVx* destination, int32_t x, int32_t y, uint8_t opacity);
void CopyAlphaSprite(TBufferVx* source, TBufferVx* destination, int32_t x, int32_t y, uint8_t opacity, uint32_t key);
// A source without an alpha plane is copied opaquely by the blitter instead.
void CopyAlphaMap(TBufferVx* source, TBufferVx* destination, int32_t x, int32_t y);

}  // namespace vxl::blend
