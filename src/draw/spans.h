// Horizontal and vertical runs and rectangles, clipped to the buffer. HLine is the span painter of
// every fill (filled circles and ellipses here, the polygon fills of the rasteriser); FillSpan and
// FillSpanOf are its processor writer, for callers that have clipped a run themselves.
#pragma once

#include <emmintrin.h>

#include <cstdint>
#include <cstring>

#include "buffers/buffer.h"
#include "buffers/pixel_format.h"
#include "platform/surfaces/codes.h"

namespace vxl::draw {

// The layout a buffer's pixels are stored in, from its bits per pixel: 15- and 16-bit buffers both
// store 16-bit words, so they share one writer. None for any other pixel width.
inline TPixelLayout StoreLayout(const TBufferVx& b) {
    switch (b.bits_per_pixel()) {
        case 16:
            return TPixelLayout::Rgb565;
        case 24:
            return TPixelLayout::Bgr24;
        case 32:
            return TPixelLayout::Xrgb32;
        default:
            return TPixelLayout::None;
    }
}

// Writes `n` pixels of `colour` from `p` on, several pixels per store; nothing when n <= 0. The
// stores need no alignment; no byte outside the n pixels is touched.
template <typename P>
inline void FillSpanOf(uint8_t* p, int64_t n, uint32_t colour) {
    if (n <= 0) {
        return;
    }
    if constexpr (P::kBytes == 3) {
        int64_t bytes = n * 3;
        if (n >= 6) {
            // Five and a third pixels per vector; stepping by four pixels keeps every store in phase.
            alignas(16) uint8_t pattern[16];
            for (int i = 0; i < 16; ++i) pattern[i] = uint8_t(colour >> (8 * (i % 3)));
            const __m128i v = _mm_load_si128(reinterpret_cast<const __m128i*>(pattern));
            for (; bytes >= 16; bytes -= 12, p += 12) {
                _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v);
            }
        }
        for (; bytes > 0; bytes -= 3, p += 3) {
            P::Store(p, colour);
        }
    } else {
        // 16-bit pixels are doubled into a word: every 16-byte store is whole pixels of one value.
        const __m128i v = P::kBytes == 2 ? _mm_set1_epi16(int16_t(colour)) : _mm_set1_epi32(int32_t(colour));
        const int64_t per_vector = 16 / P::kBytes;
        if (n < per_vector) {
            for (int64_t i = 0; i < n; ++i) P::Store(p + i * P::kBytes, colour);
            return;
        }
        uint8_t* const end = p + n * P::kBytes;
        for (; end - p >= 64; p += 64) {
            _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v);
            _mm_storeu_si128(reinterpret_cast<__m128i*>(p + 16), v);
            _mm_storeu_si128(reinterpret_cast<__m128i*>(p + 32), v);
            _mm_storeu_si128(reinterpret_cast<__m128i*>(p + 48), v);
        }
        for (; end - p >= 16; p += 16) {
            _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v);
        }
        // The last partial vector overlaps pixels already written with the same value.
        _mm_storeu_si128(reinterpret_cast<__m128i*>(end - 16), v);
    }
}

// FillSpanOf by bits per pixel (16, 24 or 32); other widths write nothing.
void FillSpan(uint8_t* p, int64_t n, uint32_t bits_per_pixel, uint32_t colour);

// A colour fill of `r` (already inside the buffer) through the blitter, waited for; a lost surface is
// restored and the fill dropped.
void ColourFillBlit(TBufferVx& b, const platform::Rect& r, uint32_t colour);

// Pixels x1..x2 (either order, both included) of row y. Video-memory buffers are filled by the
// blitter, the others by the processor.
void HLine(TBufferVx& b, int32_t x1, int32_t x2, int32_t y, uint32_t colour);
// HLine for shapes whose arithmetic left 32 bits: the same run, clipped the same way.
void HLineWide(TBufferVx& b, int64_t x1, int64_t x2, int64_t y, uint32_t colour);
// Pixels y1..y2 (either order, both included) of column x, always by the processor.
void VLine(TBufferVx& b, int32_t y1, int32_t y2, int32_t x, uint32_t colour);
// The outline through both corners: Rect(0, 0, 10, 10) touches an 11 x 11 square.
void Rect(TBufferVx& b, int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t colour);
// The larger corner is exclusive: FillRect(0, 0, 10, 10) fills 10 x 10 pixels, always by the blitter.
void FillRect(TBufferVx& b, int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t colour);

}  // namespace vxl::draw
