// The polygon fills of a buffer. The host-facing forms take the host's vertex array with its highest
// index and vertex count (see TakeVertices); the Fill forms take vertices already prepared.
#pragma once

#include <cstdint>
#include <span>

#include "buffers/buffer.h"
#include "vxl.h"

namespace vxl {

// Every pixel the polygon covers in one colour, a row at a time through HLine.
void FlatPoly(TBufferVx& b, const TPolyVertex* vertices, int32_t high, int32_t count, uint32_t colour);
void FillFlat(TBufferVx& b, std::span<const TPolyVertex> vertices, uint32_t colour);

// Red, green and blue of the vertices' colours interpolated down the edges and across the rows.
void GouraudPoly(TBufferVx& b, const TPolyVertex* vertices, int32_t high, int32_t count);
void FillGouraud(TBufferVx& b, std::span<const TPolyVertex> vertices);
// The rectangle (x1, y1), (x2, y1), (x2, y2), (x1, y2) with colours c1 .. c4 at those corners.
void ShadedRect(TBufferVx& b, int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t c1, uint32_t c2, uint32_t c3,
                uint32_t c4);

// Texels of `texture` at the vertices' (u, v), interpolated affinely; coordinates outside the texture
// take its nearest edge texel. The keyed form leaves the destination alone where the texel is `key`.
// No texture, or one whose pixels are not the destination's layout, paints nothing.
void TexturePoly(TBufferVx& b, const TBufferVx* texture, const TPolyVertex* vertices, int32_t high, int32_t count);
void KeyTexturePoly(TBufferVx& b, const TBufferVx* texture, const TPolyVertex* vertices, int32_t high, int32_t count,
                    uint32_t key);
void FillTexture(TBufferVx& b, const TBufferVx& texture, std::span<const TPolyVertex> vertices);
void FillKeyTexture(TBufferVx& b, const TBufferVx& texture, std::span<const TPolyVertex> vertices, uint32_t key);

}  // namespace vxl
