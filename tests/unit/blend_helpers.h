// Buffers of given raw pixels and their pixels read back, for the blend and effect tests.
#pragma once

#include <cstdint>
#include <random>
#include <vector>

#include "picture.h"

namespace vxl::testing {

// A w x h buffer holding `pixels` (row by row, raw stored values), in system or video memory.
inline int32_t BufferOf(int32_t w, int32_t h, const std::vector<uint32_t>& pixels, bool video = false) {
    const int32_t handle = SetupBuffer(w, h, video ? 1 : 0);
    for (int32_t i = 0; i < w * h; ++i) PutPixel(handle, i % w, i / w, pixels[size_t(i)]);
    return handle;
}

inline int32_t Solid(int32_t w, int32_t h, uint32_t value, bool video = false) {
    return BufferOf(w, h, std::vector<uint32_t>(size_t(w) * size_t(h), value), video);
}

// Random stored values of a layout; at 15 bits bit 15 is set now and then, as a host may write it.
inline std::vector<uint32_t> RandomPixels(std::mt19937& rng, size_t count, uint32_t depth) {
    std::vector<uint32_t> out(count);
    for (auto& p : out) p = rng() & (depth == 32 ? 0xFFFFFFFFu : depth == 24 ? 0xFFFFFFu : 0xFFFFu);
    return out;
}

// Gives the buffer an alpha plane (as loading an alpha picture would) of random bytes.
inline void FillAlpha(int32_t handle, std::mt19937& rng) {
    TheLibrary().handles.Find(handle)->CreateAlphaPlane();
    for (int32_t y = 0; y < BufferSizeY(handle); ++y)
        for (int32_t x = 0; x < BufferSizeX(handle); ++x) PutAlphaPixel(handle, x, y, int32_t(rng() & 0xFF));
}

}  // namespace vxl::testing
