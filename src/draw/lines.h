// Straight lines between two points, clipped once to the buffer and stepped with an accumulator.
#pragma once

#include <cstdint>

#include "buffers/buffer.h"

namespace vxl::draw {

// Moves the endpoints of a segment onto the rectangle 0..max_x, 0..max_y by region codes; false when
// nothing of it is left. Products are exact, so any coordinates clip to meaningful points.
bool ClipLine(int64_t max_x, int64_t max_y, int64_t& x1, int64_t& y1, int64_t& x2, int64_t& y2);

// Both endpoints are drawn; the same segment drawn backwards may pick other pixels where the
// accumulator ties.
void Line(TBufferVx& b, int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t colour);
// Line for endpoints computed beyond 32 bits (curve samples).
void LineWide(TBufferVx& b, int64_t x1, int64_t y1, int64_t x2, int64_t y2, uint32_t colour);

}  // namespace vxl::draw
