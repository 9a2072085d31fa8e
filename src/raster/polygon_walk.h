// What the four polygon fills share: the host's vertices, the edge scanners that record each edge's
// crossings in the buffer's edge tables, and the walk that calls a fill's row painter for each row.
//
// Rows are sampled at integer y: a row y is painted when top <= y < bottom, so of two polygons sharing
// an edge only one paints the rows along it. An edge from (x0, y0) to (x1, y1) writes the rows
// Ceil(min y) .. Ceil(max y) - 1 into the table of its direction, with x stepped in 16.16.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "buffers/buffer.h"
#include "buffers/pixel_format.h"
#include "raster/fixed_point.h"
#include "vxl.h"

namespace vxl {

static_assert(sizeof(TPolyVertex) == 32, "the host passes 32-byte vertices");
static_assert(offsetof(TPolyVertex, u) == 12 && offsetof(TPolyVertex, v) == 16 && offsetof(TPolyVertex, colour) == 28);

// The host's array as the fills use it: copied (the fill never goes back to the host's memory, which
// it never writes), with the count clamped to the array's length (high + 1). Fewer than two vertices,
// no array, or a position that is not a finite number gives an empty polygon. The copy lives in a store
// that grows once and is reused, valid until the next call.
std::span<const TPolyVertex> TakeVertices(const TPolyVertex* vertices, int32_t high, int32_t count);

// NaN or infinite positions have no rows to sample; such polygons are not drawn.
bool FinitePositions(std::span<const TPolyVertex> vertices);

// The buffer's layout when its rows really hold pixels of that layout; None otherwise (no surface, or
// a buffer made under a display of another depth), and nothing is drawn then.
TPixelLayout LayoutOf(const TBufferVx& b);

// The three edge scanners, start vertex first. Each writes X (and C or T) of the edge's side for the
// rows it covers inside the tables. The flat one divides in double precision, the other two by a
// height first rounded to float, and every slope is kept as a float; the colour scanner takes each
// end's red, green and blue in 8 bits.
void ScanEdgeFlat(TEdgeTables& t, const TPolyVertex& a, const TPolyVertex& b);
void ScanEdgeGouraud(TEdgeTables& t, const TPolyVertex& a, const std::array<int32_t, 3>& ca, const TPolyVertex& b,
                     const std::array<int32_t, 3>& cb);
void ScanEdgeTexture(TEdgeTables& t, const TPolyVertex& a, const TPolyVertex& b);

// Walks the polygon: every edge (the closing edge from the last vertex back to the first included)
// through `scan(start, end)`, then `paint(x0, x1, y)` for each row between top and bottom inside the
// buffer, with the two crossings of that row. `vertices` holds at least two. Every row it paints has
// a crossing of each side written by this polygon, so the tables need only reach its bottom row; a
// polygon whose rows all lie above the buffer or whose tables cannot be had is not drawn.
template <typename Scan, typename Paint>
void WalkPolygon(TBufferVx& b, std::span<const TPolyVertex> vertices, Scan&& scan, Paint&& paint) {
    float top = vertices[0].y, bottom = vertices[0].y;
    for (const TPolyVertex& v : vertices) {
        top = v.y < top ? v.y : top;
        bottom = v.y > bottom ? v.y : bottom;
    }
    if (top == bottom || Ceil(bottom) <= 0 || !b.CoverEdgeRows(Ceil(bottom))) return;

    const size_t count = vertices.size();
    for (size_t i = 1; i < count; ++i) scan(vertices[i - 1], vertices[i]);
    scan(vertices[count - 1], vertices[0]);

    const int32_t first = Ceil(top) < 0 ? 0 : Ceil(top);
    const TEdgeTables& t = b.edge_tables();
    const int64_t last = std::min<int64_t>({int64_t(Ceil(bottom)) - 1, int64_t(b.height()) - 1, t.rows() - 1});
    for (int32_t y = first; y <= last; ++y) paint(t.X[0][size_t(y)], t.X[1][size_t(y)], y);
}

}  // namespace vxl
