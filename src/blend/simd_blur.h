// The blur wavefront, written once over the vector operations (O) and compiled per instruction set.
// Values in the lanes are quarters of pixels: each field shifted right by two after the mask, so four
// of them add up without carrying into the next field. Pixels of 16 bits run in 16-bit lanes, eight
// rows to each 16 bytes; the others in 32-bit lanes, four rows to each 16 bytes.
#pragma once

#include <algorithm>
#include <cstring>
#include <vector>

#include "blend/blur_wave.h"

namespace vxl::blend {
namespace {

template <typename O, typename Lane>
struct BlurWaveKernel {
    using V = typename O::V;
    static constexpr size_t S = sizeof(Lane);
    // N lanes to a 16-byte half, each half holding N rows (a group); H halves to a register, R
    // registers to the band's G rows: register r, half h has group r + R * h.
    static constexpr size_t N = 16 / S;
    static constexpr size_t H = O::kBytes / 16;
    static constexpr size_t G = S == 2 ? kBlurBandRows16 : kBlurBandRows;
    static constexpr size_t R = G / N / H;
    static_assert(R * H * N == G);

    // Row j of the band starts at step Skew(j). The groups of a higher half start one step later
    // still: the first row of such a group then reads the row above it as it was two steps back,
    // which leaves time to move it across the halves.
    static constexpr size_t Skew(size_t j) { return j + j / (N * R); }
    static constexpr size_t kLastSkew = Skew(G - 1);
    // The zeros before each row's values in the working rows.
    static constexpr size_t kPad = (kLastSkew + N + 15) / 16 * 16;

    static V Quarter(V v, V keep) {
        if constexpr (S == 2) {
            return O::And(O::template Srli16<2>(v), keep);
        } else {
            return O::And(O::template Srli32<2>(v), keep);
        }
    }
    static V Add(V a, V b) {
        if constexpr (S == 2) {
            return O::Add16(a, b);
        } else {
            return O::Add32(a, b);
        }
    }
    static V ShiftLanesUp(V a, V carry) {
        if constexpr (S == 2) {
            return O::ShiftLanesUp16(a, carry);
        } else {
            return O::ShiftLanesUp32(a, carry);
        }
    }

    // N rows of N steps each become N steps of N rows each, in every half; and back.
    static void Transpose(V (&v)[N]) {
        if constexpr (N == 8) {
            V t[8];
#pragma GCC unroll 8
            for (size_t i = 0; i < 8; i += 2) {
                t[i] = O::UnpackLo16(v[i], v[i + 1]);
                t[i + 1] = O::UnpackHi16(v[i], v[i + 1]);
            }
#pragma GCC unroll 8
            for (size_t i = 0; i < 8; i += 4) {
                v[i] = O::UnpackLo32(t[i], t[i + 2]);
                v[i + 1] = O::UnpackHi32(t[i], t[i + 2]);
                v[i + 2] = O::UnpackLo32(t[i + 1], t[i + 3]);
                v[i + 3] = O::UnpackHi32(t[i + 1], t[i + 3]);
            }
#pragma GCC unroll 8
            for (size_t i = 0; i < 4; ++i) {
                t[2 * i] = O::UnpackLo64(v[i], v[i + 4]);
                t[2 * i + 1] = O::UnpackHi64(v[i], v[i + 4]);
            }
#pragma GCC unroll 8
            for (size_t i = 0; i < 8; ++i) v[i] = t[i];
        } else {
            const V t0 = O::UnpackLo32(v[0], v[1]), t1 = O::UnpackLo32(v[2], v[3]);
            const V t2 = O::UnpackHi32(v[0], v[1]), t3 = O::UnpackHi32(v[2], v[3]);
            v[0] = O::UnpackLo64(t0, t1);
            v[1] = O::UnpackHi64(t0, t1);
            v[2] = O::UnpackLo64(t2, t3);
            v[3] = O::UnpackHi64(t2, t3);
        }
    }

    // The band's working rows: `in` and `out`, `stride` entries each, a row's first value kPad entries
    // in with zeros before it. In: per pixel the quarters of the neighbours that no longer change;
    // out: the blurred pixels, except those stored through `direct` (see DirectSpan).
    struct Band {
        // Each row's first value in `in` and `out`, and its first pixel (or null).
        Lane* in[G];
        Lane* out[G];
        uint8_t* direct[G];
        size_t width;
    };

