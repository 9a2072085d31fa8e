// Copies through the C API of the built library, windowed at 32 bits and full screen at 16: a sprite
// over a background, then a stretched copy of the result.
#include "sdl_window_fixture.h"

namespace {

class CopiesApi : public SdlWindowTest, public ::testing::WithParamInterface<int> {};

TEST_P(CopiesApi, SpriteOverBackgroundThenStretched) {
    const int bpp = GetParam();
    InitVexel(id_, 640, 480, bpp == 32 ? 0 : bpp, bpp != 32);
    ASSERT_EQ(GlobalBpp(), bpp);
    const uint32_t key = RGB(255, 0, 255), red = RGB(255, 0, 0), blue = RGB(0, 0, 255);
    const int32_t sprite = SetupBuffer(4, 4, 0), scene = SetupBuffer(8, 8, 0), big = SetupBuffer(16, 16, 0);
    Fill(sprite, key);
    PutPixel(sprite, 1, 1, red);
    PutPixel(sprite, 2, 2, red);
    Fill(scene, blue);
    CopySprite(sprite, scene, 2, 2, key);
    int reds = 0, blues = 0;
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
            reds += GetPixel(scene, x, y) == red;
            blues += GetPixel(scene, x, y) == blue;
        }
    EXPECT_EQ(reds, 2);
    EXPECT_EQ(blues, 62);
    EXPECT_EQ(GetPixel(scene, 3, 3), red);
    EXPECT_EQ(GetPixel(scene, 4, 4), red);

    CopyScale(scene, big, 0, 0, 16, 16);
    for (auto [x, y] : {std::pair{6, 6}, {7, 7}, {8, 8}, {9, 9}}) EXPECT_EQ(GetPixel(big, x, y), red) << x;
    EXPECT_EQ(GetPixel(big, 5, 5), blue);
    EXPECT_EQ(GetPixel(big, 10, 10), blue);
    CopyBit(big, scene, 6, 6, 9, 9, 0, 0);
    EXPECT_EQ(GetPixel(scene, 0, 0), red);
    EXPECT_EQ(GetPixel(scene, 3, 3), red);
    EXPECT_EQ(GetPixel(scene, 0, 3), blue);
}

INSTANTIATE_TEST_SUITE_P(Depths, CopiesApi, ::testing::Values(32, 16));

}  // namespace
