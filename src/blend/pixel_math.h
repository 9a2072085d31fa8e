// Per-pixel arithmetic of the blends on stored values: saturating adds and subtracts within each
// channel's bit field, and the packed-register alpha mix. The scalar references are built from these.
#pragma once

#include <cstdint>

namespace vxl::blend {

// floor(sum / 3) for every sum below 2^15 (grey from three channels sums to at most 765) is
// (sum * kThirds) >> 16: a multiply and a shift instead of a division.
inline constexpr uint32_t kThirds = 0x5556;
// Also for a register of 32-bit sums.
template <typename T>
inline T Third(T sum) {
    return (sum * kThirds) >> 16;
}

// Channel masks of the 16-bit layouts and the bit just above each field.
struct Fields16 {
    uint32_t mask[3];
    uint32_t carry[3];
};
inline constexpr Fields16 kFields555 = {{0x7C00, 0x03E0, 0x001F}, {0x8000, 0x0400, 0x0020}};
inline constexpr Fields16 kFields565 = {{0xF800, 0x07E0, 0x001F}, {0x10000, 0x0800, 0x0020}};

// A carry out of a field clamps it to all ones.
inline uint32_t AddFields(const Fields16& f, uint32_t d, uint32_t s) {
    uint32_t out = 0;
    for (int c = 0; c < 3; ++c) {
        const uint32_t t = (d & f.mask[c]) + (s & f.mask[c]);
        out |= (t & f.carry[c]) ? f.mask[c] : t;
    }
    return out;
}

// A borrow clamps the field to zero.
inline uint32_t SubFields(const Fields16& f, uint32_t d, uint32_t s) {
    uint32_t out = 0;
    for (int c = 0; c < 3; ++c) {
        const uint32_t dm = d & f.mask[c], sm = s & f.mask[c];
        out |= dm < sm ? 0 : dm - sm;
    }
    return out;
}

inline uint8_t AddByte(uint8_t d, uint8_t s) {
    const uint32_t t = uint32_t(d) + s;
    return uint8_t(t > 255 ? 255 : t);
}
inline uint8_t SubByte(uint8_t d, uint8_t s) {
    return uint8_t(d < s ? 0 : d - s);
}

// The three channels of a 16-bit pixel spread over one 32-bit register with green moved to the top
// half, so that the gaps between fields absorb the borrows and the weighted products: one multiply
// mixes all three. Result channel: d + floor((s - d) * a5 / 32).
template <uint32_t kSpread>
inline uint32_t MixSpread(uint32_t s, uint32_t d, uint32_t a5) {
    const uint32_t S = (s | s << 16) & kSpread, D = (d | d << 16) & kSpread;
    const uint32_t R = ((((S - D) * a5) >> 5) + D) & kSpread;
    return (R | R >> 16) & 0xFFFF;
}
inline uint32_t Mix555(uint32_t s, uint32_t d, uint32_t a5) {
    return MixSpread<0x03E07C1F>(s, d, a5);
}
inline uint32_t Mix565(uint32_t s, uint32_t d, uint32_t a5) {
    return MixSpread<0x07E0F81F>(s, d, a5);
}

// Red and blue in one register, green in another; byte 3 comes out 0. Per channel:
// d + floor((s - d) * a / 256).
inline uint32_t Mix888(uint32_t s, uint32_t d, uint32_t a) {
    const uint32_t rb = ((((s & 0x00FF00FF) - (d & 0x00FF00FF)) * a >> 8) + (d & 0x00FF00FF)) & 0x00FF00FF;
    const uint32_t g = ((((s & 0x0000FF00) - (d & 0x0000FF00)) * a >> 8) + (d & 0x0000FF00)) & 0x0000FF00;
    return rb | g;
}

}  // namespace vxl::blend
