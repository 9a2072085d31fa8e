// Rotated and zoomed copies: the source's four corners turned about its centre, scaled, placed with the
// centre at (x, y) of the destination, and painted by the texture fills with the source as texture.
#pragma once

#include <array>
#include <cstdint>

#include "buffers/buffer.h"
#include "vxl.h"

namespace vxl {

// The corners (0, 0), (w, 0), (w, h), (0, h) of a w x h source turned by `angle` degrees (clockwise on
// screen) and scaled by `zoom` about (w div 2, h div 2), which lands on (x, y); u, v are the corners.
std::array<TPolyVertex, 4> RotatedCorners(int32_t w, int32_t h, int32_t x, int32_t y, float zoom, float angle);

void CopyRotate(const TBufferVx& source, TBufferVx* destination, int32_t x, int32_t y, float zoom, float angle);
// The same, leaving the destination alone where the source holds `key`.
void CopyRotateSprite(const TBufferVx& source, TBufferVx* destination, int32_t x, int32_t y, float zoom, float angle,
                      uint32_t key);

}  // namespace vxl
