// Cubic Bezier curves: the polynomial sampled in 32-bit floats, the samples joined by straight lines.
#pragma once

#include <cstdint>

#include "buffers/buffer.h"

namespace vxl::draw {

// From (x0, y0) to (x3, y3) with the control points (x1, y1) near the start and (x2, y2) near the end.
// t grows by 1/steps in float, so the last sample may land a pixel short of the end point.
void CubicBezierLine(TBufferVx& b, int32_t x0, int32_t y0, int32_t x3, int32_t y3, int32_t x1, int32_t y1, int32_t x2,
                     int32_t y2, int32_t steps, uint32_t colour);

}  // namespace vxl::draw
