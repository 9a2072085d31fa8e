// The Gouraud rows with AVX2, chosen at run time. Only the code after the target switch below is
// compiled for AVX2; what it shares with the rest of the library is included before it (see
// blend/simd_avx2.cpp).
#include <immintrin.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "buffers/pixel_format.h"
#include "raster/shade_run.h"

// The kernels come after the switch to AVX2.
// clang-format off
#include "core/avx2_begin.h"
#include "core/vector_ops.h"
#include "raster/shade_run_vector.h"
// clang-format on

namespace vxl {
namespace {

struct Avx2 : VectorOps<32> {
    // As the SSE2 pack, which works within each 128-bit half; the quarter swap restores the order.
    static V Narrow32To16(V lo, V hi) {
        const V packed = _mm256_packus_epi32(lo, hi);
        return _mm256_permute4x64_epi64(packed, 0xD8);
    }
};

}  // namespace

ShadeRunFn Avx2ShadeRun(TPixelLayout layout) {
    return ShadeRunFor<Avx2>(layout);
}

}  // namespace vxl

#include "core/avx2_end.h"
