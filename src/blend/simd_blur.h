// The blur wavefront, written once over the vector operations (O) and compiled per instruction set.
// Values in the lanes are quarters of pixels: each field shifted right by two after the mask, so four
// of them add up without carrying into the next field.
#pragma once

#include <algorithm>
#include <cstring>
#include <vector>

#include "blend/blur_wave.h"

namespace vxl::blend {
namespace {

template <typename O>
struct BlurWaveKernel {
    using V = typename O::V;
    // A register is H halves of 16 bytes, each holding 4 rows (a group) in its 32-bit lanes; R
    // registers hold the band's groups: register r, half h has group r + R * h.
    static constexpr size_t H = O::kBytes / 16;
    static constexpr size_t K = O::kBytes / 4;
    static constexpr size_t R = kBlurBandRows / 4 / H;
    static_assert(R * H * 4 == kBlurBandRows);

    // Row j of the band starts at step Skew(j). The groups of a higher half start one step later
    // still: the first row of such a group then reads the row above it as it was two steps back,
    // which leaves time to move it across the halves.
    static constexpr size_t Skew(size_t j) { return j + j / (4 * R); }
    static constexpr size_t kLastSkew = Skew(kBlurBandRows - 1);
    static_assert(kLastSkew + 4 <= kBlurPad);

    static void Transpose4(V& a, V& b, V& c, V& d) {
        const V t0 = O::UnpackLo32(a, b), t1 = O::UnpackLo32(c, d);
        const V t2 = O::UnpackHi32(a, b), t3 = O::UnpackHi32(c, d);
        a = O::UnpackLo64(t0, t1);
        b = O::UnpackHi64(t0, t1);
        c = O::UnpackLo64(t2, t3);
        d = O::UnpackHi64(t2, t3);
    }

    // Where row `row` keeps step t.
    static uint32_t* At(uint32_t* rows, size_t stride, size_t row, size_t t) {
        return rows + row * stride + kBlurPad + t - Skew(row);
    }

    // Row i of each group in register r, four steps from t0: one 16-byte piece per half.
    static void LoadBlock(uint32_t* in, size_t stride, size_t r, size_t t0, V (&v)[4]) {
#pragma GCC unroll 4
        for (size_t i = 0; i < 4; ++i) {
            const uint8_t* piece[H];
            for (size_t h = 0; h < H; ++h) {
                piece[h] = reinterpret_cast<const uint8_t*>(At(in, stride, 4 * (r + R * h) + i, t0));
            }
            v[i] = O::LoadHalves(piece);
        }
    }
    // Pieces that lie wholly inside a row with a `direct` pointer go straight to the pixels.
    static void StoreBlock(uint32_t* out, uint8_t* const* direct, size_t stride, size_t width, size_t r, size_t t0,
                           const V (&v)[4]) {
#pragma GCC unroll 4
        for (size_t i = 0; i < 4; ++i) {
            uint8_t* piece[H];
            for (size_t h = 0; h < H; ++h) {
                const size_t row = 4 * (r + R * h) + i, x = t0 - Skew(row);  // wraps when before the row
                piece[h] = direct[row] != nullptr && x < width && x + 4 <= width
                               ? direct[row] + x * 4
                               : reinterpret_cast<uint8_t*>(At(out, stride, row, t0));
            }
            O::StoreHalves(piece, v[i]);
        }
    }

    // Where the wavefront stores row j straight into 32-bit pixels: from `lo` to `hi`.
    static void DirectSpan(size_t j, size_t width, size_t* lo, size_t* hi) {
        *lo = std::min(width, (4 - Skew(j) % 4) % 4);
        *hi = *lo + (width - *lo) / 4 * 4;
    }

    // `in` and `out` hold the band's rows, `stride` entries each, a row's first value kBlurPad
    // entries in with zeros before it. In: per pixel the quarters of the neighbours that no longer
    // change; out: the blurred pixels, except those stored through `direct` (see DirectSpan).
    static void Wave(uint32_t* in, uint32_t* out, uint8_t* const* direct, size_t stride, size_t width, uint32_t keep) {
        const V m = O::Set32(keep);
        V prev[R], older = O::Zero();
        for (auto& p : prev) p = O::Zero();
        for (size_t t0 = 0; t0 < width + kLastSkew; t0 += 4) {
            V v[R][4];
#pragma GCC unroll 4
            for (size_t r = 0; r < R; ++r) {
                LoadBlock(in, stride, r, t0, v[r]);
                Transpose4(v[r][0], v[r][1], v[r][2], v[r][3]);
            }
            // A group's first row takes the last row of the group before: in the register before, or
            // for register 0 in the last register's lower half, two steps back. Unrolled, the block
            // stays in registers.
#pragma GCC unroll 4
            for (size_t k = 0; k < 4; ++k) {
                V q[R];
#pragma GCC unroll 4
                for (size_t r = 0; r < R; ++r) q[r] = O::And(O::template Srli32<2>(prev[r]), m);
#pragma GCC unroll 4
                for (size_t r = 0; r < R; ++r) {
                    const V up = O::ShiftLanesUp32(q[r], r > 0 ? q[r - 1] : O::HalvesUp(older));
                    prev[r] = O::Add32(O::Add32(v[r][k], q[r]), up);
                    v[r][k] = prev[r];
                }
                older = q[R - 1];
            }
#pragma GCC unroll 4
            for (size_t r = 0; r < R; ++r) {
                Transpose4(v[r][0], v[r][1], v[r][2], v[r][3]);
                StoreBlock(out, direct, stride, width, r, t0, v[r]);
            }
        }
    }