    // Row i of each group in register r, N steps from t0: one 16-byte piece per half.
    static void LoadBlock(const Band& band, size_t r, size_t t0, V (&v)[N]) {
#pragma GCC unroll 8
        for (size_t i = 0; i < N; ++i) {
            const uint8_t* piece[H];
            for (size_t h = 0; h < H; ++h) {
                const size_t row = N * (r + R * h) + i;
                piece[h] = reinterpret_cast<const uint8_t*>(band.in[row] + t0 - Skew(row));
            }
            v[i] = O::LoadHalves(piece);
        }
    }
    // Inside the rows every piece goes straight to the pixels; at their ends only the pieces that lie
    // wholly inside a row with a `direct` pointer.
    template <bool kInside>
    static void StoreBlock(const Band& band, size_t r, size_t t0, const V (&v)[N]) {
#pragma GCC unroll 8
        for (size_t i = 0; i < N; ++i) {
            uint8_t* piece[H];
            for (size_t h = 0; h < H; ++h) {
                const size_t row = N * (r + R * h) + i, x = t0 - Skew(row);  // wraps when before the row
                if (kInside || (band.direct[row] != nullptr && x < band.width && x + N <= band.width)) {
                    piece[h] = band.direct[row] + x * S;
                } else {
                    piece[h] = reinterpret_cast<uint8_t*>(band.out[row] + t0 - Skew(row));
                }
            }
            O::StoreHalves(piece, v[i]);
        }
    }

    // Where the wavefront stores row j straight into the pixels: from `lo` to `hi`.
    static void DirectSpan(size_t j, size_t width, size_t* lo, size_t* hi) {
        *lo = std::min(width, (N - Skew(j) % N) % N);
        *hi = *lo + (width - *lo) / N * N;
    }

    // The lanes carried from one block of N steps to the next.
    struct Front {
        V prev[R];
        V older;
    };

    template <bool kInside>
    static void Block(const Band& band, size_t t0, V m, Front& f) {
        V v[R][N];
#pragma GCC unroll 4
        for (size_t r = 0; r < R; ++r) {
            LoadBlock(band, r, t0, v[r]);
            Transpose(v[r]);
        }
        // A group's first row takes the last row of the group before: in the register before, or
        // for register 0 in the last register's lower half, two steps back. Unrolled, the block
        // stays in registers.
#pragma GCC unroll 8
        for (size_t k = 0; k < N; ++k) {
            V q[R];
#pragma GCC unroll 4
            for (size_t r = 0; r < R; ++r) q[r] = Quarter(f.prev[r], m);
#pragma GCC unroll 4
            for (size_t r = 0; r < R; ++r) {
                const V up = ShiftLanesUp(q[r], r > 0 ? q[r - 1] : O::HalvesUp(f.older));
                f.prev[r] = Add(Add(v[r][k], q[r]), up);
                v[r][k] = f.prev[r];
            }
            f.older = q[R - 1];
        }
#pragma GCC unroll 4
        for (size_t r = 0; r < R; ++r) {
            Transpose(v[r]);
            StoreBlock<kInside>(band, r, t0, v[r]);
        }
    }

    static void Wave(const Band& band, V m) {
        Front f;
        for (auto& p : f.prev) p = O::Zero();
        f.older = O::Zero();
        // Blocks in which every row's piece lies inside the row, when all rows have their pixels.
        bool all_direct = true;
        for (size_t j = 0; j < G; ++j) all_direct &= band.direct[j] != nullptr;
        const size_t end = band.width + kLastSkew;
        size_t t0 = 0;
        for (; t0 < end && !(all_direct && t0 >= kLastSkew); t0 += N) Block<false>(band, t0, m, f);
        if (all_direct) {
            for (; t0 + N <= band.width; t0 += N) Block<true>(band, t0, m, f);
        }
        for (; t0 < end; t0 += N) Block<false>(band, t0, m, f);
    }

    template <typename P>
    static constexpr Lane kKeep = Lane((kBlurMask<P>) >> 2);

