// A decoded picture as the codecs hand it over: 8-bit red, green and blue per pixel, rows from the top,
// and for pictures stored as 8-bit palette indices (or 8-bit grey levels) the stored values as well.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace vxl::platform {

// Pictures above this many pixels are refused before any pixel memory is taken: at 4 bytes per pixel
// that is as much as a surface may hold, and it bounds what a crafted header can make us allocate.
constexpr int64_t kMaxPicturePixels = int64_t(1) << 26;

struct Picture {
    int32_t width = 0;
    int32_t height = 0;
    uint32_t bit_count = 0;        // bits per pixel as stored in the file
    std::vector<uint8_t> rgb;      // width * height * 3 bytes: R, G, B
    std::vector<uint8_t> indices;  // width * height bytes, only for 8-bit palette or grey pictures

    bool Empty() const { return width == 0 && height == 0; }
    bool EightBit() const { return bit_count == 8 && !indices.empty(); }
};

enum class DecodeResult {
    Ok,
    Malformed,  // not a picture of this type, or one whose data is damaged
    TooLarge,   // a sound header whose picture is beyond kMaxPicturePixels (or the caller's limit)
};

using Bytes = std::span<const uint8_t>;

struct PictureSize {
    int32_t width = 0;
    int32_t height = 0;
};

}  // namespace vxl::platform
