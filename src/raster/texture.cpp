// The texture fills: texels at (u, v) interpolated in 16.16 down the edges and across each row.
#include <immintrin.h>

#include <algorithm>
#include <cstring>
#include <utility>

#include "platform/cpu.h"
#include "raster/polygon_walk.h"
#include "raster/polygons.h"

namespace vxl {
namespace {

using Coords = std::array<int32_t, 2>;

// Where the texels come from; (u, v) past an edge of the texture take the texel at that edge.
struct TexelSource {
    const uint8_t* pixels;
    size_t pitch;
    int32_t max_x, max_y;
    // Texels may be gathered eight at a time: 2- or 4-byte pixels, byte offsets that fit an int32, a
    // processor with AVX2, and a texture that is not the destination (whose texels a row may change).
    bool gather;
};

// Eight texel addresses per step for a turned run: u and v in the lanes, stepped exactly as the
// scalar loop steps them (mod 2^32).
struct TexelLanes {
    __m256i u, v, u8, v8, pitch;
    const int* base;
};

__attribute__((target("avx2"), always_inline)) inline TexelLanes StartLanes(uint32_t uu, uint32_t vv, uint32_t su,
                                                                            uint32_t sv, const TexelSource& s) {
    const __m256i lane = _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7);
    return {_mm256_add_epi32(_mm256_set1_epi32(int(uu)), _mm256_mullo_epi32(_mm256_set1_epi32(int(su)), lane)),
            _mm256_add_epi32(_mm256_set1_epi32(int(vv)), _mm256_mullo_epi32(_mm256_set1_epi32(int(sv)), lane)),
            _mm256_set1_epi32(int(su * 8)),
            _mm256_set1_epi32(int(sv * 8)),
            _mm256_set1_epi32(int(s.pitch)),
            reinterpret_cast<const int*>(s.pixels)};
}

// The 32 bits at each of the next eight texels of kBytes bytes.
template <uint32_t kBytes>
__attribute__((target("avx2"), always_inline)) inline __m256i GatherStep(TexelLanes& l) {
    constexpr int kShift = kBytes == 4 ? 2 : 1;
    const __m256i offset = _mm256_add_epi32(_mm256_mullo_epi32(_mm256_srli_epi32(l.v, 16), l.pitch),
                                            _mm256_slli_epi32(_mm256_srli_epi32(l.u, 16), kShift));
    l.u = _mm256_add_epi32(l.u, l.u8);
    l.v = _mm256_add_epi32(l.v, l.v8);
    return _mm256_i32gather_epi32(l.base, offset, 1);
}

// Pixels 0 .. count-1 of a turned run of 2- or 4-byte texels inside the texture; returns how many it
// painted. A 2-byte texel is the low half of the 32 bits gathered at it: the read may reach two bytes
// past the last texel, which surfaces keep spare for this.
template <uint32_t kBytes>
__attribute__((target("avx2"))) int64_t GatherTexels(uint8_t* out, int64_t count, uint32_t uu, uint32_t vv, uint32_t su,
                                                     uint32_t sv, const TexelSource& s) {
    TexelLanes lanes = StartLanes(uu, vv, su, sv, s);
    constexpr int64_t kStep = 32 / kBytes;
    int64_t i = 0;
    for (; i + kStep <= count; i += kStep) {
        __m256i texels = GatherStep<kBytes>(lanes);
        if constexpr (kBytes == 2) {
            const __m256i low = _mm256_set1_epi32(0xFFFF);
            const __m256i second = _mm256_and_si256(GatherStep<kBytes>(lanes), low);
            // The pack works within each 128-bit half; the quarter swap puts the pixels back in order.
            texels = _mm256_permute4x64_epi64(_mm256_packus_epi32(_mm256_and_si256(texels, low), second), 0xD8);
        }
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + i * kBytes), texels);
    }
    return i;
}

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

// Pixels i0 .. i1 of a run starting at p with (u, v) at pixel 0, each texel clamped into the texture.
template <typename Px, bool kKeyed>
void ClampedTexels(uint8_t* p, int64_t i0, int64_t i1, int32_t u, int32_t v, int32_t du, int32_t dv,
                   const TexelSource& s, uint32_t key) {
    u = WrapAdd(u, WrapMul(du, i0));
    v = WrapAdd(v, WrapMul(dv, i0));
    for (int64_t i = i0; i <= i1; ++i) {
        const int32_t tx = u < 0 ? 0 : std::min(u >> 16, s.max_x);
        const int32_t ty = v < 0 ? 0 : std::min(v >> 16, s.max_y);
        PutTexel<Px, kKeyed>(p + i * Px::kBytes, s.pixels + size_t(ty) * s.pitch + size_t(tx) * Px::kBytes, key);
        u = WrapAdd(u, du);
        v = WrapAdd(v, dv);
    }
}

