// The Gouraud row written once over the vector operations (O), compiled by each instruction-set
// file: each 32-bit lane holds one pixel's channel, the lanes of a register neighbouring pixels.
#pragma once

#include "raster/shade_run.h"

namespace vxl {
namespace {

template <typename O>
struct ShadeKernel {
    using V = typename O::V;
    static constexpr int32_t kLanes = int32_t(O::kBytes / 4);

    template <int shift>
    static V Field(V v, uint32_t mask) {
        return O::And(O::template Srli32<shift>(v), O::Set32(mask));
    }

    // The same fields as PackFixed, one pixel a lane.
    template <typename Px>
    static V Pack(const V (&ch)[3]) {
        if constexpr (Px::kDepth == 15) {
            return O::Or(O::Or(Field<9>(ch[0], 0x7C00), Field<14>(ch[1], 0x3E0)), Field<19>(ch[2], 0x1F));
        } else if constexpr (Px::kDepth == 16) {
            return O::Or(O::Or(Field<8>(ch[0], 0xF800), Field<13>(ch[1], 0x7E0)), Field<19>(ch[2], 0x1F));
        } else {
            return O::Or(O::Or(O::And(ch[0], O::Set32(0xFF0000)), Field<8>(ch[1], 0xFF00)), Field<16>(ch[2], 0xFF));
        }
    }

    template <typename Px>
    static void Run(uint8_t* p, int32_t count, const Channels& c, const Channels& d) {
        constexpr int32_t kStep = Px::kBytes == 4 ? kLanes : 2 * kLanes;  // pixels a store
        if (count < kStep) return ShadeRun<Px>(p, count, c, d);
        V ch[3], step[3];
        for (int k = 0; k < 3; ++k) step[k] = O::Set32(uint32_t(d[k]) * uint32_t(kLanes));
        // Lane i of channel k at pixel `at` + i, wrapping like the reference.
        const auto start = [&](int32_t at) {
            for (int k = 0; k < 3; ++k) {
                uint32_t lane[kLanes];
                for (int32_t i = 0; i < kLanes; ++i) lane[i] = uint32_t(c[k]) + uint32_t(d[k]) * uint32_t(at + i);
                ch[k] = O::Load(reinterpret_cast<const uint8_t*>(lane));
            }
        };
        const auto next = [&] {
            const V v = Pack<Px>(ch);
            for (int k = 0; k < 3; ++k) ch[k] = O::Add32(ch[k], step[k]);
            return v;
        };
        const auto store = [&](int32_t at) {
            V v = next();
            if constexpr (Px::kBytes == 2) v = O::Narrow32To16(v, next());
            O::Store(p + size_t(at) * Px::kBytes, v);
        };
        start(0);
        int32_t i = 0;
        for (; i + kStep <= count; i += kStep) store(i);
        if (i < count) {
            // The last store overlaps the one before it, writing the same values again there.
            start(count - kStep);
            store(count - kStep);
        }
    }
};

template <typename O>
ShadeRunFn ShadeRunFor(TPixelLayout layout) {
    return DispatchLayout(layout, ShadeRunFn{nullptr}, [](auto px) -> ShadeRunFn {
        using Px = decltype(px);
        if constexpr (Px::kBytes == 3) {
            return nullptr;  // three-byte pixels stay with the reference
        } else {
            return ShadeKernel<O>::template Run<Px>;
        }
    });
}

}  // namespace
}  // namespace vxl
