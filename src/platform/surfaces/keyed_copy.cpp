// Keyed copies: source pixels whose masked value lies in the key range are left out. The row routine
// is chosen once per call; the vector rows compare whole vectors against the key and skip stores
// where every pixel is transparent, and loads of the destination where none is.
#include <emmintrin.h>
#include <immintrin.h>

#include <vector>

#include "platform/cpu.h"
#include "platform/surfaces/blitter.h"
#include "platform/surfaces/pixel_bytes.h"

namespace vxl::platform {
namespace {

struct KeyedRowArgs {
    uint32_t lo, hi, mask;
};

using KeyedRow = void (*)(uint8_t* d, const uint8_t* s, int32_t n, const KeyedRowArgs& k);

template <uint32_t kBpp>
void KeyedRowScalar(uint8_t* d, const uint8_t* s, int32_t n, const KeyedRowArgs& k) {
    for (int32_t x = 0; x < n; ++x) {
        const uint32_t c = LoadPixel(s + size_t(x) * kBpp, kBpp);
        if (!IsKey(c, k.lo, k.hi, k.mask)) {
            StorePixel(d + size_t(x) * kBpp, kBpp, c);
        }
    }
}

// Vector rows for a single key value (lo == hi). A row shorter than a vector goes per pixel; the last
// partial vector is redone overlapping the one before, which is harmless: a pixel written once from
// the source is written again with the same value, and a kept one is kept again.
template <uint32_t kBpp>
void KeyedRowSse2(uint8_t* d, const uint8_t* s, int32_t n, const KeyedRowArgs& k) {
    constexpr int32_t kStep = 16 / kBpp;
    if (n < kStep) {
        KeyedRowScalar<kBpp>(d, s, n, k);
        return;
    }
    const __m128i key = kBpp == 4 ? _mm_set1_epi32(int(k.lo)) : _mm_set1_epi16(short(k.lo));
    const __m128i mask = kBpp == 4 ? _mm_set1_epi32(int(k.mask)) : _mm_set1_epi16(short(k.mask));
    auto one = [&](int32_t x) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + size_t(x) * kBpp));
        const __m128i m = _mm_and_si128(v, mask);
        const __m128i t = kBpp == 4 ? _mm_cmpeq_epi32(m, key) : _mm_cmpeq_epi16(m, key);
        const int bits = _mm_movemask_epi8(t);
        __m128i* out = reinterpret_cast<__m128i*>(d + size_t(x) * kBpp);
        if (bits == 0xFFFF) {
            return;
        }
        if (bits == 0) {
            _mm_storeu_si128(out, v);
            return;
        }
        const __m128i old = _mm_loadu_si128(out);
        _mm_storeu_si128(out, _mm_or_si128(_mm_and_si128(t, old), _mm_andnot_si128(t, v)));
    };
    int32_t x = 0;
    for (; x + kStep <= n; x += kStep) {
        one(x);
    }
    if (x < n) {
        one(n - kStep);
    }
}

template <uint32_t kBpp>
__attribute__((target("avx2"))) inline void KeyedVectorAvx2(uint8_t* d, const uint8_t* s, __m256i key, __m256i mask) {
    const __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s));
    const __m256i m = _mm256_and_si256(v, mask);
    const __m256i t = kBpp == 4 ? _mm256_cmpeq_epi32(m, key) : _mm256_cmpeq_epi16(m, key);
    const int bits = _mm256_movemask_epi8(t);
    __m256i* out = reinterpret_cast<__m256i*>(d);
    if (bits == -1) {
        return;
    }
    if (bits == 0) {
        _mm256_storeu_si256(out, v);
        return;
    }
    _mm256_storeu_si256(out, _mm256_blendv_epi8(v, _mm256_loadu_si256(out), t));
}

