// What the drawing tests look at: small pictures of a buffer (one string per row, '#' where a pixel
// is not the background, 0 unless given), its pixels and stored bytes, and the buffers, vertices and
// processor paths they draw with.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "fake_fixture.h"

namespace vxl::testing {

using Rows = std::vector<std::string>;

inline Rows Picture(int32_t handle, uint32_t background = 0) {
    Rows rows;
    for (int32_t y = 0; y < BufferSizeY(handle); ++y) {
        std::string row;
        for (int32_t x = 0; x < BufferSizeX(handle); ++x) row += GetPixel(handle, x, y) != background ? '#' : '.';
        rows.push_back(row);
    }
    return rows;
}

// A filled shape's picture from its outline's: each row covered from its first pixel to its last.
inline Rows Filled(Rows outline) {
    for (std::string& row : outline) {
        if (row.find('#') != std::string::npos)
            std::fill(row.begin() + row.find('#'), row.begin() + row.rfind('#'), '#');
    }
    return outline;
}

inline std::vector<uint32_t> PixelsOf(int32_t handle) {
    std::vector<uint32_t> out;
    for (int32_t y = 0; y < BufferSizeY(handle); ++y)
        for (int32_t x = 0; x < BufferSizeX(handle); ++x) out.push_back(GetPixel(handle, x, y));
    return out;
}

// Every stored byte of the buffer, row padding included.
inline std::vector<uint8_t> Bytes(int32_t handle) {
    const TBufferVx* b = TheLibrary().handles.Find(handle);
    return {b->pixels(), b->pixels() + size_t(b->pitch()) * size_t(b->height())};
}

// A buffer whose pixel (x, y) holds the raw value Numbered(x, y): unique, never 0, within 15 bits.
inline uint32_t Numbered(int32_t x, int32_t y) {
    return uint32_t(y * 64 + x + 1);
}
inline int32_t NumberedBuffer(int32_t w, int32_t h) {
    const int32_t b = SetupBuffer(w, h, 0);
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x) PutPixel(b, x, y, Numbered(x, y));
    return b;
}

// The processor paths fast paths are compared on: none (the reference), SSE2, and AVX2 where the
// machine has it. FakeTest puts the machine's own back after each test.
inline std::vector<platform::CpuFeatures> CpuPaths() {
    std::vector<platform::CpuFeatures> paths = {{false, false}, {true, false}};
    if (__builtin_cpu_supports("avx2")) paths.push_back({true, true});
    return paths;
}

inline TPolyVertex V(float x, float y, uint32_t colour = 0, float u = 0, float v = 0) {
    return TPolyVertex{x, y, 0, u, v, {0, 0}, colour};
}

// A windowed display and a W x H buffer `h_` to draw in.
template <int32_t W, int32_t H>
class PictureTest : public FakeTest {
protected:
    void SetUp() override {
        FakeTest::SetUp();
        OpenWindowed();
        h_ = SetupBuffer(W, H, 0);
    }
    int32_t h_ = 0;
};

}  // namespace vxl::testing
