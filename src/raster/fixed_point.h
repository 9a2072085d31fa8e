// Number conversions of the polygon fills: 16.16 fixed point, Ceil and Trunc of host floats. Host
// coordinates can be anything a float holds, so every conversion to an integer saturates instead of
// overflowing; NaN becomes 0.
#pragma once

#include <cstdint>
#include <limits>

namespace vxl {

inline int32_t Trunc(double f) {
    if (!(f == f)) return 0;
    if (f >= 2147483647.0) return std::numeric_limits<int32_t>::max();
    if (f <= -2147483648.0) return std::numeric_limits<int32_t>::min();
    return int32_t(f);
}

// The smallest integer not below f: the truncated value, plus one when a positive fraction remains.
inline int32_t Ceil(double f) {
    const int32_t t = Trunc(f);
    return f - double(t) > 0.0 && t != std::numeric_limits<int32_t>::max() ? t + 1 : t;
}

// The integer part of a 16.16 value, truncating toward zero on both sides.
inline int32_t IntPart(int32_t v) {
    return (v < 0 ? v + 65535 : v) >> 16;
}

// A double rounded to a float, finite values beyond the float range becoming the largest float.
inline float ToFloat(double d) {
    constexpr double kMax = std::numeric_limits<float>::max();
    return d > kMax    ? (d == std::numeric_limits<double>::infinity() ? float(d) : float(kMax))
           : d < -kMax ? (d == -std::numeric_limits<double>::infinity() ? float(d) : -float(kMax))
                       : float(d);
}

// Wrapping 32-bit arithmetic of the 16.16 accumulators, which the host's values may push past the range.
inline int32_t WrapAdd(int32_t a, int32_t b) {
    return int32_t(uint32_t(a) + uint32_t(b));
}
inline int32_t WrapMul(int32_t a, int64_t n) {
    return int32_t(uint32_t(a) * uint32_t(uint64_t(n)));
}

// One step across a row of a polygon: the 16.16 difference over n pixels, truncated toward zero (0 for
// n = 0). A 32-bit division when the difference fits, which it does for any sane polygon.
inline int32_t RowStep(int32_t from, int32_t to, int32_t n) {
    if (n == 0) return 0;
    const int64_t d = int64_t(to) - int64_t(from);
    if (d == int32_t(d)) return int32_t(d) / n;
    return int32_t(uint32_t(uint64_t(d / n)));
}

}  // namespace vxl