template <uint32_t kBpp>
__attribute__((target("avx2"))) void KeyedRowAvx2(uint8_t* d, const uint8_t* s, int32_t n, const KeyedRowArgs& k) {
    constexpr int32_t kStep = 32 / kBpp;
    if (n < kStep) {
        KeyedRowSse2<kBpp>(d, s, n, k);
        return;
    }
    const __m256i key = kBpp == 4 ? _mm256_set1_epi32(int(k.lo)) : _mm256_set1_epi16(short(k.lo));
    const __m256i mask = kBpp == 4 ? _mm256_set1_epi32(int(k.mask)) : _mm256_set1_epi16(short(k.mask));
    int32_t x = 0;
    // Two vectors per step: sprites are mostly long transparent or solid runs, which then cost one
    // test per 64 bytes.
    for (; x + 2 * kStep <= n; x += 2 * kStep) {
        const uint8_t* sp = s + size_t(x) * kBpp;
        uint8_t* dp = d + size_t(x) * kBpp;
        const __m256i v0 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(sp));
        const __m256i v1 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(sp + 32));
        const __m256i m0 = _mm256_and_si256(v0, mask), m1 = _mm256_and_si256(v1, mask);
        const __m256i t0 = kBpp == 4 ? _mm256_cmpeq_epi32(m0, key) : _mm256_cmpeq_epi16(m0, key);
        const __m256i t1 = kBpp == 4 ? _mm256_cmpeq_epi32(m1, key) : _mm256_cmpeq_epi16(m1, key);
        const int any = _mm256_movemask_epi8(_mm256_or_si256(t0, t1));
        if (any == 0) {
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(dp), v0);
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(dp + 32), v1);
            continue;
        }
        if (_mm256_movemask_epi8(_mm256_and_si256(t0, t1)) == -1) {
            continue;
        }
        KeyedVectorAvx2<kBpp>(dp, sp, key, mask);
        KeyedVectorAvx2<kBpp>(dp + 32, sp + 32, key, mask);
    }
    for (; x + kStep <= n; x += kStep) {
        KeyedVectorAvx2<kBpp>(d + size_t(x) * kBpp, s + size_t(x) * kBpp, key, mask);
    }
    if (x < n) {
        KeyedVectorAvx2<kBpp>(d + size_t(n - kStep) * kBpp, s + size_t(n - kStep) * kBpp, key, mask);
    }
}

KeyedRow ChooseRow(uint32_t bpp, bool single_key) {
    const CpuFeatures& cpu = Cpu();
    const bool vector = single_key && (bpp == 2 || bpp == 4);
    if (vector && cpu.avx2) {
        return bpp == 2 ? KeyedRowAvx2<2> : KeyedRowAvx2<4>;
    }
    if (vector && cpu.sse2) {
        return bpp == 2 ? KeyedRowSse2<2> : KeyedRowSse2<4>;
    }
    switch (bpp) {
        case 1:
            return KeyedRowScalar<1>;
        case 2:
            return KeyedRowScalar<2>;
        case 3:
            return KeyedRowScalar<3>;
        default:
            return KeyedRowScalar<4>;
    }
}

// Copying within one surface reads from a snapshot of the source rectangle, as if through a
// temporary; `from` and `sr` are redirected to it.
void SnapshotIfSame(const PixelMemory& dst, const PixelMemory& src, const Rect& s, std::vector<uint8_t>* snapshot,
                    PixelMemory* from, Rect* sr) {
    *from = src;
    *sr = s;
    if (dst.pixels != src.pixels) {
        return;
    }
    const uint32_t bpp = src.bytes_per_pixel;
    const size_t row_bytes = size_t(s.Width()) * bpp;
    snapshot->resize(row_bytes * size_t(s.Height()));
    *from = PixelMemory{snapshot->data(), s.Width(), s.Height(), int32_t(row_bytes), bpp};
    *sr = Rect{0, 0, s.Width(), s.Height()};
    CopyRect(*from, *sr, src, s);
}

}  // namespace

void CopyRectKeyed(const PixelMemory& dst, const Rect& d, const PixelMemory& src, const Rect& s, uint32_t key_low,
                   uint32_t key_high, uint32_t key_mask) {
    if (d.Empty()) {
        return;
    }
    const uint32_t bpp = dst.bytes_per_pixel;
    std::vector<uint8_t> snapshot;
    PixelMemory from;
    Rect sr;
    SnapshotIfSame(dst, src, s, &snapshot, &from, &sr);
    const KeyedRowArgs k{key_low, key_high, key_mask};
    const KeyedRow row = ChooseRow(bpp, key_low == key_high);
    for (int32_t y = 0; y < d.Height(); ++y) {
        uint8_t* dp = dst.pixels + int64_t(d.top + y) * dst.pitch + int64_t(d.left) * bpp;
        const uint8_t* sp = from.pixels + int64_t(sr.top + y) * from.pitch + int64_t(sr.left) * bpp;
        row(dp, sp, d.Width(), k);
    }
}

void CopyRectKeyedReference(const PixelMemory& dst, const Rect& d, const PixelMemory& src, const Rect& s,
                            uint32_t key_low, uint32_t key_high, uint32_t key_mask) {
    const uint32_t bpp = dst.bytes_per_pixel;
    std::vector<uint8_t> snapshot;
    PixelMemory from;
    Rect sr;
    SnapshotIfSame(dst, src, s, &snapshot, &from, &sr);
    for (int32_t y = 0; y < d.Height(); ++y) {
        for (int32_t x = 0; x < d.Width(); ++x) {
            const uint32_t c =
                LoadPixel(from.pixels + int64_t(sr.top + y) * from.pitch + int64_t(sr.left + x) * bpp, bpp);
            if (!IsKey(c, key_low, key_high, key_mask)) {
                StorePixel(dst.pixels + int64_t(d.top + y) * dst.pitch + int64_t(d.left + x) * bpp, bpp, c);
            }
        }
    }
}

}  // namespace vxl::platform
