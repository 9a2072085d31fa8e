// Polygons and rotated copies through the C API, at 32 bits windowed and 16 bits full screen.
#include <vector>

#include "sdl_window_fixture.h"

namespace {

class PolygonsApi : public SdlWindowTest, public ::testing::WithParamInterface<int> {};

TPolyVertex At(float x, float y, float u, float v, uint32_t colour) {
    TPolyVertex p{};
    p.x = x, p.y = y, p.u = u, p.v = v, p.colour = colour;
    return p;
}

TEST_P(PolygonsApi, ShadedTexturedAndRotatedPixelsLandWhereExpected) {
    const int bpp = GetParam();
    InitVexel(id_, 640, 480, bpp == 32 ? 0 : bpp, bpp != 32);
    ASSERT_EQ(GlobalBpp(), bpp);
    const int32_t dst = SetupBuffer(64, 64, 0), tex = SetupBuffer(8, 8, 0);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) PutPixel(tex, x, y, RGB(x * 32, y * 32, 255));

    const uint32_t red = RGB(255, 0, 0), blue = RGB(0, 0, 255);
    const TPolyVertex quad[4] = {At(0, 0, 0, 0, red), At(20, 0, 8, 0, red), At(20, 20, 8, 8, blue),
                                 At(0, 20, 0, 8, blue)};
    GouraudPoly(dst, quad, 3, 4);
    EXPECT_EQ(GetPixel(dst, 10, 0), red);
    EXPECT_EQ(GetPixel(dst, 10, 10), RGB(127, 0, 127));
    EXPECT_EQ(GetPixel(dst, 10, 20), 0u);

    ShadedRect(dst, 30, 0, 40, 10, red, red, blue, blue);
    EXPECT_EQ(GetPixel(dst, 35, 0), red);
    const uint32_t shaded = GetPixel(dst, 1, 18);
    FlatPoly(dst, quad, 3, 3, RGB(0, 255, 0));  // the triangle of the first three vertices
    EXPECT_EQ(GetPixel(dst, 19, 18), RGB(0, 255, 0));
    EXPECT_EQ(GetPixel(dst, 1, 18), shaded);
    EXPECT_EQ(GetPixel(dst, 35, 0), red);

    Fill(dst, 0);
    TexturePoly(dst, tex, quad, 3, 4);
    EXPECT_EQ(GetPixel(dst, 0, 0), RGB(0, 0, 255));
    EXPECT_EQ(GetPixel(dst, 19, 19), RGB(7 * 32, 7 * 32, 255));
    KeyTexturePoly(dst, tex, quad, 3, 4, RGB(0, 0, 255));

    Fill(dst, 0);
    CopyRotate(tex, dst, 32, 32, 2.0f, 0.0f);
    EXPECT_EQ(GetPixel(dst, 24, 24), RGB(0, 0, 255));
    EXPECT_EQ(GetPixel(dst, 39, 39), RGB(7 * 32, 7 * 32, 255));
    EXPECT_EQ(GetPixel(dst, 23, 23), 0u);
    CopyRotateSprite(tex, dst, 32, 32, 1.0f, 45.0f, RGB(0, 0, 255));
    CloseBuffer(tex);
    CopyRotate(tex, dst, 32, 32, 1.0f, 0.0f);  // a closed source is ignored
}

INSTANTIATE_TEST_SUITE_P(Depths, PolygonsApi, ::testing::Values(32, 16));

}  // namespace
