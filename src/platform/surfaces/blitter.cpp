#include "platform/surfaces/blitter.h"

#include <emmintrin.h>
#include <immintrin.h>

#include <cstring>
#include <vector>

#include "platform/cpu.h"

namespace vxl::platform {
namespace {

constexpr size_t kStringFillBytes = size_t(1) << 20;

inline uint32_t LoadPixel(const uint8_t* p, uint32_t bpp) {
    switch (bpp) {
        case 1:
            return p[0];
        case 2: {
            uint16_t v;
            std::memcpy(&v, p, 2);
            return v;
        }
        case 3:
            return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16;
        default: {
            uint32_t v;
            std::memcpy(&v, p, 4);
            return v;
        }
    }
}

inline void StorePixel(uint8_t* p, uint32_t bpp, uint32_t c) {
    switch (bpp) {
        case 1:
            p[0] = uint8_t(c);
            break;
        case 2: {
            const uint16_t v = uint16_t(c);
            std::memcpy(p, &v, 2);
            break;
        }
        case 3:
            p[0] = uint8_t(c);
            p[1] = uint8_t(c >> 8);
            p[2] = uint8_t(c >> 16);
            break;
        default:
            std::memcpy(p, &c, 4);
            break;
    }
}

// Repeats `period` bytes of `pattern` over `bytes` bytes with 16-byte stores.
void FillPatternSse2(uint8_t* dst, size_t bytes, const uint8_t* pattern, size_t period) {
    if (period == 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(pattern));
        for (; bytes >= 64; bytes -= 64, dst += 64) {
            _mm_storeu_si128(reinterpret_cast<__m128i*>(dst), v);
            _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + 16), v);
            _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + 32), v);
            _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + 48), v);
        }
        for (; bytes >= 16; bytes -= 16, dst += 16) {
            _mm_storeu_si128(reinterpret_cast<__m128i*>(dst), v);
        }
    } else {  // 48: three vectors of a 3-byte pixel
        const __m128i v0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(pattern));
        const __m128i v1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(pattern + 16));
        const __m128i v2 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(pattern + 32));
        for (; bytes >= 48; bytes -= 48, dst += 48) {
            _mm_storeu_si128(reinterpret_cast<__m128i*>(dst), v0);
            _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + 16), v1);
            _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + 32), v2);
        }
    }
    std::memcpy(dst, pattern, bytes);
}

__attribute__((target("avx2"))) void FillPatternAvx2(uint8_t* dst, size_t bytes, const uint8_t* pattern,
                                                     size_t period) {
    if (period == 32) {
        const __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(pattern));
        for (; bytes >= 128; bytes -= 128, dst += 128) {
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst), v);
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst + 32), v);
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst + 64), v);
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst + 96), v);
        }
        for (; bytes >= 32; bytes -= 32, dst += 32) {
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst), v);
        }
    } else {  // 96: three vectors of a 3-byte pixel
        const __m256i v0 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(pattern));
        const __m256i v1 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(pattern + 32));
        const __m256i v2 = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(pattern + 64));
        for (; bytes >= 96; bytes -= 96, dst += 96) {
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst), v0);
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst + 32), v1);
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst + 64), v2);
        }
    }
    std::memcpy(dst, pattern, bytes);
}

template <typename Op>
void ForEachKeyedPixel(uint32_t bpp, uint8_t* d, const uint8_t* s, int32_t n, uint32_t lo, uint32_t hi, uint32_t mask,
                       Op&& src_offset) {
    for (int32_t x = 0; x < n; ++x) {
        const uint8_t* sp = s + src_offset(x);
        const uint32_t c = LoadPixel(sp, bpp);
        const uint32_t k = c & mask;
        if (k < lo || k > hi) {
            StorePixel(d + size_t(x) * bpp, bpp, c);
        }
    }
}

}  // namespace

void FillSpanReference(uint8_t* dst, int64_t count, uint32_t bytes_per_pixel, uint32_t colour) {
    for (int64_t i = 0; i < count; ++i) {
        StorePixel(dst + i * bytes_per_pixel, bytes_per_pixel, colour);
    }
}

