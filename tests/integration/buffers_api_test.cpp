// Buffers through the C API at every pixel depth: 32 bits on a windowed display (the dummy desktop's
// depth), 15, 16 and 24 bits on a full-screen 640x480 display.
#include <cstring>
#include <tuple>

#include "sdl_window_fixture.h"

namespace {

// Every depth, each with a pixel-perfect size, a ragged one, a screenful and a single long row.
class BufferPixels : public SdlWindowTest,
                     public ::testing::WithParamInterface<std::tuple<int, std::pair<int, int>>> {};

TEST_P(BufferPixels, PutGetAndPointerAgree) {
    const auto [bpp, size] = GetParam();
    const auto [w, h] = size;
    const size_t bytes = bpp == 32 ? 4 : bpp == 24 ? 3 : 2;
    InitVexel(id_, 640, 480, bpp == 32 ? 0 : bpp, bpp != 32);
    ASSERT_EQ(GlobalBpp(), bpp);
    const int32_t buffer = SetupBuffer(w, h, 0);
    const auto* base = static_cast<const uint8_t*>(BufferPointer(buffer));
    ASSERT_NE(base, nullptr);
    EXPECT_EQ(BufferSizeX(buffer), w);
    EXPECT_EQ(BufferSizeY(buffer), h);

    // A colour that differs between neighbours and between rows.
    auto pattern = [](int x, int y) { return RGB(x * 7 + 1, y * 13 + x, x ^ (y * 3) ^ 1); };
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) PutPixel(buffer, x, y, pattern(x, y));
    int wrong_read = 0, wrong_stored = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint32_t stored = 0;
            std::memcpy(&stored, base + (size_t(y) * w + x) * bytes, bytes);
            wrong_read += GetPixel(buffer, x, y) != pattern(x, y);
            wrong_stored += stored != pattern(x, y);
        }
    EXPECT_EQ(wrong_read, 0);
    EXPECT_EQ(wrong_stored, 0);

    Fill(buffer, RGB(200, 100, 50));
    EXPECT_EQ(GetPixel(buffer, w - 1, h - 1), RGB(200, 100, 50));
    CloseBuffer(buffer);
    EXPECT_EQ(BufferPointer(buffer), nullptr);
}

std::string SizeName(const ::testing::TestParamInfo<BufferPixels::ParamType>& info) {
    const auto& [bpp, size] = info.param;
    return std::to_string(bpp) + "bit_" + std::to_string(size.first) + "x" + std::to_string(size.second);
}

INSTANTIATE_TEST_SUITE_P(DepthsAndSizes, BufferPixels,
                         ::testing::Combine(::testing::Values(15, 16, 24, 32),
                                            ::testing::Values(std::pair{1, 1}, std::pair{7, 3}, std::pair{640, 480},
                                                              std::pair{1000, 1})),
                         SizeName);

}  // namespace
