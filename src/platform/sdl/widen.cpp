#include "platform/sdl/widen.h"

#include <emmintrin.h>

namespace vxl::platform {
namespace {

template <uint32_t kGreenBits>
uint32_t WidenPixel(uint32_t p) {
    constexpr uint32_t kRedShift = 5 + kGreenBits, kGreenMask = (1u << kGreenBits) - 1;
    constexpr uint32_t kGreenUp = 8 - kGreenBits, kGreenDown = kGreenBits - kGreenUp;
    const uint32_t r = (p >> kRedShift) & 31, g = (p >> 5) & kGreenMask, b = p & 31;
    return 0xFF000000u | ((r << 3 | r >> 2) << 16) | ((g << kGreenUp | g >> kGreenDown) << 8) | (b << 3 | b >> 2);
}

// Eight pixels at a time in 16-bit lanes: each 8-bit channel is the field moved to the top of its
// byte, OR its own top bits moved to the bottom.
template <uint32_t kGreenBits>
void Widen(const uint16_t* src, uint32_t* dst, int32_t count) {
    const __m128i f8 = _mm_set1_epi16(0xF8), fc = _mm_set1_epi16(kGreenBits == 6 ? 0xFC : 0xF8);
    const __m128i low_red = _mm_set1_epi16(7), low_green = _mm_set1_epi16(kGreenBits == 6 ? 3 : 7);
    const __m128i alpha = _mm_set1_epi16(int16_t(0xFF00));
    int32_t i = 0;
    for (; i + 8 <= count; i += 8) {
        const __m128i p = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i));
        __m128i r, g;
        if constexpr (kGreenBits == 6) {
            r = _mm_or_si128(_mm_and_si128(_mm_srli_epi16(p, 8), f8), _mm_srli_epi16(p, 13));
            g = _mm_or_si128(_mm_and_si128(_mm_srli_epi16(p, 3), fc), _mm_and_si128(_mm_srli_epi16(p, 9), low_green));
        } else {
            r = _mm_or_si128(_mm_and_si128(_mm_srli_epi16(p, 7), f8), _mm_and_si128(_mm_srli_epi16(p, 12), low_red));
            g = _mm_or_si128(_mm_and_si128(_mm_srli_epi16(p, 2), fc), _mm_and_si128(_mm_srli_epi16(p, 7), low_green));
        }
        const __m128i b =
            _mm_or_si128(_mm_and_si128(_mm_slli_epi16(p, 3), f8), _mm_and_si128(_mm_srli_epi16(p, 2), low_red));
        const __m128i gb = _mm_or_si128(_mm_slli_epi16(g, 8), b), ar = _mm_or_si128(alpha, r);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i), _mm_unpacklo_epi16(gb, ar));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i + 4), _mm_unpackhi_epi16(gb, ar));
    }
    for (; i < count; ++i) {
        dst[i] = WidenPixel<kGreenBits>(src[i]);
    }
}

}  // namespace

void WidenRow(const uint16_t* src, uint32_t* dst, int32_t count, int green_bits) {
    if (green_bits == 5) {
        Widen<5>(src, dst, count);
    } else {
        Widen<6>(src, dst, count);
    }
}

}  // namespace vxl::platform
