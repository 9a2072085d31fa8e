// A Gouraud row: pixels whose channels step by a fixed 16.16 amount. The reference here, and the
// vector runs chosen by the processor.
#pragma once

#include <array>
#include <cstdint>

#include "buffers/pixel_format.h"

namespace vxl {

using Channels = std::array<int32_t, 3>;

// `count` pixels from p, channels c stepped by d, every value a non-negative 16.16 number.
using ShadeRunFn = void (*)(uint8_t* p, int32_t count, const Channels& c, const Channels& d);

ShadeRunFn Sse2ShadeRun(TPixelLayout layout);
ShadeRunFn Avx2ShadeRun(TPixelLayout layout);
// The vector run for this processor, or null where the reference is the only one (24 bits).
ShadeRunFn ChooseShadeRun(TPixelLayout layout);

// Internal linkage: the vector files compile these with their own instruction sets.
namespace {

// The pixel of three non-negative 16.16 channels, each taken as the low 8 bits of its integer part:
// the same as Px::Pack of those bytes, with the fields cut straight out of the 16.16 words.
template <typename Px>
inline uint32_t PackFixed(uint32_t r, uint32_t g, uint32_t b) {
    if constexpr (Px::kDepth == 15) {
        return (r >> 9 & 0x7C00) | (g >> 14 & 0x3E0) | (b >> 19 & 0x1F);
    } else if constexpr (Px::kDepth == 16) {
        return (r >> 8 & 0xF800) | (g >> 13 & 0x7E0) | (b >> 19 & 0x1F);
    } else {
        return (r & 0xFF0000) | (g >> 8 & 0xFF00) | (b >> 16 & 0xFF);
    }
}

// The reference run.
template <typename Px>
void ShadeRun(uint8_t* p, int32_t count, const Channels& c, const Channels& d) {
    uint32_t r = uint32_t(c[0]), g = uint32_t(c[1]), b = uint32_t(c[2]);
    for (int32_t i = 0; i < count; ++i, p += Px::kBytes) {
        Px::Store(p, PackFixed<Px>(r, g, b));
        r += uint32_t(d[0]);
        g += uint32_t(d[1]);
        b += uint32_t(d[2]);
    }
}

}  // namespace
}  // namespace vxl
