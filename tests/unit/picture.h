// Small pictures of a buffer for drawing tests: one string per row, '#' where a pixel is not 0.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "vxl.h"

namespace vxl::testing {

inline std::vector<std::string> Picture(int32_t handle) {
    const int32_t w = BufferSizeX(handle), h = BufferSizeY(handle);
    std::vector<std::string> rows;
    for (int32_t y = 0; y < h; ++y) {
        std::string row;
        for (int32_t x = 0; x < w; ++x) row += GetPixel(handle, x, y) != 0 ? '#' : '.';
        rows.push_back(row);
    }
    return rows;
}

// The bytes of pixel (x, y) of a packed buffer.
inline std::vector<uint8_t> PixelBytes(int32_t handle, int32_t x, int32_t y, uint32_t bytes_per_pixel) {
    const auto* p = static_cast<const uint8_t*>(BufferPointer(handle)) +
                    (size_t(y) * size_t(BufferSizeX(handle)) + size_t(x)) * bytes_per_pixel;
    return {p, p + bytes_per_pixel};
}

}  // namespace vxl::testing
