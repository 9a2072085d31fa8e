// The vector fast paths, written once over a small set of vector operations (O) and compiled twice:
// with SSE2 (always present on x86-64) and with AVX2 (chosen at run time). Each kernel does whole
// vectors only and answers how many pixels it did; the scalar reference does the rest of the row.
// Everything here has internal linkage, so the AVX2 copy can never stand in for the SSE2 one.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "blend/pixel_math.h"
#include "blend/row_op.h"

namespace vxl::blend {
namespace {

// A row operation on byte vectors: 16 bytes each time for 2- and 4-byte pixels, 3 vectors at a time
// for 3-byte pixels so that a step ends on a pixel boundary.
template <typename O, typename Op>
size_t ByteRun(const RowJob& job, size_t bytes_per_pixel, const Op& op) {
    using V = typename O::V;
    const size_t vectors_per_step = bytes_per_pixel == 3 ? 3 : 1;
    const size_t step = O::kBytes * vectors_per_step;
    const size_t steps = job.n * bytes_per_pixel / step;
    const uint8_t* s = job.src;
    uint8_t* d = job.dst;
    // Unrolled: in place, one vector a pass ran at well under the speed of a plain copy.
#pragma GCC unroll 4
    for (size_t i = 0; i < steps; ++i) {
        for (size_t k = 0; k < vectors_per_step; ++k, s += O::kBytes, d += O::kBytes) {
            const V sv = O::Load(s);
            const V dv = O::Load(d);
            O::Store(d, op(dv, sv, k));
        }
    }
    return steps * step / bytes_per_pixel;
}

// Pixels of 16 or 32 bits, one vector at a time, with the alpha bytes lined up with them. The
// pointers are held in locals: stores through the destination could otherwise alias the job and
// make the compiler reload it on every step.
template <typename O, size_t kPixelBytes, typename Op>
size_t PixelRun(const RowJob& job, const Op& op) {
    constexpr size_t kPixels = O::kBytes / kPixelBytes;
    const size_t steps = job.n / kPixels;
    const uint8_t* s = job.src;
    const uint8_t* a = job.alpha;
    const size_t a_step = a != nullptr ? kPixels : 0;
    uint8_t* d = job.dst;
    uint8_t* const end = d + steps * O::kBytes;
    // Unrolled for the same reason as ByteRun.
    if (s != nullptr) {
#pragma GCC unroll 4
        for (; d != end; d += O::kBytes, s += O::kBytes, a += a_step) {
            O::Store(d, op(O::Load(d), O::Load(s), a));
        }
    } else {
#pragma GCC unroll 4
        for (; d != end; d += O::kBytes, a += a_step) O::Store(d, op(O::Load(d), O::Zero(), a));
    }
    return steps * kPixels;
}

// d + floor((s - d) * a / 256) for every byte, weights a and 256 - a in 16-bit lanes:
// (d * (256 - a) + s * a) >> 8 never exceeds 16 bits.
template <typename O>
typename O::V MixBytes(typename O::V d, typename O::V s, typename O::V w_lo, typename O::V iw_lo, typename O::V w_hi,
                       typename O::V iw_hi) {
    const auto z = O::Zero();
    const auto lo =
        O::template Srli16<8>(O::Add16(O::Mullo16(O::UnpackLo8(d, z), iw_lo), O::Mullo16(O::UnpackLo8(s, z), w_lo)));
    const auto hi =
        O::template Srli16<8>(O::Add16(O::Mullo16(O::UnpackHi8(d, z), iw_hi), O::Mullo16(O::UnpackHi8(s, z), w_hi)));
    return O::PackUs16(lo, hi);
}

// The same for 5- and 6-bit fields of 16-bit pixels with a5 and 32 - a5: blue and green are
// multiplied in place, red shifted down first, since its product would leave the lane.
template <typename O, bool k565>
typename O::V MixFields(typename O::V d, typename O::V s, typename O::V w, typename O::V iw) {
    const auto blue_mask = O::Set16(0x001F);
    const auto green_mask = O::Set16(k565 ? 0x07E0 : 0x03E0);
    const auto b =
        O::template Srli16<5>(O::Add16(O::Mullo16(O::And(d, blue_mask), iw), O::Mullo16(O::And(s, blue_mask), w)));
    const auto g = O::And(
        O::template Srli16<5>(O::Add16(O::Mullo16(O::And(d, green_mask), iw), O::Mullo16(O::And(s, green_mask), w))),
        green_mask);
    typename O::V r;
    if constexpr (k565) {
        r = O::And(O::template Slli16<6>(
                       O::Add16(O::Mullo16(O::template Srli16<11>(d), iw), O::Mullo16(O::template Srli16<11>(s), w))),
                   O::Set16(0xF800));
    } else {
        r = O::And(O::template Slli16<5>(O::Add16(O::Mullo16(O::And(O::template Srli16<10>(d), blue_mask), iw),
                                                  O::Mullo16(O::And(O::template Srli16<10>(s), blue_mask), w))),
                   O::Set16(0x7C00));
    }
    return O::Or(O::Or(r, g), b);
}

// Saturating add or subtract of one 16-bit field: moved to the top of the lane, where the lane's own
// saturation clamps it, and back.
template <typename O, int kShift, uint16_t kMask, bool kAdd>
typename O::V FieldSat(typename O::V d, typename O::V s) {
    const auto top = O::Set16(uint16_t(kMask << kShift));
    const auto dt = O::And(O::template Slli16<kShift>(d), top);
    const auto st = O::And(O::template Slli16<kShift>(s), top);
    const auto t = kAdd ? O::AddSatU16(dt, st) : O::SubSatU16(dt, st);
    return O::And(O::template Srli16<kShift>(t), O::Set16(kMask));
}

template <typename O, bool kAdd, bool k565>
size_t FieldsKernel(const RowJob& job) {
    return PixelRun<O, 2>(job, [](auto d, auto s, const uint8_t*) {
        if constexpr (k565) {
            return O::Or(O::Or(FieldSat<O, 0, 0xF800, kAdd>(d, s), FieldSat<O, 5, 0x07E0, kAdd>(d, s)),
                         FieldSat<O, 11, 0x001F, kAdd>(d, s));
        } else {
            return O::Or(O::Or(FieldSat<O, 1, 0x7C00, kAdd>(d, s), FieldSat<O, 6, 0x03E0, kAdd>(d, s)),
                         FieldSat<O, 11, 0x001F, kAdd>(d, s));
        }
    });
}

template <typename O>
size_t AddBytes(const RowJob& job, size_t bpp) {
    return ByteRun<O>(job, bpp, [](auto d, auto s, size_t) { return O::AddSatU8(d, s); });
}
template <typename O>
size_t SubBytes(const RowJob& job, size_t bpp) {
    return ByteRun<O>(job, bpp, [](auto d, auto s, size_t) { return O::SubSatU8(d, s); });
}
template <typename O>
size_t XorBytes(const RowJob& job, size_t bpp) {
    return ByteRun<O>(job, bpp, [](auto d, auto s, size_t) { return O::Xor(d, s); });
}
template <typename O>
size_t InvertBytes(const RowJob& job, size_t bpp) {
    const auto ones = O::Set32(0xFFFFFFFFu);
    return ByteRun<O>(job, bpp, [ones](auto, auto s, size_t) { return O::Xor(s, ones); });
}

template <typename O, size_t kBpp>
size_t AlphaBytes(const RowJob& job) {
    const auto w = O::Set16(uint16_t(job.opacity)), iw = O::Set16(uint16_t(256 - job.opacity));
    // Byte 3 of a 32-bit pixel comes out 0.
    const auto keep = O::Set32(kBpp == 4 ? 0x00FFFFFFu : 0xFFFFFFFFu);
    return ByteRun<O>(job, kBpp, [&](auto d, auto s, size_t) { return O::And(MixBytes<O>(d, s, w, iw, w, iw), keep); });
}

// 32-bit pixels: the alpha byte of each pixel spread over its four bytes, then widened like them.
template <typename O>
size_t AlphaMap32(const RowJob& job) {
    const auto keep = O::Set32(0x00FFFFFFu), full = O::Set16(256), z = O::Zero();
    return PixelRun<O, 4>(job, [&](auto d, auto s, const uint8_t* alpha) {
        auto a = O::Alpha32(alpha);
        a = O::Or(a, O::template Slli32<8>(a));
        a = O::Or(a, O::template Slli32<16>(a));
        const auto w_lo = O::UnpackLo8(a, z), w_hi = O::UnpackHi8(a, z);
        return O::And(MixBytes<O>(d, s, w_lo, O::Sub16(full, w_lo), w_hi, O::Sub16(full, w_hi)), keep);
    });
}

template <typename O>
size_t AlphaSprite32(const RowJob& job) {
    const auto w = O::Set16(uint16_t(job.opacity)), iw = O::Set16(uint16_t(256 - job.opacity));
    const auto rgb = O::Set32(0x00FFFFFFu), key = O::Set32(job.key & 0x00FFFFFFu);
    return PixelRun<O, 4>(job, [&](auto d, auto s, const uint8_t*) {
        const auto is_key = O::CmpEq32(O::And(s, rgb), key);
        return O::Or(O::And(is_key, d), O::AndNot(is_key, O::And(MixBytes<O>(d, s, w, iw, w, iw), rgb)));
    });
}

template <typename O, bool k565>
size_t Alpha16(const RowJob& job) {
    const auto w = O::Set16(uint16_t(job.opacity >> 3)), iw = O::Set16(uint16_t(32 - (job.opacity >> 3)));
    return PixelRun<O, 2>(job, [&](auto d, auto s, const uint8_t*) { return MixFields<O, k565>(d, s, w, iw); });
}

template <typename O, bool k565>
size_t AlphaMap16(const RowJob& job) {
    const auto full = O::Set16(32);
    return PixelRun<O, 2>(job, [&](auto d, auto s, const uint8_t* alpha) {
        const auto w = O::template Srli16<3>(O::Alpha16(alpha));
        return MixFields<O, k565>(d, s, w, O::Sub16(full, w));
    });
}

template <typename O, bool k565>
size_t AlphaSprite16(const RowJob& job) {
    const auto w = O::Set16(uint16_t(job.opacity >> 3)), iw = O::Set16(uint16_t(32 - (job.opacity >> 3)));
    // A key with bits above the pixel's 16 matches nothing.
    const bool can_match = job.key <= 0xFFFF;
    const auto key = O::Set16(uint16_t(job.key));
    return PixelRun<O, 2>(job, [&](auto d, auto s, const uint8_t*) {
        const auto mixed = MixFields<O, k565>(d, s, w, iw);
        if (!can_match) return mixed;
        const auto is_key = O::CmpEq16(s, key);
        return O::Or(O::And(is_key, d), O::AndNot(is_key, mixed));
    });
}

template <typename O, size_t kBpp>
size_t MaskPixels(const RowJob& job, uint32_t mask) {
    const auto m = kBpp == 2 ? O::Set16(uint16_t(mask)) : O::Set32(mask);
    return PixelRun<O, kBpp>(job, [m](auto, auto s, const uint8_t*) { return O::And(s, m); });
}

// 3-byte pixels keep one byte of three: the mask pattern repeats every 3 vectors.
template <typename O>
size_t MaskPixels24(const RowJob& job, int keep) {
    alignas(32) uint8_t pattern[3 * O::kBytes];
    for (size_t i = 0; i < sizeof pattern; ++i) pattern[i] = i % 3 == size_t(keep) ? 0xFF : 0;
    const typename O::V m[3] = {O::Load(pattern), O::Load(pattern + O::kBytes), O::Load(pattern + 2 * O::kBytes)};
    return ByteRun<O>(job, 3, [&m](auto, auto s, size_t k) { return O::And(s, m[k]); });
}

template <typename O>
size_t AlphaChannel32(const RowJob& job) {
    const auto top = O::Set32(0xFF000000u);
    return PixelRun<O, 4>(job, [top](auto d, auto, const uint8_t* alpha) {
        const auto a = O::Alpha32(alpha);
        const auto grey = O::Or(O::Or(a, O::template Slli32<8>(a)), O::template Slli32<16>(a));
        return O::Or(O::And(d, top), grey);
    });
}

template <typename O, bool k565>
size_t AlphaChannel16(const RowJob& job) {
    return PixelRun<O, 2>(job, [](auto, auto, const uint8_t* alpha) {
        const auto v = O::template Srli16<3>(O::Alpha16(alpha));
        if constexpr (k565) {
            return O::Or(O::Or(O::template Slli16<11>(v), O::template Slli16<6>(v)), v);
        } else {
            return O::Or(O::Or(O::template Slli16<10>(v), O::template Slli16<5>(v)), v);
        }
    });
}

// floor(sum / 3) for sums below 2^15 is the high half of sum * 0x5556 (kThirds in pixel_math.h).
template <typename O>
size_t Greyscale32(const RowJob& job) {
    const auto top = O::Set32(0xFF000000u), thirds = O::Set32(kThirds), ones = O::Set16(1);
    if constexpr (O::kByteShuffle) {
        // Blue + green and red as 16-bit halves by one byte multiply-add, grey placed by one shuffle.
        // Byte 0 of each pixel (its grey) into bytes 0 to 2, zero into byte 3.
        alignas(32) uint32_t pattern[O::kBytes / 4];
        for (size_t i = 0; i < O::kBytes / 4; ++i) pattern[i] = 0x80000000u | uint32_t(i % 4 * 4) * 0x010101u;
        const auto weights = O::Set32(0x00010101), spread = O::Load(reinterpret_cast<const uint8_t*>(pattern));
        return PixelRun<O, 4>(job, [&](auto, auto s, const uint8_t*) {
            const auto g = O::MulhiU16(O::Madd16(O::MaddU8(s, weights), ones), thirds);
            return O::Or(O::ShuffleBytes(g, spread), O::And(s, top));
        });
    } else {
        const auto blue_red = O::Set32(0x00FF00FF), byte = O::Set32(0xFF), spread = O::Set16(0x0101);
        return PixelRun<O, 4>(job, [&](auto, auto s, const uint8_t*) {
            // 16-bit lanes (blue + green, red) summed pairwise into each 32-bit lane.
            const auto pairs = O::Add16(O::And(s, blue_red), O::And(O::template Srli32<8>(s), byte));
            const auto g = O::MulhiU16(O::Madd16(pairs, ones), thirds);
            // g * 0x0101 in the low half, g in the high half: g in bytes 0 to 2.
            return O::Or(O::Or(O::Mullo16(g, spread), O::template Slli32<16>(g)), O::And(s, top));
        });
    }
}

// 24-bit pixels, 4 to each 16-byte half: spread to 32-bit lanes, grey as at 32 bits, packed back.
// A half writes 16 bytes for its 12: the 4 bytes past them are put back as they were in the
// destination, and the next half or step rewrites them, so a step leaves at least two pixels for the
// ones after it.
template <typename O>
size_t Greyscale24(const RowJob& job) {
    constexpr size_t kHalves = O::kBytes / 16, kPixels = 4 * kHalves;
    alignas(32) uint8_t spread_at[O::kBytes], gather_at[O::kBytes], tail_at[O::kBytes];
    for (size_t i = 0; i < O::kBytes; ++i) {
        const size_t b = i % 16;
        spread_at[i] = b % 4 == 3 ? 0x80 : uint8_t(b / 4 * 3 + b % 4);
        gather_at[i] = b < 12 ? uint8_t(b / 3 * 4) : 0x80;
        tail_at[i] = b < 12 ? 0 : 0xFF;
    }
    const auto spread = O::Load(spread_at), gather = O::Load(gather_at), tail = O::Load(tail_at);
    const auto weights = O::Set32(0x00010101), ones = O::Set16(1), thirds = O::Set32(kThirds);
    size_t done = 0;
    for (; done + kPixels + 2 <= job.n; done += kPixels) {
        const uint8_t* from[kHalves];
        const uint8_t* old[kHalves];
        uint8_t* to[kHalves];
        for (size_t h = 0; h < kHalves; ++h) {
            from[h] = job.src + (done + 4 * h) * 3;
            old[h] = to[h] = job.dst + (done + 4 * h) * 3;
        }
        const auto px = O::ShuffleBytes(O::LoadHalves(from), spread);
        const auto g = O::MulhiU16(O::Madd16(O::MaddU8(px, weights), ones), thirds);
        const auto kept = O::And(O::LoadHalves(old), tail);
        O::StoreHalves(to, O::Or(O::ShuffleBytes(g, gather), kept));
    }
    return done;
}

// Only where byte shuffles are.
template <typename O>
constexpr FastRowFn Greyscale24Kernel() {
    if constexpr (O::kByteShuffle) {
        return Greyscale24<O>;
    } else {
        return nullptr;
    }
}

template <typename O, bool k565>
size_t Greyscale16(const RowJob& job) {
    const auto five = O::Set16(31), thirds = O::Set16(kThirds);
    // g placed in all three fields by one multiply: 16 bits double it for the 6-bit green.
    const auto spread = O::Opaque(O::Set16(k565 ? 0x0841 : 0x0421));
    constexpr int kRed = k565 ? 11 : 10, kGreen = k565 ? 6 : 5;
    return PixelRun<O, 2>(job, [&](auto, auto s, const uint8_t*) {
        const auto red = k565 ? O::template Srli16<kRed>(s) : O::And(O::template Srli16<kRed>(s), five);
        const auto sum = O::Add16(O::Add16(red, O::And(O::template Srli16<kGreen>(s), five)), O::And(s, five));
        return O::Mullo16(O::MulhiU16(sum, thirds), spread);
    });
}

template <typename O>
struct Kernels {
    static size_t Add555(const RowJob& j) { return FieldsKernel<O, true, false>(j); }
    static size_t Add565(const RowJob& j) { return FieldsKernel<O, true, true>(j); }
    static size_t Add24(const RowJob& j) { return AddBytes<O>(j, 3); }
    static size_t Add32(const RowJob& j) { return AddBytes<O>(j, 4); }
    static size_t Sub555(const RowJob& j) { return FieldsKernel<O, false, false>(j); }
    static size_t Sub565(const RowJob& j) { return FieldsKernel<O, false, true>(j); }
    static size_t Sub24(const RowJob& j) { return SubBytes<O>(j, 3); }
    static size_t Sub32(const RowJob& j) { return SubBytes<O>(j, 4); }
    static size_t Xor16(const RowJob& j) { return XorBytes<O>(j, 2); }
    static size_t Xor24(const RowJob& j) { return XorBytes<O>(j, 3); }
    static size_t Xor32(const RowJob& j) { return XorBytes<O>(j, 4); }
    static size_t Negative16(const RowJob& j) { return InvertBytes<O>(j, 2); }
    static size_t Negative24(const RowJob& j) { return InvertBytes<O>(j, 3); }
    static size_t Negative32(const RowJob& j) { return InvertBytes<O>(j, 4); }
    static size_t Alpha555(const RowJob& j) { return Alpha16<O, false>(j); }
    static size_t Alpha565(const RowJob& j) { return Alpha16<O, true>(j); }
    static size_t Alpha24(const RowJob& j) { return AlphaBytes<O, 3>(j); }
    static size_t Alpha32(const RowJob& j) { return AlphaBytes<O, 4>(j); }
    static size_t AlphaMap555(const RowJob& j) { return AlphaMap16<O, false>(j); }
    static size_t AlphaMap565(const RowJob& j) { return AlphaMap16<O, true>(j); }
    static size_t AlphaMap32(const RowJob& j) { return blend::AlphaMap32<O>(j); }
    static size_t AlphaSprite555(const RowJob& j) { return AlphaSprite16<O, false>(j); }
    static size_t AlphaSprite565(const RowJob& j) { return AlphaSprite16<O, true>(j); }
    static size_t AlphaSprite32(const RowJob& j) { return blend::AlphaSprite32<O>(j); }
    static size_t Red555(const RowJob& j) { return MaskPixels<O, 2>(j, 0x7C00); }
    static size_t Green555(const RowJob& j) { return MaskPixels<O, 2>(j, 0x03E0); }
    static size_t Red565(const RowJob& j) { return MaskPixels<O, 2>(j, 0xF800); }
    static size_t Green565(const RowJob& j) { return MaskPixels<O, 2>(j, 0x07E0); }
    static size_t Blue16(const RowJob& j) { return MaskPixels<O, 2>(j, 0x001F); }
    static size_t Red24(const RowJob& j) { return MaskPixels24<O>(j, 2); }
    static size_t Green24(const RowJob& j) { return MaskPixels24<O>(j, 1); }
    static size_t Blue24(const RowJob& j) { return MaskPixels24<O>(j, 0); }
    static size_t Red32(const RowJob& j) { return MaskPixels<O, 4>(j, 0x00FF0000); }
    static size_t Green32(const RowJob& j) { return MaskPixels<O, 4>(j, 0x0000FF00); }
    static size_t Blue32(const RowJob& j) { return MaskPixels<O, 4>(j, 0x000000FF); }
    static size_t AlphaChannel555(const RowJob& j) { return AlphaChannel16<O, false>(j); }
    static size_t AlphaChannel565(const RowJob& j) { return AlphaChannel16<O, true>(j); }
    static size_t AlphaChannel32(const RowJob& j) { return blend::AlphaChannel32<O>(j); }
    static size_t Greyscale555(const RowJob& j) { return Greyscale16<O, false>(j); }
    static size_t Greyscale565(const RowJob& j) { return Greyscale16<O, true>(j); }
    static size_t Greyscale32(const RowJob& j) { return blend::Greyscale32<O>(j); }
};

// The table: one kernel per (operation, layout) or none.
template <typename O>
FastRowFn KernelFor(RowKind kind, TPixelLayout layout) {
    using K = Kernels<O>;
    const int at = layout == TPixelLayout::Rgb555   ? 0
                   : layout == TPixelLayout::Rgb565 ? 1
                   : layout == TPixelLayout::Bgr24  ? 2
                   : layout == TPixelLayout::Xrgb32 ? 3
                                                    : -1;
    if (at < 0) return nullptr;
    struct Row {
        FastRowFn by_layout[4];
    };
    static constexpr Row kTable[kRowKinds] = {
        {{K::Add555, K::Add565, K::Add24, K::Add32}},
        {{K::Sub555, K::Sub565, K::Sub24, K::Sub32}},
        {{K::Xor16, K::Xor16, K::Xor24, K::Xor32}},
        {{K::Alpha555, K::Alpha565, K::Alpha24, K::Alpha32}},
        {{K::AlphaMap555, K::AlphaMap565, nullptr, K::AlphaMap32}},
        {{K::AlphaSprite555, K::AlphaSprite565, nullptr, K::AlphaSprite32}},
        {{K::Red555, K::Red565, K::Red24, K::Red32}},
        {{K::Green555, K::Green565, K::Green24, K::Green32}},
        {{K::Blue16, K::Blue16, K::Blue24, K::Blue32}},
        {{K::AlphaChannel555, K::AlphaChannel565, nullptr, K::AlphaChannel32}},
        {{K::Negative16, K::Negative16, K::Negative24, K::Negative32}},
        {{K::Greyscale555, K::Greyscale565, Greyscale24Kernel<O>(), K::Greyscale32}},
    };
    return kTable[int(kind)].by_layout[at];
}

}  // namespace
}  // namespace vxl::blend
