#include "platform/sdl/widen.h"

#include <emmintrin.h>

namespace vxl::platform {
namespace {

// floor(i * 255 / 31) for i < 32 is (i * 2106) >> 8, and floor(i * 255 / 63) for i < 64 is
// 4i + ((i * 49) >> 10): exact over the whole range, and small enough for 16-bit lanes.
inline uint32_t Widen5(uint32_t i) {
    return (i * 2106) >> 8;
}
inline uint32_t Widen6(uint32_t i) {
    return 4 * i + ((i * 49) >> 10);
}

template <uint32_t kGreenBits>
uint32_t WidenPixel(uint32_t p) {
    constexpr uint32_t kRedShift = 5 + kGreenBits;
    const uint32_t r = (p >> kRedShift) & 31, b = p & 31;
    const uint32_t g = kGreenBits == 6 ? Widen6((p >> 5) & 63) : Widen5((p >> 5) & 31);
    return 0xFF000000u | Widen5(r) << 16 | g << 8 | Widen5(b);
}

inline __m128i Widen5Lanes(__m128i i) {
    return _mm_srli_epi16(_mm_mullo_epi16(i, _mm_set1_epi16(2106)), 8);
}

// Eight pixels at a time in 16-bit lanes.
template <uint32_t kGreenBits>
void Widen(const uint16_t* src, uint32_t* dst, int32_t count) {
    const __m128i five = _mm_set1_epi16(31), six = _mm_set1_epi16(63);
    const __m128i alpha = _mm_set1_epi16(int16_t(0xFF00));
    int32_t i = 0;
    for (; i + 8 <= count; i += 8) {
        const __m128i p = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i));
        const __m128i r = Widen5Lanes(_mm_and_si128(_mm_srli_epi16(p, 5 + kGreenBits), five));
        const __m128i b = Widen5Lanes(_mm_and_si128(p, five));
        __m128i g;
        if constexpr (kGreenBits == 6) {
            const __m128i field = _mm_and_si128(_mm_srli_epi16(p, 5), six);
            g = _mm_add_epi16(_mm_slli_epi16(field, 2), _mm_srli_epi16(_mm_mullo_epi16(field, _mm_set1_epi16(49)), 10));
        } else {
            g = Widen5Lanes(_mm_and_si128(_mm_srli_epi16(p, 5), five));
        }
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
