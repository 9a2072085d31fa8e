// The fast paths with AVX2, chosen at run time. Only the code after the target switch below is
// compiled for AVX2: kernels with internal linkage, and the entry points at the end, which are called
// only where the processor has AVX2. What they share with the rest of the library (the standard
// library, pixel traits, buffers) is included before the switch: the copies of that inline code this
// file emits stay plain x86-64, so whichever copy the linker keeps runs anywhere.
#include <immintrin.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <type_traits>
#include <vector>

#include "blend/blur_wave.h"
#include "blend/pixel_math.h"
#include "blend/row_op.h"

// The kernels come after the switch to AVX2.
// clang-format off
#include "core/avx2_begin.h"
#include "blend/simd_blur.h"
#include "blend/simd_kernels.h"
#include "core/vector_ops.h"
// clang-format on

namespace vxl::blend {
namespace {

struct Avx2 : VectorOps<32> {
    // Byte shuffles and byte multiply-adds; each shuffle index picks within its own 16 bytes, and
    // 0x80 gives a zero byte.
    static constexpr bool kByteShuffle = true;
    static V ShuffleBytes(V a, V index) { return _mm256_shuffle_epi8(a, index); }
    static V MaddU8(V unsigned_bytes, V signed_bytes) { return _mm256_maddubs_epi16(unsigned_bytes, signed_bytes); }
    static V AddSatU8(V a, V b) { return _mm256_adds_epu8(a, b); }
    static V SubSatU8(V a, V b) { return _mm256_subs_epu8(a, b); }
    static V AddSatU16(V a, V b) { return _mm256_adds_epu16(a, b); }
    static V SubSatU16(V a, V b) { return _mm256_subs_epu16(a, b); }
    static V Madd16(V a, V b) { return _mm256_madd_epi16(a, b); }
    static V MulhiU16(V a, V b) { return _mm256_mulhi_epu16(a, b); }
    // Unpack and pack work within each 128-bit half; used in pairs they give the order back.
    static V UnpackLo8(V a, V b) { return _mm256_unpacklo_epi8(a, b); }
    static V UnpackHi8(V a, V b) { return _mm256_unpackhi_epi8(a, b); }
    static V PackUs16(V a, V b) { return _mm256_packus_epi16(a, b); }
    static V UnpackLo16(V a, V b) { return _mm256_unpacklo_epi16(a, b); }
    static V UnpackHi16(V a, V b) { return _mm256_unpackhi_epi16(a, b); }
    static V UnpackLo32(V a, V b) { return _mm256_unpacklo_epi32(a, b); }
    static V UnpackHi32(V a, V b) { return _mm256_unpackhi_epi32(a, b); }
    static V UnpackLo64(V a, V b) { return _mm256_unpacklo_epi64(a, b); }
    static V UnpackHi64(V a, V b) { return _mm256_unpackhi_epi64(a, b); }
    // A register from two 16-byte pieces, and back.
    static V LoadHalves(const uint8_t* const (&piece)[2]) {
        return _mm256_loadu2_m128i(reinterpret_cast<const __m128i*>(piece[1]),
                                   reinterpret_cast<const __m128i*>(piece[0]));
    }
    static void StoreHalves(uint8_t* const (&piece)[2], V v) {
        // The low half first: a piece may reach into the next one.
        _mm_storeu_si128(reinterpret_cast<__m128i*>(piece[0]), _mm256_castsi256_si128(v));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(piece[1]), _mm256_extracti128_si256(v, 1));
    }
    // 16 bytes into the low half, zeros above.
    static V LoadLow(const uint8_t* p) {
        return _mm256_zextsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)));
    }
    // The low half moved up, zeros below it.
    static V HalvesUp(V a) { return _mm256_permute2x128_si256(a, a, 0x08); }
    // Within each half lane i takes lane i - 1, and lane 0 the last lane of the same half of `carry`.
    static V ShiftLanesUp16(V a, V carry) { return _mm256_alignr_epi8(a, carry, 14); }
    static V ShiftLanesUp32(V a, V carry) { return _mm256_alignr_epi8(a, carry, 12); }
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

BlurFn Avx2Blur(TPixelLayout layout) {
    return BlurFor<Avx2>(layout);
}

}  // namespace vxl::blend

#include "core/avx2_end.h"
