// The blur wavefront, written once over the vector operations (O) and compiled per instruction set.
// Values in the lanes are quarters of pixels: each field shifted right by two after the mask, so four
// of them add up without carrying into the next field. Pixels of 16 bits run in 16-bit lanes, eight
// rows to each 16 bytes; the others in 32-bit lanes, four rows to each 16 bytes.
//
// The old pixels come straight from the rows: a block of N steps loads each row's N pixels one to the
// right of the ones it replaces, which are the right neighbours of its pixels; the next row's block,
// one row down and one step later, holds the pixels below them. The top lane of a band only lends its
// row as the one below, so a band finishes one row fewer than it has lanes and the next band starts
// with that row.
#pragma once

#include <algorithm>
#include <cstring>
#include <type_traits>
#include <vector>

#include "blend/blur_wave.h"

namespace vxl::blend {
namespace {

template <typename O, typename Lane>
struct BlurWaveKernel {
    using V = typename O::V;
    static constexpr size_t S = sizeof(Lane);
    // N lanes to a 16-byte half, H halves to a register, R registers to the band's G lanes. The rows
    // go round the registers: lane i of half h of register r has row Row(r, h, i), so that the row
    // above a lane's row is in the same lane of the register before, except in register 0.
    static constexpr size_t N = 16 / S;
    static constexpr size_t H = O::kBytes / 16;
    // Registers in flight: enough to hide the chain's latency, few enough to stay in registers
    // (measured: two of 16-bit lanes; three of 32-bit lanes with AVX2, four with SSE2).
    static constexpr size_t R = S == 2 ? 2 : H == 2 ? 3 : 4;
    static constexpr size_t G = R * H * N;
    static constexpr size_t Row(size_t r, size_t h, size_t i) { return r + R * (i + N * h); }
    // Row j starts at step Skew(j). The rows of the upper half start one step later still: the first
    // of them then reads the row above it as it was two steps back, which leaves time to move it
    // across the halves.
    static constexpr size_t Skew(size_t j) { return j + j / (N * R); }
    static constexpr size_t kLastSkew = Skew(G - 1);
    // How far blocks reach before a row starts and after it ends.
    static constexpr size_t kReach = kLastSkew + 2 * N;
    static constexpr size_t kPad = (kReach + 15) / 16 * 16;

    using SignedLane = std::conditional_t<S == 2, int16_t, int32_t>;
    typedef SignedLane Signed __attribute__((vector_size(O::kBytes)));

    static V Set(Lane v) {
        if constexpr (S == 2) {
            return O::Set16(v);
        } else {
            return O::Set32(v);
        }
    }
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
    // Lane i takes lane i - 1, the first lane the last one of `carry` (within each half).
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

    // Where a block reads and writes: per lane the address of x = 0 in the pixels, or in a working
    // row. Inside the rows the pixels themselves; at the ends of the rows a lane's copy of its old
    // values (the last pixel again at x = width, standing in for its missing right neighbour) and a
    // working row for the results. Lanes past the buffer's last row read stale copies and store into
    // working rows: their results go nowhere.
    struct Blocks {
        const uint8_t* from[G];
        uint8_t* to[G];
        const uint8_t* above;  // the finished row above the band (the first row itself for the first band)
    };

    // A band of lanes, each starting after the one before.
    struct Band {
        Blocks inside, ends;
        V start[R];  // each lane's first old pixel: its left neighbour before it starts
        size_t width;
    };

