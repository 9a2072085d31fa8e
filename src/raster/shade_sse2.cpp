// The Gouraud rows with SSE2, which every x86-64 processor has.
#include <emmintrin.h>

#include "core/vector_ops.h"
#include "platform/cpu.h"
#include "raster/shade_run_vector.h"

namespace vxl {
namespace {

struct Sse2 : VectorOps<16> {
    // Two registers of values below 2^16 in 32-bit lanes to one of 16-bit lanes, in order. They are
    // sign-extended first, so the signed pack keeps each value as it is.
    static V Narrow32To16(V lo, V hi) {
        return _mm_packs_epi32(_mm_srai_epi32(_mm_slli_epi32(lo, 16), 16), _mm_srai_epi32(_mm_slli_epi32(hi, 16), 16));
    }
};

}  // namespace

ShadeRunFn Sse2ShadeRun(TPixelLayout layout) {
    return ShadeRunFor<Sse2>(layout);
}

ShadeRunFn ChooseShadeRun(TPixelLayout layout) {
    if (platform::Cpu().avx2) return Avx2ShadeRun(layout);
    return platform::Cpu().sse2 ? Sse2ShadeRun(layout) : nullptr;
}

}  // namespace vxl