void FillSpan(uint8_t* dst, int64_t count, uint32_t bpp, uint32_t colour) {
    if (count <= 0) {
        return;
    }
    const size_t bytes = size_t(count) * bpp;
    const bool same_bytes =
        bpp == 1 || (bpp == 2 && (colour & 0xFF) == ((colour >> 8) & 0xFF)) ||
        (bpp == 3 && (colour & 0xFF) == ((colour >> 8) & 0xFF) && (colour & 0xFF) == ((colour >> 16) & 0xFF)) ||
        (bpp == 4 && colour == (colour & 0xFF) * 0x01010101u);
    if (same_bytes) {
        std::memset(dst, int(colour & 0xFF), bytes);
        return;
    }
    if (count < 16) {
        FillSpanReference(dst, count, bpp, colour);
        return;
    }
#if defined(__x86_64__)
    // Past the caches the string store wins: it writes whole lines without reading them first.
    if ((bpp == 2 || bpp == 4) && bytes >= kStringFillBytes) {
        const uint32_t word = bpp == 2 ? (colour & 0xFFFF) * 0x10001u : colour;
        void* d = dst;
        size_t words = bytes / 4;
        asm volatile("rep stosl" : "+D"(d), "+c"(words) : "a"(word) : "memory");
        if (bytes % 4) {
            StorePixel(dst + bytes - 2, 2, colour);
        }
        return;
    }
#endif
    const bool avx2 = Cpu().avx2;
    const size_t period = bpp == 3 ? (avx2 ? 96 : 48) : (avx2 ? 32 : 16);
    alignas(32) uint8_t pattern[96];
    FillSpanReference(pattern, int64_t(period / bpp), bpp, colour);
    if (avx2) {
        FillPatternAvx2(dst, bytes, pattern, period);
    } else {
        FillPatternSse2(dst, bytes, pattern, period);
    }
}

void FillRect(const PixelMemory& dst, const Rect& r, uint32_t colour) {
    if (r.Empty()) {
        return;
    }
    const uint32_t bpp = dst.bytes_per_pixel;
    uint8_t* row = dst.pixels + int64_t(r.top) * dst.pitch + int64_t(r.left) * bpp;
    // Packed rows that span the surface are one run.
    if (r.left == 0 && r.Width() == dst.width && dst.pitch == int32_t(dst.width * bpp)) {
        FillSpan(row, int64_t(r.Width()) * r.Height(), bpp, colour);
        return;
    }
    for (int32_t y = r.top; y < r.bottom; ++y, row += dst.pitch) {
        FillSpan(row, r.Width(), bpp, colour);
    }
}

void CopyRect(const PixelMemory& dst, const Rect& d, const PixelMemory& src, const Rect& s) {
    if (d.Empty()) {
        return;
    }
    const uint32_t bpp = dst.bytes_per_pixel;
    const size_t row_bytes = size_t(d.Width()) * bpp;
    const uint8_t* sp = src.pixels + int64_t(s.top) * src.pitch + int64_t(s.left) * bpp;
    uint8_t* dp = dst.pixels + int64_t(d.top) * dst.pitch + int64_t(d.left) * bpp;
    const bool same = dst.pixels == src.pixels;
    if (same && d.top > s.top) {  // copy bottom-up so overlapping rows are read before written
        for (int32_t y = d.Height() - 1; y >= 0; --y) {
            std::memmove(dp + int64_t(y) * dst.pitch, sp + int64_t(y) * src.pitch, row_bytes);
        }
        return;
    }
    for (int32_t y = 0; y < d.Height(); ++y) {
        if (same) {
            std::memmove(dp + int64_t(y) * dst.pitch, sp + int64_t(y) * src.pitch, row_bytes);
        } else {
            std::memcpy(dp + int64_t(y) * dst.pitch, sp + int64_t(y) * src.pitch, row_bytes);
        }
    }
}