    template <typename P>
    static constexpr uint32_t kKeep = (kBlurMask<P>) >> 2;

    template <typename P>
    static V QuartersAt(const uint8_t* p, V keep) {
        return O::And(O::template Srli32<2>(P::kBytes == 4 ? O::Load(p) : O::LoadWiden16(p)), keep);
    }
    template <typename P>
    static uint32_t QuarterAt(const uint8_t* p) {
        return (P::Load(p) >> 2) & kKeep<P>;
    }

    // a[x] = the quarters of right[x], down[x] and, unless null, up[x], for n pixels.
    template <typename P>
    static void SumQuarters(const uint8_t* right, const uint8_t* down, const uint8_t* up, uint32_t* a, size_t n) {
        constexpr size_t B = P::kBytes;
        size_t x = 0;
        if constexpr (B != 3) {
            const V m = O::Set32(kKeep<P>);
            for (; x + K <= n; x += K) {
                V sum = O::Add32(QuartersAt<P>(right + x * B, m), QuartersAt<P>(down + x * B, m));
                if (up != nullptr) sum = O::Add32(sum, QuartersAt<P>(up + x * B, m));
                O::Store(reinterpret_cast<uint8_t*>(a + x), sum);
            }
        }
        for (; x < n; ++x) {
            a[x] = QuarterAt<P>(right + x * B) + QuarterAt<P>(down + x * B) + (up ? QuarterAt<P>(up + x * B) : 0);
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
        const size_t stride = w + 2 * kBlurPad + 8;
        // Kept between calls: a fresh block each time would cost page faults. Only the zeros before
        // each row of `in` matter; rows past the buffer's end and entries past a row's end feed lanes
        // whose results are never stored.
        static thread_local std::vector<uint32_t> scratch;
        if (scratch.size() < 2 * G * stride) scratch.resize(2 * G * stride);
        uint32_t* const in = scratch.data();
        uint32_t* const out = in + G * stride;
        for (size_t j = 0; j < G; ++j) std::fill_n(in + j * stride, kBlurPad, 0u);
        uint8_t* direct[G] = {};
        for (size_t y = 0; y < h; y += G) {
            const size_t rows = std::min(G, h - y);
            for (size_t j = 0; j < rows; ++j) {
                const uint8_t* row = b.row(int32_t(y + j));
                const uint8_t* down = y + j + 1 < h ? b.row(int32_t(y + j + 1)) : row;
                uint32_t* a = in + j * stride + kBlurPad;
                // The row above the band is finished; within it the wavefront brings the upper pixel.
                const uint8_t* up = j > 0 ? nullptr : y > 0 ? b.row(int32_t(y - 1)) : row;
                const size_t last = (w - 1) * B;
                // The last pixel stands in for its missing right neighbour, the first for its left one.
                SumQuarters<P>(row + B, down, up, a, w - 1);
                SumQuarters<P>(row + last, down + last, up ? up + last : nullptr, a + w - 1, 1);
                a[0] += QuarterAt<P>(row);
            }
            for (size_t j = 0; j < G; ++j) direct[j] = B == 4 && j < rows ? b.row(int32_t(y + j)) : nullptr;
            Wave(in, out, direct, stride, w, kKeep<P>);
            for (size_t j = 0; j < rows; ++j) {
                const uint32_t* o = out + j * stride + kBlurPad;
                uint8_t* row = b.row(int32_t(y + j));
                if constexpr (B == 4) {
                    size_t lo, hi;
                    DirectSpan(j, w, &lo, &hi);
                    Emit<P>(o, row, lo);
                    Emit<P>(o + hi, row + hi * B, w - hi);
                } else {
                    Emit<P>(o, row, w);
                }
            }
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
