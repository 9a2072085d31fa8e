// The Gouraud fill: colours interpolated in 16.16 down the edges and across each row.
#include <algorithm>
#include <cstring>
#include <utility>

#include "raster/polygon_walk.h"
#include "raster/polygons.h"
#include "raster/shade_run.h"

namespace vxl {
namespace {

template <typename Px>
void PaintGouraudRow(TBufferVx& b, const TEdgeTables& t, int32_t xa, int32_t xb, int32_t y, uint8_t* scratch,
                     ShadeRunFn fast) {
    Channels ca = t.C[0][size_t(y)], cb = t.C[1][size_t(y)];
    if (xb < xa) {
        std::swap(xa, xb);
        std::swap(ca, cb);
    }
    if (xb < 0 || xa > b.width() - 1) return;
    const int32_t n = xb - xa;
    const Channels d = {RowStep(ca[0], cb[0], n), RowStep(ca[1], cb[1], n), RowStep(ca[2], cb[2], n)};
    const int32_t right = std::min(xb, b.width() - 1);
    if (right - xa <= 0) return;  // crossings on one column, or one column left at the right border

    // Columns left of the buffer still step the colours, so the visible part does not depend on the clip.
    const int32_t left = std::max(xa, 0);
    Channels c = ca;
    bool plain = true;  // every value of the row is a non-negative 16.16 number: a shift is its integer part
    for (int i = 0; i < 3; ++i) {
        const int64_t first = int64_t(ca[i]) + int64_t(d[i]) * (left - xa);
        const int64_t last = int64_t(ca[i]) + int64_t(d[i]) * (right - xa);
        plain = plain && std::min(first, last) >= 0 && std::max(first, last) <= INT32_MAX;
        c[i] = WrapAdd(ca[i], WrapMul(d[i], left - xa));
    }
    uint8_t* p = (scratch ? scratch : b.row(y)) + size_t(left) * Px::kBytes;
    const int32_t count = right - left + 1;
    if (!plain) {
        for (int32_t i = 0; i < count; ++i, p += Px::kBytes) {
            Px::Store(p, Px::Pack(uint8_t(IntPart(c[0])), uint8_t(IntPart(c[1])), uint8_t(IntPart(c[2]))));
            for (int k = 0; k < 3; ++k) c[k] = WrapAdd(c[k], d[k]);
        }
    } else if (fast != nullptr) {
        fast(p, count, c, d);
    } else {
        ShadeRun<Px>(p, count, c, d);
    }
    if (scratch) {
        const size_t offset = size_t(left) * Px::kBytes;
        std::memcpy(b.row(y) + offset, scratch + offset, size_t(count) * Px::kBytes);
    }
}

}  // namespace

void FillGouraud(TBufferVx& b, std::span<const TPolyVertex> vertices) {
    if (vertices.size() < 2 || !FinitePositions(vertices)) return;
    DispatchLayout(LayoutOf(b), 0, [&](auto px) {
        using Px = decltype(px);
        TEdgeTables& t = b.edge_tables();
        // Rows of a surface in video memory are composed in system memory and moved in one block.
        uint8_t* scratch = b.in_video_memory() ? b.row_scratch() : nullptr;
        const ShadeRunFn fast = ChooseShadeRun(LayoutOf(b));
        const auto channels = [](uint32_t colour) {
            uint8_t r, g, bl;
            Px::Unpack(colour, &r, &g, &bl);
            return Channels{r, g, bl};
        };
        WalkPolygon(
            b, vertices,
            [&](const TPolyVertex& from, const TPolyVertex& to) {
                ScanEdgeGouraud(t, from, channels(from.colour), to, channels(to.colour));
            },
            [&](int32_t xa, int32_t xb, int32_t y) { PaintGouraudRow<Px>(b, t, xa, xb, y, scratch, fast); });
        return 0;
    });
}

void GouraudPoly(TBufferVx& b, const TPolyVertex* vertices, int32_t high, int32_t count) {
    FillGouraud(b, TakeVertices(vertices, high, count));
}

void ShadedRect(TBufferVx& b, int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t c1, uint32_t c2, uint32_t c3,
                uint32_t c4) {
    const auto corner = [](int32_t x, int32_t y, uint32_t colour) {
        TPolyVertex v{};
        v.x = float(x);
        v.y = float(y);
        v.colour = colour;
        return v;
    };
    const TPolyVertex corners[4] = {corner(x1, y1, c1), corner(x2, y1, c2), corner(x2, y2, c3), corner(x1, y2, c4)};
    FillGouraud(b, corners);
}

}  // namespace vxl
