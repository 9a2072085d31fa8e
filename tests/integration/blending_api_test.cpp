// Blends and effects through the C API of the built library at every depth: 32 bits windowed, 15, 16
// and 24 bits full screen on the dummy driver.
#include "sdl_window_fixture.h"

namespace {

class BlendingApi : public SdlWindowTest, public ::testing::WithParamInterface<int> {
protected:
    void Open() {
        const int bpp = GetParam();
        InitVexel(id_, 640, 480, bpp == 32 ? 0 : bpp, bpp != 32);
        ASSERT_EQ(GlobalBpp(), bpp);
    }
    static int32_t Solid(int32_t w, int32_t h, uint32_t colour) {
        const int32_t b = SetupBuffer(w, h, 0);
        Fill(b, colour);
        return b;
    }
};

TEST_P(BlendingApi, BlendsAndEffectsOnRealBuffers) {
    Open();
    const uint32_t white = RGB(255, 255, 255), red = RGB(255, 0, 0), blue = RGB(0, 0, 255);
    const int32_t sprite = Solid(40, 30, blue), canvas = Solid(64, 48, red);

    CopyAlpha(sprite, canvas, 10, 10, 255);  // almost the source: blue up, red down to nothing
    uint8_t r = 0, g = 0, b = 0;
    unRGB(GetPixel(canvas, 20, 20), &r, &g, &b);
    EXPECT_EQ(r, 0);
    EXPECT_GT(b, 200);
    EXPECT_EQ(GetPixel(canvas, 5, 5), red);

    CopyAdd(sprite, canvas, -30, -20);  // red + blue in the top-left corner only
    EXPECT_EQ(GetPixel(canvas, 0, 0), RGB(255, 0, 255));
    EXPECT_EQ(GetPixel(canvas, 50, 5), red);

    const int32_t copy = Solid(64, 48, 0);
    CopyBuffer(canvas, copy, 0, 0);
    Negative(canvas);
    EXPECT_NE(GetPixel(canvas, 5, 5), red);
    Negative(canvas);
    CopyXor(copy, canvas, 0, 0);
    for (auto [x, y] : {std::pair{0, 0}, {63, 47}, {20, 20}}) EXPECT_EQ(GetPixel(canvas, x, y), 0u);

    Fill(canvas, white);
    CopyGreenChannel(canvas, copy, 0, 0);
    EXPECT_EQ(GetPixel(copy, 63, 47), RGB(0, 255, 0));
    Greyscale(copy);
    // The in-place filter averages stored fields: 16-bit green counts with its top five bits.
    EXPECT_EQ(GetPixel(copy, 0, 0), GetParam() == 16 ? 10u << 11 | 20u << 5 | 10u : RGB(85, 85, 85));
    CopyGreyscale(sprite, canvas, 60, 40);  // blue's grey, clipped to the corner
    EXPECT_EQ(GetPixel(canvas, 63, 47), RGB(85, 85, 85));
    EXPECT_EQ(GetPixel(canvas, 59, 47), white);

    // Hostile handles and placements are ignored.
    CopyAlphaSprite(-1, canvas, 0, 0, 128, 0);
    CopyBlur(sprite, 12345, 0, 0);
    CopyAlphaMap(sprite, canvas, INT32_MIN, INT32_MAX);
    Blur2x(-7);
    EXPECT_EQ(GetPixel(canvas, 0, 0), white);
}

INSTANTIATE_TEST_SUITE_P(Depths, BlendingApi, ::testing::Values(15, 16, 24, 32),
                         [](const auto& depth) { return std::to_string(depth.param) + "bit"; });

}  // namespace
