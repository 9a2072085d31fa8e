// The flat fill: every covered pixel of the polygon in one colour, each row one HLine.
#include "draw/spans.h"
#include "raster/polygon_walk.h"
#include "raster/polygons.h"

namespace vxl {

void FillFlat(TBufferVx& b, std::span<const TPolyVertex> vertices, uint32_t colour) {
    if (vertices.size() < 2 || !FinitePositions(vertices) || !b.has_surface()) return;
    TEdgeTables& t = b.edge_tables();
    WalkPolygon(
        b, vertices, [&](const TPolyVertex& from, const TPolyVertex& to) { ScanEdgeFlat(t, from, to); },
        [&](int32_t xa, int32_t xb, int32_t y) { draw::HLine(b, xa, xb, y, colour); });
}

void FlatPoly(TBufferVx& b, const TPolyVertex* vertices, int32_t high, int32_t count, uint32_t colour) {
    FillFlat(b, TakeVertices(vertices, high, count), colour);
}

}  // namespace vxl