    // In v[r][i] the quarters of rows Row(r, h, i), N pixels from x = t0 + 1 - Skew(row), each plus
    // the quarters of the row below at the same pixels (the next row's block is one pixel to the
    // left); the band's first row also takes the row above's, one pixel to the left.
    [[gnu::always_inline]] static void LoadBlock(const Blocks& at, size_t t0, V keep, V (&v)[R][N]) {
#pragma GCC unroll 4
        for (size_t r = 0; r < R; ++r) {
#pragma GCC unroll 8
            for (size_t i = 0; i < N; ++i) {
                const uint8_t* piece[H];
                for (size_t h = 0; h < H; ++h) {
                    const size_t row = Row(r, h, i);
                    piece[h] = at.from[row] + (ptrdiff_t(t0 + 1) - ptrdiff_t(Skew(row))) * ptrdiff_t(S);
                }
                v[r][i] = Quarter(O::LoadHalves(piece), keep);
            }
        }
        // The last row of the lower half has the row below in the upper half, one step later: its
        // block starts a pixel further to the right.
        V below_last = O::Zero();
        if constexpr (H > 1) {
            constexpr size_t first = Row(0, 1, 0);
            below_last = Quarter(O::LoadLow(at.from[first] + (t0 + 2 - Skew(first)) * S), keep);
        }
        V sum[R][N];
#pragma GCC unroll 4
        for (size_t r = 0; r < R; ++r) {
#pragma GCC unroll 8
            for (size_t i = 0; i < N; ++i) {
                sum[r][i] = Add(v[r][i], r + 1 < R ? v[r + 1][i] : i + 1 < N ? v[0][i + 1] : below_last);
            }
        }
        sum[0][0] = Add(sum[0][0], Quarter(O::LoadLow(at.above + t0 * S), keep));
#pragma GCC unroll 4
        for (size_t r = 0; r < R; ++r) {
#pragma GCC unroll 8
            for (size_t i = 0; i < N; ++i) v[r][i] = sum[r][i];
        }
    }
    static void StoreBlock(const Blocks& at, size_t t0, const V (&v)[R][N]) {
#pragma GCC unroll 4
        for (size_t r = 0; r < R; ++r) {
#pragma GCC unroll 8
            for (size_t i = 0; i < N; ++i) {
                uint8_t* piece[H];
                for (size_t h = 0; h < H; ++h) {
                    const size_t row = Row(r, h, i);
                    piece[h] = at.to[row] + (ptrdiff_t(t0) - ptrdiff_t(Skew(row))) * ptrdiff_t(S);
                }
                O::StoreHalves(piece, v[r][i]);
            }
        }
    }

    // Steps t0 to t0 + N - 1. `carried` holds each lane's last result from block to block; while a lane
    // has not started (kStarting) it keeps its first old pixel there.
    template <bool kStarting>
    static void Block(const Blocks& at, const Band& band, size_t t0, V keep, V (&carried)[R], V& carried_older) {
        // Local copies: through the references every step's results went to memory and back, on the
        // chain from step to step.
        V prev[R], older = carried_older;
        for (size_t r = 0; r < R; ++r) prev[r] = carried[r];
        V v[R][N];
        LoadBlock(at, t0, keep, v);
#pragma GCC unroll 4
        for (size_t r = 0; r < R; ++r) {
            Transpose(v[r]);
        }
        // Register 0 takes the rows above from the last register, one lane down; the first row of the
        // upper half takes the last of the lower half, two steps back. Unrolled, the block stays in
        // registers.
#pragma GCC unroll 8
        for (size_t k = 0; k < N; ++k) {
            V q[R];
#pragma GCC unroll 4
            for (size_t r = 0; r < R; ++r) q[r] = Quarter(prev[r], keep);
#pragma GCC unroll 4
            for (size_t r = 0; r < R; ++r) {
                const V up = r > 0 ? q[r - 1] : ShiftLanesUp(q[R - 1], O::HalvesUp(older));
                prev[r] = Add(Add(v[r][k], q[r]), up);
                if constexpr (kStarting) {
                    const V waiting = (V)(Lanes(r) > (Signed)Set(Lane(t0 + k)));
                    prev[r] = O::Or(O::And(waiting, band.start[r]), O::AndNot(waiting, prev[r]));
                }
                v[r][k] = prev[r];
            }
            older = q[R - 1];
        }
        for (size_t r = 0; r < R; ++r) carried[r] = prev[r];
        carried_older = older;
#pragma GCC unroll 4
        for (size_t r = 0; r < R; ++r) Transpose(v[r]);
        StoreBlock(at, t0, v);
    }

    // The step at which each lane of register r starts.
    static Signed Lanes(size_t r) {
        Signed v{};
        for (size_t h = 0; h < H; ++h) {
            for (size_t i = 0; i < N; ++i) v[h * N + i] = SignedLane(Skew(Row(r, h, i)));
        }
        return v;
    }

    // The first block in which every lane has started, and the first past it that reaches beyond a
    // row's end (no block lies inside the rows when they are read from whole copies).
    static constexpr size_t kStarted = (kLastSkew + N - 1) / N * N;
    static size_t InsideEnd(size_t width, bool whole) {
        size_t t0 = kStarted;
        if (!whole) {
            while (t0 + N < width) t0 += N;
        }
        return t0;
    }

    static void Wave(const Band& band, bool whole, V keep) {
        V prev[R], older = O::Zero();
        for (size_t r = 0; r < R; ++r) prev[r] = band.start[r];
        const size_t end = band.width + kLastSkew, inside_end = std::min(end, InsideEnd(band.width, whole));
        size_t t0 = 0;
        for (; t0 < end && t0 < kStarted; t0 += N) Block<true>(band.ends, band, t0, keep, prev, older);
        for (; t0 < inside_end; t0 += N) Block<false>(band.inside, band, t0, keep, prev, older);
        for (; t0 < end; t0 += N) Block<false>(band.ends, band, t0, keep, prev, older);
    }

