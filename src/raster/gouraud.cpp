// The Gouraud fill: colours interpolated in 16.16 down the edges and across each row.
#include <immintrin.h>

#include <algorithm>
#include <cstring>
#include <utility>

#include "platform/cpu.h"
#include "raster/polygon_walk.h"
#include "raster/polygons.h"

namespace vxl {
namespace {

using Channels = std::array<int32_t, 3>;

// The pixel of three non-negative 16.16 channels, each taken as the low 8 bits of its integer part:
// the same as Px::Pack of those bytes, with the fields cut straight out of the 16.16 words.
template <typename Px>
inline uint32_t PackFixed(uint32_t r, uint32_t g, uint32_t b) {
    if constexpr (Px::kDepth == 15) {
        return (r >> 9 & 0x7C00) | (g >> 14 & 0x3E0) | (b >> 19 & 0x1F);
    } else if constexpr (Px::kDepth == 16) {
        return (r >> 8 & 0xF800) | (g >> 13 & 0x7E0) | (b >> 19 & 0x1F);
    } else {
        return (r & 0xFF0000) | (g >> 8 & 0xFF00) | (b >> 16 & 0xFF);
    }
}

// `count` pixels from p of channels c stepped by d, all of them non-negative 16.16 values: the reference.
template <typename Px>
void ShadeRun(uint8_t* p, int32_t count, const Channels& c, const Channels& d) {
    uint32_t r = uint32_t(c[0]), g = uint32_t(c[1]), b = uint32_t(c[2]);
    for (int32_t i = 0; i < count; ++i, p += Px::kBytes) {
        Px::Store(p, PackFixed<Px>(r, g, b));
        r += uint32_t(d[0]);
        g += uint32_t(d[1]);
        b += uint32_t(d[2]);
    }
}

// Four neighbouring pixels' values of one channel: c, c + d, c + 2d, c + 3d (wrapping like the reference).
inline __m128i Lanes(int32_t c, int32_t d) {
    const uint32_t u = uint32_t(c), e = uint32_t(d);
    return _mm_setr_epi32(int32_t(u), int32_t(u + e), int32_t(u + 2 * e), int32_t(u + 3 * e));
}

template <typename Px>
inline __m128i PackLanes(__m128i r, __m128i g, __m128i b) {
    const auto field = [](__m128i v, int shift, int32_t mask) {
        return _mm_and_si128(_mm_srli_epi32(v, shift), _mm_set1_epi32(mask));
    };
    if constexpr (Px::kDepth == 15) {
        return _mm_or_si128(_mm_or_si128(field(r, 9, 0x7C00), field(g, 14, 0x3E0)), field(b, 19, 0x1F));
    } else if constexpr (Px::kDepth == 16) {
        return _mm_or_si128(_mm_or_si128(field(r, 8, 0xF800), field(g, 13, 0x7E0)), field(b, 19, 0x1F));
    } else {
        return _mm_or_si128(_mm_or_si128(_mm_and_si128(r, _mm_set1_epi32(0xFF0000)), field(g, 8, 0xFF00)),
                            field(b, 16, 0xFF));
    }
}

// The same run four (32 bits) or eight (15, 16 bits) pixels at a time; the same pixels as ShadeRun.
template <typename Px>
void ShadeRunSse2(uint8_t* p, int32_t count, const Channels& c, const Channels& d) {
    if constexpr (Px::kBytes == 3) {
        ShadeRun<Px>(p, count, c, d);  // three-byte pixels stay scalar
    } else {
        constexpr int32_t kStep = Px::kBytes == 4 ? 4 : 8;
        __m128i r = Lanes(c[0], d[0]), g = Lanes(c[1], d[1]), b = Lanes(c[2], d[2]);
        const __m128i dr = _mm_set1_epi32(int32_t(uint32_t(d[0]) * 4));
        const __m128i dg = _mm_set1_epi32(int32_t(uint32_t(d[1]) * 4));
        const __m128i db = _mm_set1_epi32(int32_t(uint32_t(d[2]) * 4));
        int32_t i = 0;
        for (; i + kStep <= count; i += kStep, p += kStep * Px::kBytes) {
            __m128i lo = PackLanes<Px>(r, g, b);
            r = _mm_add_epi32(r, dr), g = _mm_add_epi32(g, dg), b = _mm_add_epi32(b, db);
            if constexpr (Px::kBytes == 2) {
                __m128i hi = PackLanes<Px>(r, g, b);
                r = _mm_add_epi32(r, dr), g = _mm_add_epi32(g, dg), b = _mm_add_epi32(b, db);
                // Sign-extended first, so the signed pack keeps each 16-bit value as it is.
                lo = _mm_srai_epi32(_mm_slli_epi32(lo, 16), 16);
                hi = _mm_srai_epi32(_mm_slli_epi32(hi, 16), 16);
                lo = _mm_packs_epi32(lo, hi);
            }
            _mm_storeu_si128(reinterpret_cast<__m128i*>(p), lo);
        }
        const auto at = [&](int k) { return int32_t(uint32_t(c[k]) + uint32_t(d[k]) * uint32_t(i)); };
        ShadeRun<Px>(p, count - i, Channels{at(0), at(1), at(2)}, d);
    }
}

__attribute__((target("avx2"), always_inline)) inline __m256i Field256(__m256i v, int shift, int32_t mask) {
    return _mm256_and_si256(_mm256_srli_epi32(v, shift), _mm256_set1_epi32(mask));
}

template <typename Px>
__attribute__((target("avx2"), always_inline)) inline __m256i PackLanes256(__m256i r, __m256i g, __m256i b) {
    if constexpr (Px::kDepth == 15) {
        return _mm256_or_si256(_mm256_or_si256(Field256(r, 9, 0x7C00), Field256(g, 14, 0x3E0)), Field256(b, 19, 0x1F));
    } else if constexpr (Px::kDepth == 16) {
        return _mm256_or_si256(_mm256_or_si256(Field256(r, 8, 0xF800), Field256(g, 13, 0x7E0)), Field256(b, 19, 0x1F));
    } else {
        return _mm256_or_si256(
            _mm256_or_si256(_mm256_and_si256(r, _mm256_set1_epi32(0xFF0000)), Field256(g, 8, 0xFF00)),
            Field256(b, 16, 0xFF));
    }
}

// Eight lanes per channel: c, c + d, ... c + 7d, wrapping like the reference.
__attribute__((target("avx2"), always_inline)) inline __m256i Lanes256(int32_t c, int32_t d) {
    const __m256i k = _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7);
    return _mm256_add_epi32(_mm256_set1_epi32(c), _mm256_mullo_epi32(_mm256_set1_epi32(d), k));
}

// The same run eight (32 bits) or sixteen (15, 16 bits) pixels at a time; the same pixels as ShadeRun.
template <typename Px>
__attribute__((target("avx2"))) void ShadeRunAvx2(uint8_t* p, int32_t count, const Channels& c, const Channels& d) {
    if constexpr (Px::kBytes == 3) {
        return ShadeRun<Px>(p, count, c, d);  // three-byte pixels stay scalar
    }
    constexpr int32_t kStep = Px::kBytes == 4 ? 8 : 16;
    __m256i r = Lanes256(c[0], d[0]), g = Lanes256(c[1], d[1]), b = Lanes256(c[2], d[2]);
    const __m256i dr = _mm256_set1_epi32(int32_t(uint32_t(d[0]) * 8));
    const __m256i dg = _mm256_set1_epi32(int32_t(uint32_t(d[1]) * 8));
    const __m256i db = _mm256_set1_epi32(int32_t(uint32_t(d[2]) * 8));
    int32_t i = 0;
    for (; i + kStep <= count; i += kStep, p += kStep * Px::kBytes) {
        __m256i lo = PackLanes256<Px>(r, g, b);
        r = _mm256_add_epi32(r, dr), g = _mm256_add_epi32(g, dg), b = _mm256_add_epi32(b, db);
        if constexpr (Px::kBytes == 2) {
            __m256i hi = PackLanes256<Px>(r, g, b);
            r = _mm256_add_epi32(r, dr), g = _mm256_add_epi32(g, dg), b = _mm256_add_epi32(b, db);
            lo = _mm256_srai_epi32(_mm256_slli_epi32(lo, 16), 16);
            hi = _mm256_srai_epi32(_mm256_slli_epi32(hi, 16), 16);
            // The pack works within each 128-bit half; the quarter swap puts the pixels back in order.
            lo = _mm256_permute4x64_epi64(_mm256_packs_epi32(lo, hi), 0xD8);
        }
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), lo);
    }
    const auto at = [&](int k) { return int32_t(uint32_t(c[k]) + uint32_t(d[k]) * uint32_t(i)); };
    ShadeRunSse2<Px>(p, count - i, Channels{at(0), at(1), at(2)}, d);
}

template <typename Px>
void PaintGouraudRow(TBufferVx& b, const TEdgeTables& t, int32_t xa, int32_t xb, int32_t y, uint8_t* scratch) {
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
    } else if (Px::kBytes != 3 && platform::Cpu().avx2) {
        ShadeRunAvx2<Px>(p, count, c, d);
    } else if (Px::kBytes != 3 && platform::Cpu().sse2) {
        ShadeRunSse2<Px>(p, count, c, d);
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
            [&](int32_t xa, int32_t xb, int32_t y) { PaintGouraudRow<Px>(b, t, xa, xb, y, scratch); });
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