void CopyRectKeyed(const PixelMemory& dst, const Rect& d, const PixelMemory& src, const Rect& s, uint32_t key_low,
                   uint32_t key_high, uint32_t key_mask) {
    if (d.Empty()) {
        return;
    }
    const uint32_t bpp = dst.bytes_per_pixel;
    // Overlapping keyed copies on one surface read from a snapshot of the source.
    std::vector<uint8_t> snapshot;
    PixelMemory from = src;
    Rect sr = s;
    if (dst.pixels == src.pixels) {
        const size_t row_bytes = size_t(s.Width()) * bpp;
        snapshot.resize(row_bytes * s.Height());
        from = PixelMemory{snapshot.data(), s.Width(), s.Height(), int32_t(row_bytes), bpp};
        CopyRect(from, Rect{0, 0, s.Width(), s.Height()}, src, s);
        sr = Rect{0, 0, s.Width(), s.Height()};
    }
    for (int32_t y = 0; y < d.Height(); ++y) {
        uint8_t* dp = dst.pixels + int64_t(d.top + y) * dst.pitch + int64_t(d.left) * bpp;
        const uint8_t* sp = from.pixels + int64_t(sr.top + y) * from.pitch + int64_t(sr.left) * bpp;
        ForEachKeyedPixel(bpp, dp, sp, d.Width(), key_low, key_high, key_mask,
                          [bpp](int32_t x) { return size_t(x) * bpp; });
    }
}

void StretchRect(const PixelMemory& dst, const Rect& full_dst, const Rect& clip, const PixelMemory& src,
                 const Rect& full_src, bool keyed, uint32_t key_low, uint32_t key_high, uint32_t key_mask) {
    const Rect d = Intersect(full_dst, clip);
    if (d.Empty() || full_src.Empty()) {
        return;
    }
    const uint32_t bpp = dst.bytes_per_pixel;
    // Exact sizes: a destination built from host corners may be wider than 32 bits can say.
    const int64_t dw = int64_t(full_dst.right) - full_dst.left, dh = int64_t(full_dst.bottom) - full_dst.top;
    const int64_t sw = int64_t(full_src.right) - full_src.left, sh = int64_t(full_src.bottom) - full_src.top;
    std::vector<uint8_t> snapshot;
    PixelMemory from = src;
    Rect fs = full_src;
    if (dst.pixels == src.pixels) {
        const size_t row_bytes = size_t(sw) * bpp;
        snapshot.resize(row_bytes * size_t(sh));
        from = PixelMemory{snapshot.data(), int32_t(sw), int32_t(sh), int32_t(row_bytes), bpp};
        CopyRect(from, Rect{0, 0, int32_t(sw), int32_t(sh)}, src, full_src);
        fs = Rect{0, 0, int32_t(sw), int32_t(sh)};
    }
    std::vector<size_t> column(size_t(d.Width()));
    for (int32_t x = d.left; x < d.right; ++x) {
        const int64_t sx = fs.left + (2 * (int64_t(x) - full_dst.left) + 1) * sw / (2 * dw);
        column[size_t(x - d.left)] = size_t(sx) * bpp;
    }
    for (int32_t y = d.top; y < d.bottom; ++y) {
        const int64_t sy = fs.top + (2 * (int64_t(y) - full_dst.top) + 1) * sh / (2 * dh);
        const uint8_t* sp = from.pixels + sy * from.pitch;
        uint8_t* dp = dst.pixels + int64_t(y) * dst.pitch + int64_t(d.left) * bpp;
        if (keyed) {
            ForEachKeyedPixel(bpp, dp, sp, d.Width(), key_low, key_high, key_mask,
                              [&column](int32_t x) { return column[size_t(x)]; });
        } else {
            for (int32_t x = 0; x < d.Width(); ++x) {
                StorePixel(dp + size_t(x) * bpp, bpp, LoadPixel(sp + column[size_t(x)], bpp));
            }
        }
    }
}

}  // namespace vxl::platform
