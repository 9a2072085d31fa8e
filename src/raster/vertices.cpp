// The vertices and the buffer layout the polygon fills start from.
#include <cmath>
#include <new>
#include <vector>

#include "raster/polygon_walk.h"

namespace vxl {

std::span<const TPolyVertex> TakeVertices(const TPolyVertex* vertices, int32_t high, int32_t count) {
    static std::vector<TPolyVertex> copy;
    const int64_t n = std::min<int64_t>(count, int64_t(high) + 1);
    if (vertices == nullptr || n < 2) return {};
    try {
        copy.assign(vertices, vertices + n);
    } catch (const std::bad_alloc&) {
        return {};
    }
    const std::span<const TPolyVertex> taken(copy);
    return FinitePositions(taken) ? taken : std::span<const TPolyVertex>{};
}

bool FinitePositions(std::span<const TPolyVertex> vertices) {
    for (const TPolyVertex& v : vertices) {
        if (!std::isfinite(v.x) || !std::isfinite(v.y)) return false;
    }
    return true;
}

TPixelLayout LayoutOf(const TBufferVx& b) {
    if (!b.has_surface() || b.pixels() == nullptr) return TPixelLayout::None;
    const TPixelLayout layout = LayoutOfDepth(b.display_depth());
    const uint32_t bytes = DispatchLayout(layout, 0u, [](auto px) { return decltype(px)::kBytes; });
    return bytes == b.bytes_per_pixel() ? layout : TPixelLayout::None;
}

}  // namespace vxl
