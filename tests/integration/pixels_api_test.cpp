// Buffers through the C API of the built library, at 32 bits on a windowed display (the dummy
// desktop's depth) and at 15, 16 and 24 bits full screen. What every drawing, copy, polygon, blend and
// effect export draws through this API, and into which buffer, is checked picture by picture by the
// reference's pictures test.
#include <cstring>

#include "sdl_window_fixture.h"

namespace {

class PixelsApi : public SdlWindowTest, public ::testing::WithParamInterface<int> {
};

// Every depth, with a ragged size and a single long row: the stored bytes behind the pointer are the
// packed colours, row after row without padding.
TEST_P(PixelsApi, PutGetAndPointerAgree) {
    const int bpp = GetParam();
    const size_t bytes = bpp == 32 ? 4 : bpp == 24 ? 3 : 2;
    OpenAtDepth(bpp);
    for (auto [w, h] : {std::pair{7, 3}, {1000, 1}}) {
        const int32_t buffer = SetupBuffer(w, h, 0);
        const auto* base = static_cast<const uint8_t*>(BufferPointer(buffer));
        ASSERT_NE(base, nullptr);
        EXPECT_EQ(std::pair(BufferSizeX(buffer), BufferSizeY(buffer)), std::pair(w, h));
        // A colour that differs between neighbours and between rows.
        auto pattern = [](int x, int y) { return RGB(x * 7 + 1, y * 13 + x, x ^ (y * 3) ^ 1); };
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) PutPixel(buffer, x, y, pattern(x, y));
        int wrong = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                uint32_t stored = 0;
                std::memcpy(&stored, base + (size_t(y) * w + x) * bytes, bytes);
                wrong += stored != pattern(x, y) || GetPixel(buffer, x, y) != pattern(x, y);
            }
        EXPECT_EQ(wrong, 0) << w << "x" << h;
    }
}

INSTANTIATE_TEST_SUITE_P(Depths, PixelsApi, ::testing::Values(15, 16, 24, 32),
                         [](const auto& depth) { return std::to_string(depth.param) + "bit"; });

}  // namespace
