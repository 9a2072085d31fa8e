// The texture fills: texels at (u, v) interpolated in 16.16 down the edges and across each row.
#include <algorithm>
#include <cstring>
#include <utility>

#include "raster/polygon_walk.h"
#include "raster/polygons.h"

namespace vxl {
namespace {

using Coords = std::array<int32_t, 2>;

inline int32_t RowStep(int32_t from, int32_t to, int32_t n) {
    return n == 0 ? 0 : int32_t(uint32_t(uint64_t((int64_t(to) - int64_t(from)) / n)));
}

// Where the texels come from; (u, v) past an edge of the texture take the texel at that edge.
struct TexelSource {
    const uint8_t* pixels;
    size_t pitch;
    int32_t max_x, max_y;
};

// A texel equals the key when the stored colour does: the whole 16-bit value against the whole key at
// 15 and 16 bits (so a key above 0xFFFF never matches), red, green and blue at 24 and 32 bits.
template <typename Px>
inline bool IsKey(uint32_t texel, uint32_t key) {
    if constexpr (Px::kBytes == 2) {
        return texel == key;
    } else {
        return ((texel ^ key) & 0xFFFFFF) == 0;
    }
}

template <typename Px, bool kKeyed>
inline void PutTexel(uint8_t* p, const uint8_t* texel, uint32_t key) {
    if constexpr (kKeyed) {
        const uint32_t value = Px::Load(texel);
        if (!IsKey<Px>(value, key)) Px::Store(p, value);
    } else {
        std::memcpy(p, texel, Px::kBytes);
    }
}

// Pixels left .. right of `row` (u, v at `left` given), stepping u and v by du and dv.
template <typename Px, bool kKeyed>
void TexelRun(uint8_t* row, int32_t left, int32_t right, int32_t u, int32_t v, int32_t du, int32_t dv,
              const TexelSource& s, uint32_t key) {
    uint8_t* p = row + size_t(left) * Px::kBytes;
    const int64_t n = right - left;
    const int64_t u_end = int64_t(u) + int64_t(du) * n, v_end = int64_t(v) + int64_t(dv) * n;
    const int64_t u_limit = int64_t(s.max_x + 1) << 16, v_limit = int64_t(s.max_y + 1) << 16;
    if (std::min<int64_t>(u, u_end) >= 0 && std::max<int64_t>(u, u_end) < u_limit && std::min<int64_t>(v, v_end) >= 0 &&
        std::max<int64_t>(v, v_end) < v_limit) {
        // The whole run lies inside the texture: no clamping, and no value leaves the range.
        uint32_t uu = uint32_t(u), vv = uint32_t(v);
        for (int64_t i = 0; i <= n; ++i, p += Px::kBytes) {
            PutTexel<Px, kKeyed>(p, s.pixels + (vv >> 16) * s.pitch + (uu >> 16) * Px::kBytes, key);
            uu += uint32_t(du);
            vv += uint32_t(dv);
        }
        return;
    }
    for (int64_t i = 0; i <= n; ++i, p += Px::kBytes) {
        const int32_t tx = u < 0 ? 0 : std::min(u >> 16, s.max_x);
        const int32_t ty = v < 0 ? 0 : std::min(v >> 16, s.max_y);
        PutTexel<Px, kKeyed>(p, s.pixels + size_t(ty) * s.pitch + size_t(tx) * Px::kBytes, key);
        u = WrapAdd(u, du);
        v = WrapAdd(v, dv);
    }
}

template <typename Px, bool kKeyed>
void PaintTextureRow(TBufferVx& b, const TEdgeTables& t, int32_t xa, int32_t xb, int32_t y, const TexelSource& s,
                     uint8_t* scratch, uint32_t key) {
    Coords ta = t.T[0][size_t(y)], tb = t.T[1][size_t(y)];
    if (xb < xa) {
        std::swap(xa, xb);
        std::swap(ta, tb);
    }
    if (xb < 0 || xa > b.width() - 1) return;
    const int32_t n = xb - xa;
    const int32_t du = RowStep(ta[0], tb[0], n), dv = RowStep(ta[1], tb[1], n);
    const int32_t right = std::min(xb, b.width() - 1);
    if (right - xa <= 0) return;  // crossings on one column, or one column left at the right border

    // Columns left of the buffer still step u and v, so the visible part does not depend on the clip.
    const int32_t left = std::max(xa, 0);
    const int32_t u = WrapAdd(ta[0], WrapMul(du, left - xa)), v = WrapAdd(ta[1], WrapMul(dv, left - xa));
    TexelRun<Px, kKeyed>(scratch ? scratch : b.row(y), left, right, u, v, du, dv, s, key);
    if (scratch) {
        const size_t offset = size_t(left) * Px::kBytes;
        std::memcpy(b.row(y) + offset, scratch + offset, size_t(right - left + 1) * Px::kBytes);
    }
}

template <bool kKeyed>
void Fill(TBufferVx& b, const TBufferVx& texture, std::span<const TPolyVertex> vertices, uint32_t key) {
    if (vertices.size() < 2 || !FinitePositions(vertices) || LayoutOf(texture) != LayoutOf(b)) return;
    const TexelSource source{texture.pixels(), size_t(texture.pitch()), texture.width() - 1, texture.height() - 1};
    DispatchLayout(LayoutOf(b), 0, [&](auto px) {
        using Px = decltype(px);
        TEdgeTables& t = b.edge_tables();
        // Rows of a surface in video memory are composed in system memory and moved in one block; the
        // keyed fill writes in place, since the pixels it skips must keep what the surface holds.
        uint8_t* scratch = !kKeyed && b.in_video_memory() ? b.row_scratch() : nullptr;
        WalkPolygon(
            b, vertices, [&](const TPolyVertex& from, const TPolyVertex& to) { ScanEdgeTexture(t, from, to); },
            [&](int32_t xa, int32_t xb, int32_t y) {
                PaintTextureRow<Px, kKeyed>(b, t, xa, xb, y, source, scratch, key);
            });
        return 0;
    });
}

}  // namespace

void FillTexture(TBufferVx& b, const TBufferVx& texture, std::span<const TPolyVertex> vertices) {
    Fill<false>(b, texture, vertices, 0);
}

void FillKeyTexture(TBufferVx& b, const TBufferVx& texture, std::span<const TPolyVertex> vertices, uint32_t key) {
    Fill<true>(b, texture, vertices, key);
}

void TexturePoly(TBufferVx& b, const TBufferVx* texture, const TPolyVertex* vertices, int32_t high, int32_t count) {
    if (texture) FillTexture(b, *texture, TakeVertices(vertices, high, count));
}

void KeyTexturePoly(TBufferVx& b, const TBufferVx* texture, const TPolyVertex* vertices, int32_t high, int32_t count,
                    uint32_t key) {
    if (texture) FillKeyTexture(b, *texture, TakeVertices(vertices, high, count), key);
}

}  // namespace vxl