    template <typename P>
    static Lane QuarterAt(const uint8_t* p) {
        return Lane((P::Load(p) >> 2) & kKeep<P>);
    }

    // a[x] = the quarters of right[x], down[x] and, unless null, up[x], for n pixels.
    template <typename P>
    static void SumQuarters(const uint8_t* right, const uint8_t* down, const uint8_t* up, Lane* a, size_t n) {
        constexpr size_t B = P::kBytes, K = O::kBytes / S;
        size_t x = 0;
        if constexpr (B == S) {
            const V keep = Keep<P>();
            for (; x + K <= n; x += K) {
                V sum = Add(Quarter(O::Load(right + x * B), keep), Quarter(O::Load(down + x * B), keep));
                if (up != nullptr) sum = Add(sum, Quarter(O::Load(up + x * B), keep));
                O::Store(reinterpret_cast<uint8_t*>(a + x), sum);
            }
        }
        for (; x < n; ++x) {
            a[x] = Lane(QuarterAt<P>(right + x * B) + QuarterAt<P>(down + x * B) + (up ? QuarterAt<P>(up + x * B) : 0));
        }
    }

    template <typename P>
    static V Keep() {
        if constexpr (S == 2) {
            return O::Set16(kKeep<P>);
        } else {
            return O::Set32(kKeep<P>);
        }
    }

    // The working row's values back into n pixels.
    template <typename P>
    static void Emit(const Lane* o, uint8_t* row, size_t n) {
        if constexpr (P::kBytes == S) {
            std::memcpy(row, o, n * S);
        } else {
            for (size_t x = 0; x < n; ++x) P::Store(row + x * P::kBytes, o[x]);
        }
    }

    template <typename P>
    static void Blur(TBufferVx& b) {
        constexpr size_t B = P::kBytes;
        const size_t w = size_t(b.width()), h = size_t(b.height());
        if (w == 0 || h == 0) return;
        const size_t stride = w + 2 * kPad + N;
        // Kept between calls: a fresh block each time would cost page faults. Only the zeros before
        // each row of `in` matter; rows past the buffer's end and entries past a row's end feed lanes
        // whose results are never stored.
        static thread_local std::vector<Lane> scratch;
        if (scratch.size() < 2 * G * stride) scratch.resize(2 * G * stride);
        Lane* const in = scratch.data();
        Lane* const out = in + G * stride;
        Band band{};
        band.width = w;
        for (size_t j = 0; j < G; ++j) {
            std::fill_n(in + j * stride, kPad, Lane(0));
            band.in[j] = in + j * stride + kPad;
            band.out[j] = out + j * stride + kPad;
        }
        for (size_t y = 0; y < h; y += G) {
            const size_t rows = std::min(G, h - y);
            for (size_t j = 0; j < rows; ++j) {
                const uint8_t* row = b.row(int32_t(y + j));
                const uint8_t* down = y + j + 1 < h ? b.row(int32_t(y + j + 1)) : row;
                Lane* a = band.in[j];
                // The row above the band is finished; within it the wavefront brings the upper pixel.
                const uint8_t* up = j > 0 ? nullptr : y > 0 ? b.row(int32_t(y - 1)) : row;
                const size_t last = (w - 1) * B;
                // The last pixel stands in for its missing right neighbour, the first for its left one.
                SumQuarters<P>(row + B, down, up, a, w - 1);
                SumQuarters<P>(row + last, down + last, up ? up + last : nullptr, a + w - 1, 1);
                a[0] = Lane(a[0] + QuarterAt<P>(row));
            }
            for (size_t j = 0; j < G; ++j) band.direct[j] = B == S && j < rows ? b.row(int32_t(y + j)) : nullptr;
            Wave(band, Keep<P>());
            for (size_t j = 0; j < rows; ++j) {
                const Lane* o = band.out[j];
                uint8_t* row = b.row(int32_t(y + j));
                if constexpr (B == S) {
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
    return DispatchLayout(layout, BlurFn{nullptr}, [](auto px) -> BlurFn {
        using P = decltype(px);
        using Lane = std::conditional_t<P::kBytes == 2, uint16_t, uint32_t>;
        return BlurWaveKernel<O, Lane>::template Blur<P>;
    });
}

}  // namespace
}  // namespace vxl::blend
