#include "platform/surfaces/blitter.h"

#include <emmintrin.h>
#include <immintrin.h>

#include <cstring>

#include "platform/cpu.h"
#include "platform/surfaces/pixel_bytes.h"

namespace vxl::platform {
namespace {

constexpr size_t kStringFillBytes = size_t(1) << 20;

// What a run of one colour needs, worked out once for all the rows of a fill: small fills are
// dominated by this set-up, not by the stores. The pattern starts on a pixel and holds a whole
// number of pixels, so a copy of its first n bytes placed at any pixel boundary is right.
struct SpanPattern {
    bool same_bytes = false;
    bool avx2 = false;
    uint32_t bpp = 0;
    uint32_t colour = 0;
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
    if (bpp == 2 || bpp == 4) {  // whole words: cheaper than a pixel at a time, and every fill pays it
        const uint32_t word = bpp == 2 ? (colour & 0xFFFF) * 0x10001u : colour;
        for (size_t i = 0; i < sizeof p.pattern; i += 4) {
            std::memcpy(p.pattern + i, &word, 4);
        }
    } else {
        FillSpanReference(p.pattern, int64_t(sizeof p.pattern / bpp), bpp, colour);
    }
    return p;
}

template <size_t N>
inline void Put(uint8_t* dst, const uint8_t* pattern) {
    std::memcpy(dst, pattern, N);
}

// Runs shorter than one vector. Every store starts on a pixel boundary (offsets are multiples of the
// pixel size), so overlapping stores from the start of the pattern write the right bytes.
inline void FillShort(uint8_t* dst, size_t bytes, const SpanPattern& p) {
    const uint8_t* pat = p.pattern;
    if (p.bpp == 3) {
        if (bytes >= 48) {
            Put<48>(dst, pat), Put<48>(dst + bytes - 48, pat);
        } else if (bytes >= 24) {
            Put<24>(dst, pat), Put<24>(dst + bytes - 24, pat);
        } else if (bytes >= 12) {
            Put<12>(dst, pat), Put<12>(dst + bytes - 12, pat);
        } else {
            FillSpanReference(dst, int64_t(bytes / 3), 3, p.colour);
        }
        return;
    }
    if (bytes >= 16) {
        Put<16>(dst, pat), Put<16>(dst + bytes - 16, pat);
    } else if (bytes >= 8) {
        Put<8>(dst, pat), Put<8>(dst + bytes - 8, pat);
    } else if (bytes >= 4) {
        Put<4>(dst, pat), Put<4>(dst + bytes - 4, pat);
    } else if (bytes >= 2) {
        Put<2>(dst, pat);
    } else if (bytes == 1) {
        dst[0] = pat[0];
    }
}

// Fills `rows` runs of `bytes` bytes, `pitch` apart. Long runs take whole vectors and end with one
// overlapping vector store instead of a byte-count copy (which costs more than the rest of a short row).
void FillRowsSse2(uint8_t* row, int64_t pitch, int64_t rows, size_t bytes, const SpanPattern& p) {
    const __m128i v0 = _mm_load_si128(reinterpret_cast<const __m128i*>(p.pattern));
    const __m128i v1 = _mm_load_si128(reinterpret_cast<const __m128i*>(p.pattern + 16));
    const __m128i v2 = _mm_load_si128(reinterpret_cast<const __m128i*>(p.pattern + 32));
    const size_t step = p.bpp == 3 ? 48 : 16;
    for (; rows > 0; --rows, row += pitch) {
        if (bytes < step) {
            FillShort(row, bytes, p);
            continue;
        }
        const auto put = [&](uint8_t* d) {
            _mm_storeu_si128(reinterpret_cast<__m128i*>(d), v0);
            if (step == 48) {
                _mm_storeu_si128(reinterpret_cast<__m128i*>(d + 16), v1);
                _mm_storeu_si128(reinterpret_cast<__m128i*>(d + 32), v2);
            }
        };
        for (size_t i = 0; i + step <= bytes; i += step) {
            put(row + i);
        }
        put(row + bytes - step);
    }
}

__attribute__((target("avx2"), always_inline)) inline void Put32(uint8_t* d, __m256i v) {
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(d), v);
}

__attribute__((target("avx2"))) void FillRowsAvx2(uint8_t* row, int64_t pitch, int64_t rows, size_t bytes,
                                                  const SpanPattern& p) {
    const __m256i v0 = _mm256_load_si256(reinterpret_cast<const __m256i*>(p.pattern));
    if (p.bpp == 3) {
        const __m256i v1 = _mm256_load_si256(reinterpret_cast<const __m256i*>(p.pattern + 32));
        const __m256i v2 = _mm256_load_si256(reinterpret_cast<const __m256i*>(p.pattern + 64));
        for (; rows > 0; --rows, row += pitch) {
            if (bytes < 96) {
                FillShort(row, bytes, p);
                continue;
            }
            for (size_t i = 0; i + 96 <= bytes; i += 96) {
                Put32(row + i, v0), Put32(row + i + 32, v1), Put32(row + i + 64, v2);
            }
            uint8_t* end = row + bytes - 96;
            Put32(end, v0), Put32(end + 32, v1), Put32(end + 64, v2);
        }
        return;
    }
    // Stores aligned to 32 bytes never straddle a cache line. The pattern repeats every pixel, so an
    // aligned address on a pixel boundary takes the same vector as the run's start.
    const bool pixel_aligned = (reinterpret_cast<uintptr_t>(row) | uintptr_t(pitch)) % p.bpp == 0;
    for (; rows > 0; --rows, row += pitch) {
        if (bytes < 32) {
            FillShort(row, bytes, p);
            continue;
        }
        uint8_t* const end = row + bytes;
        Put32(row, v0);
        uint8_t* a = pixel_aligned
                         ? reinterpret_cast<uint8_t*>((reinterpret_cast<uintptr_t>(row) + 32) & ~uintptr_t(31))
                         : row + 32;
        for (; a + 128 <= end; a += 128) {
            Put32(a, v0), Put32(a + 32, v0), Put32(a + 64, v0), Put32(a + 96, v0);
        }
        for (; a + 32 <= end; a += 32) {
            Put32(a, v0);
        }
        Put32(end - 32, v0);
    }
}

// `bytes` is a whole number of pixels.
void FillRows(const SpanPattern& p, uint8_t* row, int64_t pitch, int64_t rows, size_t bytes) {
    if (p.same_bytes) {
        for (; rows > 0; --rows, row += pitch) {
            std::memset(row, int(p.colour & 0xFF), bytes);
        }
        return;
    }
#if defined(__x86_64__)
    // Past the caches the string store wins: it writes whole lines without reading them first.
    if ((p.bpp == 2 || p.bpp == 4) && bytes >= kStringFillBytes) {
        const uint32_t word = p.bpp == 2 ? (p.colour & 0xFFFF) * 0x10001u : p.colour;
        for (; rows > 0; --rows, row += pitch) {
            void* d = row;
            size_t words = bytes / 4;
            asm volatile("rep stosl" : "+D"(d), "+c"(words) : "a"(word) : "memory");
            if (bytes % 4) {
                StorePixel(row + bytes - 2, 2, p.colour);
            }
        }
        return;
    }
#endif
    if (p.avx2) {
        FillRowsAvx2(row, pitch, rows, bytes, p);
    } else {
        FillRowsSse2(row, pitch, rows, bytes, p);
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
    FillRows(MakeSpanPattern(bpp, colour), dst, 0, 1, size_t(count) * bpp);
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
        FillRows(pattern, row, 0, 1, size_t(r.Width()) * size_t(r.Height()) * bpp);
        return;
    }
    FillRows(pattern, row, dst.pitch, r.Height(), size_t(r.Width()) * bpp);
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
