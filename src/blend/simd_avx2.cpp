// The fast paths with AVX2, chosen at run time. This file alone is compiled for AVX2; nothing in it
// may be shared with the rest of the library (everything has internal linkage).
#include <immintrin.h>

#include "blend/simd_kernels.h"

namespace vxl::blend {
namespace {

struct Avx2 {
    using V = __m256i;
    static constexpr size_t kBytes = 32;
    static V Load(const uint8_t* p) { return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p)); }
    static void Store(uint8_t* p, V v) { _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), v); }
    static V Zero() { return _mm256_setzero_si256(); }
    static V Set16(uint16_t v) { return _mm256_set1_epi16(int16_t(v)); }
    static V Set32(uint32_t v) { return _mm256_set1_epi32(int32_t(v)); }
    static V And(V a, V b) { return _mm256_and_si256(a, b); }
    static V Or(V a, V b) { return _mm256_or_si256(a, b); }
    static V Xor(V a, V b) { return _mm256_xor_si256(a, b); }
    static V AndNot(V a, V b) { return _mm256_andnot_si256(a, b); }  // ~a & b
    static V AddSatU8(V a, V b) { return _mm256_adds_epu8(a, b); }
    static V SubSatU8(V a, V b) { return _mm256_subs_epu8(a, b); }
    static V AddSatU16(V a, V b) { return _mm256_adds_epu16(a, b); }
    static V SubSatU16(V a, V b) { return _mm256_subs_epu16(a, b); }
    static V Add16(V a, V b) { return _mm256_add_epi16(a, b); }
    static V Sub16(V a, V b) { return _mm256_sub_epi16(a, b); }
    static V Add32(V a, V b) { return _mm256_add_epi32(a, b); }
    static V Mullo16(V a, V b) { return _mm256_mullo_epi16(a, b); }
    static V Madd16(V a, V b) { return _mm256_madd_epi16(a, b); }
    static V MulhiU16(V a, V b) { return _mm256_mulhi_epu16(a, b); }
    template <int n>
    static V Srli16(V a) {
        return _mm256_srli_epi16(a, n);
    }
    template <int n>
    static V Slli16(V a) {
        return _mm256_slli_epi16(a, n);
    }
    template <int n>
    static V Srli32(V a) {
        return _mm256_srli_epi32(a, n);
    }
    template <int n>
    static V Slli32(V a) {
        return _mm256_slli_epi32(a, n);
    }
    // Unpack and pack work within each 128-bit half; used in pairs they give the order back.
    static V UnpackLo8(V a, V b) { return _mm256_unpacklo_epi8(a, b); }
    static V UnpackHi8(V a, V b) { return _mm256_unpackhi_epi8(a, b); }
    static V PackUs16(V a, V b) { return _mm256_packus_epi16(a, b); }
    static V CmpEq16(V a, V b) { return _mm256_cmpeq_epi16(a, b); }
    static V CmpEq32(V a, V b) { return _mm256_cmpeq_epi32(a, b); }
    // 8 alpha bytes, one per 32-bit lane.
    static V Alpha32(const uint8_t* a) {
        return _mm256_cvtepu8_epi32(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(a)));
    }
    // 16 alpha bytes, one per 16-bit lane.
    static V Alpha16(const uint8_t* a) {
        return _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(a)));
    }
};

}  // namespace

FastRowFn Avx2Row(RowKind kind, TPixelLayout layout) {
    return KernelFor<Avx2>(kind, layout);
}

}  // namespace vxl::blend
