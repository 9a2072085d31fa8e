// Circle outlines and filled circles by integer stepping from the top of the circle to its 45-degree
// points, eight pixels (or four runs) per step.
#pragma once

#include <cstdint>

#include "buffers/buffer.h"

namespace vxl::draw {

void Circle(TBufferVx& b, int32_t cx, int32_t cy, int32_t r, uint32_t colour);
void FillCircle(TBufferVx& b, int32_t cx, int32_t cy, int32_t r, uint32_t colour);

// Radii above which the stepping skips the stretches whose pixels all fall outside the buffer; the
// tests lower it to compare the skipping walk with the plain one.
inline constexpr int64_t kCirclePlainRadius = int64_t(1) << 14;
void Circle(TBufferVx& b, int32_t cx, int32_t cy, int32_t r, uint32_t colour, int64_t plain_radius);
void FillCircle(TBufferVx& b, int32_t cx, int32_t cy, int32_t r, uint32_t colour, int64_t plain_radius);

}  // namespace vxl::draw
