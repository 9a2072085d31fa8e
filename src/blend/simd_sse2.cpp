// The fast paths with SSE2, which every x86-64 processor has.
#include <emmintrin.h>

#include "blend/simd_blur.h"
#include "blend/simd_kernels.h"
#include "core/vector_ops.h"

namespace vxl::blend {
namespace {

struct Sse2 : VectorOps<16> {
    static constexpr bool kByteShuffle = false;
    static V AddSatU8(V a, V b) { return _mm_adds_epu8(a, b); }
    static V SubSatU8(V a, V b) { return _mm_subs_epu8(a, b); }
    static V AddSatU16(V a, V b) { return _mm_adds_epu16(a, b); }
    static V SubSatU16(V a, V b) { return _mm_subs_epu16(a, b); }
    static V Madd16(V a, V b) { return _mm_madd_epi16(a, b); }
    static V MulhiU16(V a, V b) { return _mm_mulhi_epu16(a, b); }
    static V UnpackLo8(V a, V b) { return _mm_unpacklo_epi8(a, b); }
    static V UnpackHi8(V a, V b) { return _mm_unpackhi_epi8(a, b); }
    static V PackUs16(V a, V b) { return _mm_packus_epi16(a, b); }
    static V UnpackLo16(V a, V b) { return _mm_unpacklo_epi16(a, b); }
    static V UnpackHi16(V a, V b) { return _mm_unpackhi_epi16(a, b); }
    static V UnpackLo32(V a, V b) { return _mm_unpacklo_epi32(a, b); }
    static V UnpackHi32(V a, V b) { return _mm_unpackhi_epi32(a, b); }
    static V UnpackLo64(V a, V b) { return _mm_unpacklo_epi64(a, b); }
    static V UnpackHi64(V a, V b) { return _mm_unpackhi_epi64(a, b); }
    // One 16-byte piece is the whole register.
    static V LoadHalves(const uint8_t* const (&piece)[1]) { return Load(piece[0]); }
    static void StoreHalves(uint8_t* const (&piece)[1], V v) { Store(piece[0], v); }
    static V LoadLow(const uint8_t* p) { return Load(p); }
    static V HalvesUp(V) { return Zero(); }
    // Lane i takes lane i - 1; lane 0 takes the last lane of `carry`.
    static V ShiftLanesUp16(V a, V carry) { return _mm_or_si128(_mm_slli_si128(a, 2), _mm_srli_si128(carry, 14)); }
    static V ShiftLanesUp32(V a, V carry) { return _mm_or_si128(_mm_slli_si128(a, 4), _mm_srli_si128(carry, 12)); }
    // 4 alpha bytes, one per 32-bit lane.
    static V Alpha32(const uint8_t* a) {
        int32_t v;
        std::memcpy(&v, a, 4);
        const V z = Zero();
        return _mm_unpacklo_epi16(_mm_unpacklo_epi8(_mm_cvtsi32_si128(v), z), z);
    }
    // 8 alpha bytes, one per 16-bit lane.
    static V Alpha16(const uint8_t* a) {
        return _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(a)), Zero());
    }
};

}  // namespace

FastRowFn Sse2Row(RowKind kind, TPixelLayout layout) {
    return KernelFor<Sse2>(kind, layout);
}

BlurFn Sse2Blur(TPixelLayout layout) {
    return BlurFor<Sse2>(layout);
}

}  // namespace vxl::blend
