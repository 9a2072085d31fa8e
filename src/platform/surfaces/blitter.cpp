#include "platform/surfaces/blitter.h"

#include <emmintrin.h>
#include <immintrin.h>

#include <cstring>

#include "platform/cpu.h"
#include "platform/surfaces/pixel_bytes.h"

namespace vxl::platform {
namespace {

constexpr size_t kStringFillBytes = size_t(1) << 20;

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

}  // namespace

void FillSpanReference(uint8_t* dst, int64_t count, uint32_t bytes_per_pixel, uint32_t colour) {
    for (int64_t i = 0; i < count; ++i) {
        StorePixel(dst + i * bytes_per_pixel, bytes_per_pixel, colour);
    }
}

namespace {

// What a run of one colour needs, worked out once for all the rows of a fill: small fills are
// dominated by this set-up, not by the stores.
struct SpanPattern {
    bool same_bytes = false;
    bool avx2 = false;
    uint32_t bpp = 0;
    uint32_t colour = 0;
    size_t period = 0;
    alignas(32) uint8_t pattern[96] = {};
};

SpanPattern MakeSpanPattern(uint32_t bpp, uint32_t colour) {
    SpanPattern p;
    p.bpp = bpp;
    p.colour = colour;
    p.same_bytes =
        bpp == 1 || (bpp == 2 && (colour & 0xFF) == ((colour >> 8) & 0xFF)) ||
        (bpp == 3 && (colour & 0xFF) == ((colour >> 8) & 0xFF) && (colour & 0xFF) == ((colour >> 16) & 0xFF)) ||
        (bpp == 4 && colour == (colour & 0xFF) * 0x01010101u);
    p.avx2 = Cpu().avx2;
    p.period = bpp == 3 ? (p.avx2 ? 96 : 48) : (p.avx2 ? 32 : 16);
    FillSpanReference(p.pattern, int64_t(sizeof p.pattern / bpp), bpp, colour);
    return p;
}

// `bytes` is a whole number of pixels; the pattern starts on a pixel, so any prefix of it is too.
void FillBytes(const SpanPattern& p, uint8_t* dst, size_t bytes) {
    if (p.same_bytes) {
        std::memset(dst, int(p.colour & 0xFF), bytes);
        return;
    }
    if (bytes <= p.period) {
        std::memcpy(dst, p.pattern, bytes);
        return;
    }
#if defined(__x86_64__)
    // Past the caches the string store wins: it writes whole lines without reading them first.
    if ((p.bpp == 2 || p.bpp == 4) && bytes >= kStringFillBytes) {
        const uint32_t word = p.bpp == 2 ? (p.colour & 0xFFFF) * 0x10001u : p.colour;
        void* d = dst;
        size_t words = bytes / 4;
        asm volatile("rep stosl" : "+D"(d), "+c"(words) : "a"(word) : "memory");
        if (bytes % 4) {
            StorePixel(dst + bytes - 2, 2, p.colour);
        }
        return;
    }
#endif
    if (p.avx2) {
        FillPatternAvx2(dst, bytes, p.pattern, p.period);
    } else {
        FillPatternSse2(dst, bytes, p.pattern, p.period);
    }
}

}  // namespace

void FillSpan(uint8_t* dst, int64_t count, uint32_t bpp, uint32_t colour) {
    if (count <= 0) {
        return;
    }
    FillBytes(MakeSpanPattern(bpp, colour), dst, size_t(count) * bpp);
}

void FillRect(const PixelMemory& dst, const Rect& r, uint32_t colour) {
    if (r.Empty()) {
        return;
    }
    const uint32_t bpp = dst.bytes_per_pixel;
    uint8_t* row = dst.pixels + int64_t(r.top) * dst.pitch + int64_t(r.left) * bpp;
    const SpanPattern pattern = MakeSpanPattern(bpp, colour);
    // Packed rows that span the surface are one run.
    if (r.left == 0 && r.Width() == dst.width && dst.pitch == int32_t(dst.width * bpp)) {
        FillBytes(pattern, row, size_t(r.Width()) * size_t(r.Height()) * bpp);
        return;
    }
    const size_t bytes = size_t(r.Width()) * bpp;
    for (int32_t y = r.top; y < r.bottom; ++y, row += dst.pitch) {
        FillBytes(pattern, row, bytes);
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

}  // namespace vxl::platform