// Pixels 0 .. n from p, (u, v) at pixel 0 stepped by (du, dv). The pixels whose (u, v) lie inside the
// texture form one stretch (the coordinates are linear); it is painted without clamping, the few
// pixels before and after it with.
template <typename Px, bool kKeyed>
void TexelRun(uint8_t* p, int64_t n, int32_t u, int32_t v, int32_t du, int32_t dv, const TexelSource& s, uint32_t key) {
    const int64_t u_limit = int64_t(s.max_x + 1) << 16, v_limit = int64_t(s.max_y + 1) << 16;
    const auto inside = [&](int64_t i) {
        const int64_t ui = int64_t(u) + int64_t(du) * i, vi = int64_t(v) + int64_t(dv) * i;
        return ui >= 0 && ui < u_limit && vi >= 0 && vi < v_limit;
    };
    int64_t last = n;
    while (last >= 0 && !inside(last)) --last;
    int64_t first = 0;
    while (first <= last && !inside(first)) ++first;
    if (first > last) return ClampedTexels<Px, kKeyed>(p, 0, n, u, v, du, dv, s, key);
    ClampedTexels<Px, kKeyed>(p, 0, first - 1, u, v, du, dv, s, key);

    // Inside the texture the values neither wrap nor need clamping.
    // (Locals, so that the stores cannot be taken to change them.)
    uint32_t uu = uint32_t(int64_t(u) + int64_t(du) * first), vv = uint32_t(int64_t(v) + int64_t(dv) * first);
    const uint32_t su = uint32_t(du), sv = uint32_t(dv);
    const uint8_t* const pixels = s.pixels;
    const size_t pitch = s.pitch;
    uint8_t* out = p + first * Px::kBytes;
    uint8_t* const end = p + (last + 1) * Px::kBytes;
    if (dv == 0) {  // a run along one texture row, as in every unturned copy
        const uint8_t* texels = pixels + (vv >> 16) * pitch;
#pragma GCC unroll 4
        for (; out != end; out += Px::kBytes, uu += su) {
            PutTexel<Px, kKeyed>(out, texels + (uu >> 16) * Px::kBytes, key);
        }
    } else {
        if constexpr ((Px::kBytes == 4 || Px::kBytes == 2) && !kKeyed) {
            if (s.gather) {
                const int64_t pixels_left = (end - out) / Px::kBytes;
                const int64_t done = GatherTexels<Px::kBytes>(out, pixels_left, uu, vv, su, sv, s);
                out += done * Px::kBytes, uu += su * uint32_t(done), vv += sv * uint32_t(done);
            }
        }
#pragma GCC unroll 4
        for (; out != end; out += Px::kBytes, uu += su, vv += sv) {
            PutTexel<Px, kKeyed>(out, pixels + (vv >> 16) * pitch + (uu >> 16) * Px::kBytes, key);
        }
    }
    ClampedTexels<Px, kKeyed>(p, last + 1, n, u, v, du, dv, s, key);
}

// The last row painted along one texture row. A texture row magnified over several pixel rows gives
// rows that sample exactly the same texels: those are copied from the row above instead.
struct RowAlongTexture {
    int32_t y = -2, left = 0, right = 0, u = 0, du = 0, ty = 0;
};

template <typename Px, bool kKeyed>
void PaintTextureRow(TBufferVx& b, const TEdgeTables& t, int32_t xa, int32_t xb, int32_t y, const TexelSource& s,
                     uint8_t* scratch, uint32_t key, RowAlongTexture* previous) {
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
    const size_t offset = size_t(left) * Px::kBytes, bytes = size_t(right - left + 1) * Px::kBytes;
    if (previous && dv == 0) {
        const RowAlongTexture row{y, left, right, u, du, v < 0 ? 0 : std::min(v >> 16, s.max_y)};
        const RowAlongTexture& p = *previous;
        const bool same =
            p.y == y - 1 && p.left == left && p.right == right && p.u == u && p.du == du && p.ty == row.ty;
        *previous = row;
        if (same) {  // the scratch row still holds the row above
            std::memcpy(b.row(y) + offset, scratch ? scratch + offset : b.row(y - 1) + offset, bytes);
            return;
        }
    } else if (previous) {
        previous->y = -2;
    }
    TexelRun<Px, kKeyed>((scratch ? scratch : b.row(y)) + offset, right - left, u, v, du, dv, s, key);
    if (scratch) std::memcpy(b.row(y) + offset, scratch + offset, bytes);
}

template <bool kKeyed>
void Fill(TBufferVx& b, const TBufferVx& texture, std::span<const TPolyVertex> vertices, uint32_t key) {
    if (vertices.size() < 2 || !FinitePositions(vertices) || LayoutOf(texture) != LayoutOf(b)) return;
    const bool gather = LayoutOf(b) != TPixelLayout::Bgr24 && &texture != &b && platform::Cpu().avx2 &&
                        uint64_t(texture.pitch()) * uint64_t(texture.height()) < (uint64_t(1) << 31);
    const TexelSource source{texture.pixels(), size_t(texture.pitch()), texture.width() - 1, texture.height() - 1,
                             gather};
    DispatchLayout(LayoutOf(b), 0, [&](auto px) {
        using Px = decltype(px);
        TEdgeTables& t = b.edge_tables();
        // Rows of a surface in video memory are composed in system memory and moved in one block; the
        // keyed fill writes in place, since the pixels it skips must keep what the surface holds.
        uint8_t* scratch = !kKeyed && b.in_video_memory() ? b.row_scratch() : nullptr;
        // Skipped texels keep what the destination held, so keyed rows are never copied; nor are rows
        // of a buffer that is its own texture, since the row above may have changed its texels.
        RowAlongTexture along;
        RowAlongTexture* previous = !kKeyed && &texture != &b ? &along : nullptr;
        WalkPolygon(
            b, vertices, [&](const TPolyVertex& from, const TPolyVertex& to) { ScanEdgeTexture(t, from, to); },
            [&](int32_t xa, int32_t xb, int32_t y) {
                PaintTextureRow<Px, kKeyed>(b, t, xa, xb, y, source, scratch, key, previous);
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
