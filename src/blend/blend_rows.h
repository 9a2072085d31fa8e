// The frame of every two-buffer pixel loop: a source placed at (x, y) on a destination, clipped, and
// walked row by row with one row operation.
#pragma once

#include <cstdint>

#include "blend/row_op.h"
#include "buffers/buffer.h"

namespace vxl::blend {

// The covered part: w x h pixels from source (sx, sy) onto destination (dx, dy).
struct Placement {
    int32_t sx = 0, sy = 0, dx = 0, dy = 0, w = 0, h = 0;
};

// False when a ws x hs source at (x, y) covers nothing of a wd x hd destination.
bool PlaceSource(int32_t ws, int32_t hs, int32_t wd, int32_t hd, int32_t x, int32_t y, Placement* out);

// Both buffers have pixels of one format. A buffer left over from an earlier display of another
// depth would otherwise be read or written with the wrong pixel width, past its rows.
bool Compatible(const TBufferVx& a, const TBufferVx& b);

// The frame of the blends and channel copies: video-memory rows go through their buffer's scratch
// row.
void BlendRows(TBufferVx* source, TBufferVx* destination, int32_t x, int32_t y, RowKind kind, uint32_t opacity = 0,
               uint32_t key = 0);

}  // namespace vxl::blend
