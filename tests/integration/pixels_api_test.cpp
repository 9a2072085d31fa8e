// The pixel exports through the C API of the built library, at 32 bits on a windowed display (the
// dummy desktop's depth) and at 15, 16 and 24 bits full screen: buffers, drawing, copies, polygons
// and rotated copies, blends and effects, each reaching the buffer its handle names.
#include <cstring>
#include <vector>

#include "sdl_window_fixture.h"

namespace {

class PixelsApi : public SdlWindowTest, public ::testing::WithParamInterface<int> {
protected:
    static int32_t Solid(int32_t w, int32_t h, uint32_t colour) {
        const int32_t b = SetupBuffer(w, h, 0);
        Fill(b, colour);
        return b;
    }
};
using DrawingApi = PixelsApi;
using CopiesApi = PixelsApi;
using PolygonsApi = PixelsApi;
using BlendingApi = PixelsApi;

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

TEST_P(DrawingApi, EveryPrimitiveDrawsIntoItsBuffer) {
    const int bpp = GetParam();
    OpenAtDepth(bpp);
    const int32_t b = SetupBuffer(200, 100, 0), other = SetupBuffer(200, 100, 0);
    const uint32_t c = RGB(255, 128, 64);
    Line(b, 0, 0, 9, 9, c);
    HLine(b, 20, 29, 5, c);
    VLine(b, 0, 9, 40, c);
    Rect(b, 50, 0, 59, 9, c);
    FillRect(b, 60, 0, 70, 10, c);
    MoveTo(b, 80, 0);
    LineTo(b, 89, 0, c);
    Circle(b, 100, 50, 10, c);
    FillCircle(b, 130, 50, 10, c);
    Ellipse(b, 160, 50, 12, 6, c);
    FillEllipse(b, 185, 50, 12, 6, c);
    CubicBezierLine(b, 10, 90, 60, 90, 20, 60, 50, 60, 16, c);
    for (auto [x, y] : {std::pair{5, 5},
                        {25, 5},
                        {40, 9},
                        {50, 5},
                        {69, 9},
                        {89, 0},
                        {110, 50},
                        {130, 50},
                        {172, 50},
                        {185, 50},
                        {10, 90},
                        {60, 90}}) {
        EXPECT_EQ(GetPixel(b, x, y), c) << x << "," << y;
    }
    EXPECT_EQ(GetPixel(b, 70, 10), 0u);   // FillRect's larger corner is left out
    EXPECT_EQ(GetPixel(b, 100, 50), 0u);  // the inside of an outline
    const auto* p = static_cast<const uint8_t*>(BufferPointer(other));
    for (size_t i = 0; i < size_t(200 * 100 * (bpp / 8)); ++i) ASSERT_EQ(p[i], 0) << i;
}
INSTANTIATE_TEST_SUITE_P(Depths, DrawingApi, ::testing::Values(32, 16));

TEST_P(CopiesApi, SpriteOverBackgroundThenStretched) {
    const int bpp = GetParam();
    OpenAtDepth(bpp);
    const uint32_t key = RGB(255, 0, 255), red = RGB(255, 0, 0), blue = RGB(0, 0, 255);
    const int32_t sprite = SetupBuffer(4, 4, 0), scene = SetupBuffer(8, 8, 0), big = SetupBuffer(16, 16, 0);
    Fill(sprite, key);
    PutPixel(sprite, 1, 1, red);
    PutPixel(sprite, 2, 2, red);
    Fill(scene, blue);
    CopySprite(sprite, scene, 2, 2, key);
    EXPECT_EQ(GetPixel(scene, 2, 2), blue);  // the key
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
    CopyScale(scene, big, -3, 0, 13, 16);  // 1.5 source columns cut off at the left: truncated to 1
    EXPECT_EQ(GetPixel(big, 0, 2), red);
}

INSTANTIATE_TEST_SUITE_P(Depths, CopiesApi, ::testing::Values(32, 16));

TPolyVertex At(float x, float y, float u, float v, uint32_t colour) {
    TPolyVertex p{};
    p.x = x, p.y = y, p.u = u, p.v = v, p.colour = colour;
    return p;
}

TEST_P(PolygonsApi, ShadedTexturedAndRotatedPixelsLandWhereExpected) {
    const int bpp = GetParam();
    OpenAtDepth(bpp);
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
    FlatPoly(dst, quad, 3, 3, RGB(0, 255, 0));  // the triangle of the first three vertices
    EXPECT_EQ(GetPixel(dst, 19, 18), RGB(0, 255, 0));

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
}

INSTANTIATE_TEST_SUITE_P(Depths, PolygonsApi, ::testing::Values(32, 16));

TEST_P(BlendingApi, BlendsAndEffectsOnRealBuffers) {
    OpenAtDepth(GetParam());
    const uint32_t white = RGB(255, 255, 255), red = RGB(255, 0, 0), blue = RGB(0, 0, 255);
    const int32_t sprite = Solid(40, 30, blue), canvas = Solid(64, 48, red), copy = Solid(64, 48, 0);

    CopyAdd(sprite, canvas, -30, -20);  // red + blue in the top-left corner only
    EXPECT_EQ(GetPixel(canvas, 0, 0), RGB(255, 0, 255));
    EXPECT_EQ(GetPixel(canvas, 50, 5), red);
    CopyAlpha(sprite, canvas, 10, 10, 0);  // opacity 0 keeps the destination
    EXPECT_EQ(GetPixel(canvas, 20, 20), red);

    Fill(canvas, white);
    CopyGreenChannel(canvas, copy, 0, 0);
    EXPECT_EQ(GetPixel(copy, 63, 47), RGB(0, 255, 0));
    Greyscale(copy);
    // The in-place filter averages stored fields: 16-bit green counts with its top five bits.
    EXPECT_EQ(GetPixel(copy, 0, 0), GetParam() == 16 ? 10u << 11 | 20u << 5 | 10u : RGB(85, 85, 85));
    CopyGreyscale(sprite, canvas, 60, 40);  // blue's grey, clipped to the corner
    EXPECT_EQ(GetPixel(canvas, 63, 47), RGB(85, 85, 85));
    EXPECT_EQ(GetPixel(canvas, 59, 47), white);
}

INSTANTIATE_TEST_SUITE_P(Depths, BlendingApi, ::testing::Values(15, 16, 24, 32),
                         [](const auto& depth) { return std::to_string(depth.param) + "bit"; });

}  // namespace
