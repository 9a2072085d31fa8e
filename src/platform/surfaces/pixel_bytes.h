// One pixel of 1 to 4 bytes in surface memory, little-endian, as the blitter's per-pixel paths move it.
#pragma once

#include <cstdint>
#include <cstring>

namespace vxl::platform {

inline uint32_t LoadPixel(const uint8_t* p, uint32_t bpp) {
    switch (bpp) {
        case 1:
            return p[0];
        case 2: {
            uint16_t v;
            std::memcpy(&v, p, 2);
            return v;
        }
        case 3:
            return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16;
        default: {
            uint32_t v;
            std::memcpy(&v, p, 4);
            return v;
        }
    }
}

inline void StorePixel(uint8_t* p, uint32_t bpp, uint32_t c) {
    switch (bpp) {
        case 1:
            p[0] = uint8_t(c);
            break;
        case 2: {
            const uint16_t v = uint16_t(c);
            std::memcpy(p, &v, 2);
            break;
        }
        case 3:
            p[0] = uint8_t(c);
            p[1] = uint8_t(c >> 8);
            p[2] = uint8_t(c >> 16);
            break;
        default:
            std::memcpy(p, &c, 4);
            break;
    }
}

// Whether a source pixel is transparent under a key range: its value, masked, lies in [lo, hi].
inline bool IsKey(uint32_t c, uint32_t lo, uint32_t hi, uint32_t mask) {
    const uint32_t k = c & mask;
    return k >= lo && k <= hi;
}

}  // namespace vxl::platform
