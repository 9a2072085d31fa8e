// Integer arithmetic on values that come from the host. Positions and sizes may be anything a 32-bit
// argument can hold, so sums and differences are formed in 64 bits and clamped back to 32.
#pragma once

#include <cstdint>
#include <limits>

namespace vxl::platform {

constexpr int32_t ClampToInt32(int64_t value) {
    constexpr int64_t lo = std::numeric_limits<int32_t>::min();
    constexpr int64_t hi = std::numeric_limits<int32_t>::max();
    return int32_t(value < lo ? lo : value > hi ? hi : value);
}

constexpr int32_t SaturatingAdd(int32_t a, int32_t b) {
    return ClampToInt32(int64_t(a) + b);
}

constexpr int32_t SaturatingSub(int32_t a, int32_t b) {
    return ClampToInt32(int64_t(a) - b);
}

}  // namespace vxl::platform
