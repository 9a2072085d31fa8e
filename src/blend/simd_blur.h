// The blur wavefront, written once over the vector operations (O) and compiled per instruction set.
// K lanes of 32 bits a register and R registers side by side give the kBlurBandRows rows of a band.
// Values in the lanes are quarters of pixels: each field shifted right by two after the mask, so four
// of them add up without carrying into the next field.
#pragma once

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "blend/blur_wave.h"

namespace vxl::blend {
namespace {

template <typename O>
struct BlurWaveKernel {
    using V = typename O::V;
    static constexpr size_t K = O::kBytes / 4;
    static constexpr size_t R = kBlurBandRows / K;

    static void Transpose4(V& a, V& b, V& c, V& d) {
        const V t0 = O::UnpackLo32(a, b), t1 = O::UnpackLo32(c, d);
        const V t2 = O::UnpackHi32(a, b), t3 = O::UnpackHi32(c, d);
        a = O::UnpackLo64(t0, t1);
        b = O::UnpackHi64(t0, t1);
        c = O::UnpackLo64(t2, t3);
        d = O::UnpackHi64(t2, t3);
    }

    // K x K lanes: row i of the block becomes vector i's lanes read down the column.
    static void Transpose(V (&v)[K]) {
        Transpose4(v[0], v[1], v[2], v[3]);
        if constexpr (K == 8) {
            // Each half now holds a transposed 4 x 4 block; the halves are put together.
            Transpose4(v[4], v[5], v[6], v[7]);
            for (size_t k = 0; k < 4; ++k) {
                const V lo = O::JoinLow128(v[k], v[k + 4]), hi = O::JoinHigh128(v[k], v[k + 4]);
                v[k] = lo;
                v[k + 4] = hi;
            }
        }
    }

    static const uint8_t* At(const uint32_t* rows, size_t stride, size_t row, size_t t) {
        return reinterpret_cast<const uint8_t*>(rows + row * stride + kBlurBandRows + t - row);
    }

    // `in` and `out` hold the band's rows, `stride` entries each, a row's first value kBlurBandRows
    // entries in with zeros before it. In: per pixel the quarters of the neighbours that no longer
    // change; out: the blurred pixels.
    static void Wave(const uint32_t* in, uint32_t* out, size_t stride, size_t width, uint32_t keep) {
        const V m = O::Set32(keep);
        V prev[R];
        for (auto& p : prev) p = O::Zero();
        // Row j starts at step j, so the last row ends kBlurBandRows - 1 steps after the first.
        for (size_t t0 = 0; t0 + 1 < width + kBlurBandRows; t0 += K) {
            V v[R][K];
            for (size_t r = 0; r < R; ++r) {
                for (size_t i = 0; i < K; ++i) v[r][i] = O::Load(At(in, stride, r * K + i, t0));
                Transpose(v[r]);
            }
            for (size_t k = 0; k < K; ++k) {
                V q[R];
                for (size_t r = 0; r < R; ++r) q[r] = O::And(O::template Srli32<2>(prev[r]), m);
                for (size_t r = 0; r < R; ++r) {
                    const V up = O::ShiftLanesUp32(q[r], r > 0 ? q[r - 1] : O::Zero());
                    prev[r] = O::Add32(O::Add32(v[r][k], q[r]), up);
                    v[r][k] = prev[r];
                }
            }
            for (size_t r = 0; r < R; ++r) {
                Transpose(v[r]);
                for (size_t i = 0; i < K; ++i) {
                    O::Store(const_cast<uint8_t*>(At(out, stride, r * K + i, t0)), v[r][i]);
                }
            }
        }
    }

    // a[x] = quarter of pixel x, or a[x] plus it, for n pixels from p.
    template <typename P>
    static void Quarters(const uint8_t* p, uint32_t* a, size_t n, bool add) {
        constexpr uint32_t kKeep = (kBlurMask<P>) >> 2;
        size_t x = 0;
        if constexpr (P::kBytes != 3) {
            const V m = O::Set32(kKeep);
            for (; x + K <= n; x += K) {
                const V v = P::kBytes == 4 ? O::Load(p + x * 4) : O::LoadWiden16(p + x * 2);
                V q = O::And(O::template Srli32<2>(v), m);
                if (add) q = O::Add32(q, O::Load(reinterpret_cast<const uint8_t*>(a + x)));
                O::Store(reinterpret_cast<uint8_t*>(a + x), q);
            }
        }
        for (; x < n; ++x) {
            const uint32_t q = (P::Load(p + x * P::kBytes) >> 2) & kKeep;
            a[x] = add ? a[x] + q : q;
        }
    }

    template <typename P>
    static void Emit(const uint32_t* o, uint8_t* row, size_t n) {
        size_t x = 0;
        if constexpr (P::kBytes == 4) {
            std::memcpy(row, o, n * 4);
            return;
        } else if constexpr (P::kBytes == 2) {
            for (; x + K <= n; x += K) O::StoreNarrow16(row + x * 2, O::Load(reinterpret_cast<const uint8_t*>(o + x)));
        }
        for (; x < n; ++x) P::Store(row + x * P::kBytes, o[x]);
    }

    template <typename P>
    static void Blur(TBufferVx& b) {
        constexpr size_t B = P::kBytes, G = kBlurBandRows;
        const size_t w = size_t(b.width()), h = size_t(b.height());
        if (w == 0 || h == 0) return;
        const size_t stride = w + 2 * G + 8;
        // Only the zeros before each row of `in` matter; rows past the buffer's end and entries past a
        // row's end feed lanes whose results are never stored.
        std::vector<uint32_t> in(G * stride, 0);
        const auto out = std::make_unique_for_overwrite<uint32_t[]>(G * stride);
        for (size_t y = 0; y < h; y += G) {
            const size_t rows = std::min(G, h - y);
            for (size_t j = 0; j < rows; ++j) {
                const uint8_t* row = b.row(int32_t(y + j));
                const uint8_t* down = y + j + 1 < h ? b.row(int32_t(y + j + 1)) : row;
                uint32_t* a = in.data() + j * stride + G;
                // Right neighbours (the last pixel stands in for its own), then below, then above the
                // band: that row is finished. The pixel left of column 0 is the pixel itself.
                Quarters<P>(row + B, a, w - 1, false);
                Quarters<P>(row + (w - 1) * B, a + w - 1, 1, false);
                Quarters<P>(down, a, w, true);
                if (j == 0) Quarters<P>(y > 0 ? b.row(int32_t(y - 1)) : row, a, w, true);
                Quarters<P>(row, a, 1, true);
            }
            Wave(in.data(), out.get(), stride, w, (kBlurMask<P>) >> 2);
            for (size_t j = 0; j < rows; ++j) Emit<P>(out.get() + j * stride + G, b.row(int32_t(y + j)), w);
        }
    }
};

template <typename O>
BlurFn BlurFor(TPixelLayout layout) {
    return DispatchLayout(layout, BlurFn{nullptr},
                          [](auto px) -> BlurFn { return BlurWaveKernel<O>::template Blur<decltype(px)>; });
}

}  // namespace
}  // namespace vxl::blend
