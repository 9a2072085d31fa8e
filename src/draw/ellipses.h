// Ellipse outlines and filled ellipses by integer stepping from the ends of the horizontal axis
// toward the ends of the vertical one: each pass moves one row outward, one column inward, or both.
#pragma once

#include <cstdint>

#include "buffers/buffer.h"

namespace vxl::draw {

void Ellipse(TBufferVx& b, int32_t cx, int32_t cy, int32_t rx, int32_t ry, uint32_t colour);
void FillEllipse(TBufferVx& b, int32_t cx, int32_t cy, int32_t rx, int32_t ry, uint32_t colour);

// Semi-axes above which the passes are not stepped one by one but worked out per column (outline)
// or per row (fill), for the columns and rows of the buffer only. Both give the same pixels; the
// tests lower the limit to compare them.
inline constexpr int64_t kEllipsePlainAxis = int64_t(1) << 14;
void Ellipse(TBufferVx& b, int32_t cx, int32_t cy, int32_t rx, int32_t ry, uint32_t colour, int64_t plain_axis);
void FillEllipse(TBufferVx& b, int32_t cx, int32_t cy, int32_t rx, int32_t ry, uint32_t colour, int64_t plain_axis);

}  // namespace vxl::draw
