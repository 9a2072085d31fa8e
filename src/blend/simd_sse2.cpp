// The fast paths with SSE2, which every x86-64 processor has.
#include <emmintrin.h>

#include "blend/simd_kernels.h"

namespace vxl::blend {
namespace {

struct Sse2 {
    using V = __m128i;
    static constexpr size_t kBytes = 16;
    static V Load(const uint8_t* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }
    static void Store(uint8_t* p, V v) { _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v); }
    static V Zero() { return _mm_setzero_si128(); }
    static V Set16(uint16_t v) { return _mm_set1_epi16(int16_t(v)); }
    static V Set32(uint32_t v) { return _mm_set1_epi32(int32_t(v)); }
    static V And(V a, V b) { return _mm_and_si128(a, b); }
    static V Or(V a, V b) { return _mm_or_si128(a, b); }
    static V Xor(V a, V b) { return _mm_xor_si128(a, b); }
    static V AndNot(V a, V b) { return _mm_andnot_si128(a, b); }  // ~a & b
    static V AddSatU8(V a, V b) { return _mm_adds_epu8(a, b); }
    static V SubSatU8(V a, V b) { return _mm_subs_epu8(a, b); }
    static V AddSatU16(V a, V b) { return _mm_adds_epu16(a, b); }
    static V SubSatU16(V a, V b) { return _mm_subs_epu16(a, b); }
    static V Add16(V a, V b) { return _mm_add_epi16(a, b); }
    static V Sub16(V a, V b) { return _mm_sub_epi16(a, b); }
    static V Add32(V a, V b) { return _mm_add_epi32(a, b); }
    static V Mullo16(V a, V b) { return _mm_mullo_epi16(a, b); }
    static V Madd16(V a, V b) { return _mm_madd_epi16(a, b); }
    static V MulhiU16(V a, V b) { return _mm_mulhi_epu16(a, b); }
    template <int n>
    static V Srli16(V a) {
        return _mm_srli_epi16(a, n);
    }
    template <int n>
    static V Slli16(V a) {
        return _mm_slli_epi16(a, n);
    }
    template <int n>
    static V Srli32(V a) {
        return _mm_srli_epi32(a, n);
    }
    template <int n>
    static V Slli32(V a) {
        return _mm_slli_epi32(a, n);
    }
    static V UnpackLo8(V a, V b) { return _mm_unpacklo_epi8(a, b); }
    static V UnpackHi8(V a, V b) { return _mm_unpackhi_epi8(a, b); }
    static V PackUs16(V a, V b) { return _mm_packus_epi16(a, b); }
    static V CmpEq16(V a, V b) { return _mm_cmpeq_epi16(a, b); }
    static V CmpEq32(V a, V b) { return _mm_cmpeq_epi32(a, b); }
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

}  // namespace vxl::blend