    template <typename P>
    static constexpr Lane kKeep = Lane((kBlurMask<P>) >> 2);

    // Old pixels from..to - 1 of a row into its copy, and the last one again after the row's end.
    template <typename P>
    static void FillCopy(const uint8_t* row, Lane* copy, size_t from, size_t to, size_t width) {
        if constexpr (P::kBytes == S) {
            std::memcpy(copy + from, row + from * S, (to - from) * S);
        } else {
            for (size_t x = from; x < to; ++x) copy[x] = Lane(P::Load(row + x * P::kBytes));
        }
        if (to == width) copy[width] = copy[width - 1];
    }
    // A row's copy where the blocks at the ends of the rows read it: the whole row when it is short.
    template <typename P>
    static void FillEnds(const uint8_t* row, Lane* copy, bool whole, size_t width) {
        if (whole) {
            FillCopy<P>(row, copy, 0, width, width);
        } else {
            FillCopy<P>(row, copy, 0, kReach, width);
            FillCopy<P>(row, copy, width - kReach, width, width);
        }
    }

    // The working row's values back into pixels from..to - 1.
    template <typename P>
    static void Emit(const Lane* o, uint8_t* row, size_t from, size_t to) {
        if (from >= to) return;
        if constexpr (P::kBytes == S) {
            std::memcpy(row + from * S, o + from, (to - from) * S);
        } else {
            for (size_t x = from; x < to; ++x) P::Store(row + x * P::kBytes, o[x]);
        }
    }

    template <typename P>
    static void Blur(TBufferVx& b) {
        constexpr size_t B = P::kBytes;
        const size_t w = size_t(b.width()), h = size_t(b.height());
        if (w == 0 || h == 0) return;
        // Short rows, and 24-bit pixels, are read from whole copies.
        const bool whole = B != S || w < 2 * kReach;
        const size_t stride = kPad + w + 1 + kPad + N;
        // Kept between calls: a fresh block each time would cost page faults. The entries nobody
        // fills feed only lanes whose results are never stored.
        static thread_local std::vector<Lane> scratch;
        if (scratch.size() < (2 * G + 1) * stride) scratch.resize((2 * G + 1) * stride);
        Lane *copy[G], *out[G];
        for (size_t j = 0; j < G; ++j) {
            copy[j] = scratch.data() + j * stride + kPad;
            out[j] = scratch.data() + (G + j) * stride + kPad;
        }
        Lane* const above_copy = scratch.data() + 2 * G * stride + kPad;
        const auto bytes = [](Lane* p) { return reinterpret_cast<uint8_t*>(p); };
        Band band{};
        band.width = w;
        band.ends.above = bytes(above_copy);
        const V keep = Set(kKeep<P>);
        const size_t started = kStarted, inside_end = InsideEnd(w, whole);
        Lane start[G];
        for (size_t y = 0; y < h;) {
            // Lane `rows` lends the row below the band: the next band's first row, or the last row
            // itself at the buffer's bottom.
            const size_t rows = std::min(G - 1, h - y);
            for (size_t j = 0; j < G; ++j) {
                uint8_t* row = j <= rows ? b.row(int32_t(std::min(y + j, h - 1))) : nullptr;
                if (row != nullptr) FillEnds<P>(row, copy[j], whole, w);
                start[j] = row != nullptr ? Lane(P::Load(row)) : 0;
                band.ends.from[j] = bytes(copy[j]);
                band.ends.to[j] = bytes(out[j]);
                band.inside.from[j] = row != nullptr ? row : bytes(copy[j]);
                band.inside.to[j] = j < rows ? row : bytes(out[j]);
            }
            uint8_t* above = b.row(int32_t(y > 0 ? y - 1 : 0));
            FillEnds<P>(above, above_copy, whole, w);
            band.inside.above = above;
            for (size_t r = 0; r < R; ++r) {
                Lane lanes[G / R];
                for (size_t hh = 0; hh < H; ++hh) {
                    for (size_t i = 0; i < N; ++i) lanes[hh * N + i] = start[Row(r, hh, i)];
                }
                band.start[r] = O::Load(reinterpret_cast<const uint8_t*>(lanes));
            }
            Wave(band, whole, keep);
            // Row j went to its working row before step `started` and from step `inside_end` on.
            for (size_t j = 0; j < rows; ++j) {
                uint8_t* row = b.row(int32_t(y + j));
                Emit<P>(out[j], row, 0, std::min(w, started - Skew(j)));
                Emit<P>(out[j], row, std::min(w, inside_end - Skew(j)), w);
            }
            y += rows;
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
