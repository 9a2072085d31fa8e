// The polygon fills: which pixels a polygon covers by the row rules (flat fills with HLine's
// clipping), what each gets, clipping, keys; rotated copies, which the texture fills paint: where the
// turned and zoomed source lands and which source pixel each pixel shows.
#include <algorithm>
#include <cmath>
#include <string>
#include <tuple>
#include <vector>

#include "picture.h"

namespace vxl::testing {
namespace {

using FillDepthTest = DepthTest;

TEST_P(FillDepthTest, TrianglePaintsTopRowClosedAndBottomRowOpenInEitherWinding) {
    const int32_t h = SetupBuffer(7, 7, 0), other = SetupBuffer(7, 7, 0);
    const uint32_t c = depth_ == 15 ? 0x7FFF : depth_ == 16 ? 0xFFFF : 0xFFFFFF;
    const TPolyVertex tri[3] = {V(0, 0), V(5, 0), V(0, 5)}, back[3] = {V(0, 0), V(0, 5), V(5, 0)};
    FlatPoly(h, tri, 2, 3, c);
    FlatPoly(other, back, 2, 3, c);
    EXPECT_EQ(Picture(h), (Rows{"######.", "#####..", "####...", "###....", "##.....", ".......", "......."}));
    EXPECT_EQ(Bytes(other), Bytes(h));
    EXPECT_EQ(GetPixel(h, 3, 1), c);
}

TEST_P(FillDepthTest, RectangleApexAndTwoVertexLine) {
    const int32_t h = SetupBuffer(10, 8, 0);
    const TPolyVertex quad[4] = {V(2, 1), V(6, 1), V(6, 4), V(2, 4)};
    FlatPoly(h, quad, 3, 4, 1);
    const TPolyVertex apex[3] = {V(8, 5), V(9, 7), V(7, 7)};  // the apex row paints its one pixel
    FlatPoly(h, apex, 2, 3, 1);
    const TPolyVertex two[2] = {V(0, 2), V(0, 6)};  // both edges on one line: one pixel per row
    FlatPoly(h, two, 1, 2, 1);
    EXPECT_EQ(Picture(h), (Rows{
                              "..........",
                              "..#####...",
                              "#.#####...",
                              "#.#####...",
                              "#.........",
                              "#.......#.",
                              ".......##.",
                              "..........",
                          }));
}

TEST_P(FillDepthTest, ClippingAndVertexCounts) {
    const int32_t h = SetupBuffer(8, 6, 0);
    const TPolyVertex big[4] = {V(-5, -5), V(20, -5), V(20, 2), V(-5, 2)};  // over the top and both sides
    FlatPoly(h, big, 3, 4, 1);
    // Five vertices given, three used: the closing edge runs from the third back to the first.
    const TPolyVertex five[5] = {V(0, 3), V(4, 3), V(4, 6), V(0, 6), V(0, 3)};
    FlatPoly(h, five, 4, 3, 1);
    EXPECT_EQ(Picture(h), (Rows{
                              "########",
                              "########",
                              "........",
                              "#####...",
                              ".####...",
                              "..###...",
                          }));
    // Rows outside, no height, fewer than two vertices used (count, or the array's highest index):
    // nothing. A count past the array uses the array.
    const auto before = Bytes(h);
    const TPolyVertex below[3] = {V(0, 6), V(8, 6), V(4, 40)}, above[3] = {V(0, -9), V(8, -9), V(4, 0)},
                      flat[3] = {V(0, 3), V(8, 3), V(2, 3)};
    for (const TPolyVertex* v : {below, above, flat}) FlatPoly(h, v, 2, 3, 2);
    for (auto [high, count] : {std::pair{3, 1}, {-1, 4}, {0, 4}}) FlatPoly(h, five, high, count, 2);
    EXPECT_EQ(Bytes(h), before);
    const int32_t clamped = SetupBuffer(8, 6, 0), triangle = SetupBuffer(8, 6, 0);
    FlatPoly(clamped, five, 2, 5, 1);
    FlatPoly(triangle, five, 2, 3, 1);
    EXPECT_EQ(Bytes(clamped), Bytes(triangle));
}

TEST_P(FillDepthTest, GouraudPaintsRowsTopToBeforeBottomButNotTheApexRow) {
    const int32_t h = SetupBuffer(12, 12, 0);
    const uint32_t c = RGB(200, 100, 50);
    const TPolyVertex tri[3] = {V(5, 0, c), V(10, 10, c), V(0, 10, c)};
    GouraudPoly(h, tri, 2, 3);
    EXPECT_EQ(Picture(h), (Rows{
                              "............",  // the apex row: both crossings on column 5
                              "....##......",
                              "....###.....",
                              "...####.....",
                              "...#####....",
                              "..######....",
                              "..#######...",
                              ".########...",
                              ".#########..",
                              "##########..",
                              "............",  // the bottom row is open
                              "............",
                          }));
    const auto px = PixelsOf(h);  // one colour in, one colour out
    EXPECT_EQ(std::count(px.begin(), px.end(), 0u) + std::count(px.begin(), px.end(), c), 144);
    // The other winding covers the same pixels.
    const int32_t other = SetupBuffer(12, 12, 0);
    const TPolyVertex back[3] = {V(5, 0, c), V(0, 10, c), V(10, 10, c)};
    GouraudPoly(other, back, 2, 3);
    EXPECT_EQ(Bytes(other), Bytes(h));
}

// Colours fade down the edges and across the rows, truncated; ShadedRect puts c1 .. c4 at its corners
// (x1, y1), (x2, y1), (x2, y2), (x1, y2), given in either order, and paints as a polygon: both end
// columns, the bottom row open.
TEST_P(FillDepthTest, GouraudFadesDownAndAcrossAndShadedRectPutsColoursAtTheCorners) {
    const int32_t h = SetupBuffer(12, 12, 0), r = SetupBuffer(12, 12, 0), s = SetupBuffer(12, 12, 0);
    const uint32_t red = RGB(255, 0, 0), blue = RGB(0, 0, 255);
    const TPolyVertex quad[4] = {V(0, 0, red), V(10, 0, red), V(10, 10, blue), V(0, 10, blue)};
    GouraudPoly(h, quad, 3, 4);
    const uint32_t c1 = RGB(200, 0, 0), c2 = RGB(0, 200, 0), c3 = RGB(0, 0, 200), c4 = RGB(200, 200, 200);
    ShadedRect(r, 0, 0, 10, 10, c1, c2, c3, c4);
    ShadedRect(s, 10, 10, 0, 0, c3, c4, c1, c2);
    const uint32_t fade = RGB(229, 0, 25);  // a tenth of the way: 255 - 25.5 and 25.5
    for (auto [b, x, y, want] : {std::tuple{h, 0, 0, red},
                                 {h, 10, 0, red},
                                 {h, 0, 1, fade},
                                 {h, 10, 1, fade},
                                 {h, 5, 10, 0u},
                                 {h, 11, 5, 0u},
                                 {r, 0, 0, c1},
                                 {r, 10, 0, c2},
                                 {r, 5, 0, RGB(100, 100, 0)},
                                 {r, 0, 5, RGB(200, 100, 100)},
                                 {r, 11, 5, 0u},
                                 {r, 5, 10, 0u}}) {
        EXPECT_EQ(GetPixel(b, x, y), want) << x << "," << y;
    }
    Rows rect(12, "............");
    std::fill_n(rect.begin(), 10, "###########.");
    EXPECT_EQ(Picture(r), rect);
    EXPECT_EQ(Picture(s), rect);
}

TEST_P(FillDepthTest, GouraudClippedOnTheLeftKeepsTheColoursInView) {
    // The same gradient drawn from x = -8 and from x = 0 into a buffer 8 columns wider.
    const uint32_t a = RGB(0, 40, 250), b = RGB(250, 200, 0);
    const int32_t clipped = SetupBuffer(16, 6, 0), whole = SetupBuffer(24, 6, 0);
    const TPolyVertex left[4] = {V(-8, 0, a), V(15, 0, b), V(15, 5, b), V(-8, 5, a)};
    const TPolyVertex shifted[4] = {V(0, 0, a), V(23, 0, b), V(23, 5, b), V(0, 5, a)};
    GouraudPoly(clipped, left, 3, 4);
    GouraudPoly(whole, shifted, 3, 4);
    for (int32_t y = 0; y < 6; ++y)
        for (int32_t x = 0; x < 16; ++x) EXPECT_EQ(GetPixel(clipped, x, y), GetPixel(whole, x + 8, y)) << x << "," << y;
    EXPECT_NE(GetPixel(clipped, 0, 0), GetPixel(clipped, 15, 0));
}

TEST_P(FillDepthTest, TextureCopiesTexelsAndRepeatsTheLastColumnAndRow) {
    const int32_t tex = NumberedBuffer(64, 64), h = SetupBuffer(70, 70, 0);
    const TPolyVertex square[4] = {V(0, 0, 0, 0, 0), V(64, 0, 0, 64, 0), V(64, 64, 0, 64, 64), V(0, 64, 0, 0, 64)};
    TexturePoly(h, tex, square, 3, 4);
    for (int32_t y = 0; y < 70; ++y)
        for (int32_t x = 0; x < 70; ++x) {
            const uint32_t want = y < 64 && x <= 64 ? Numbered(std::min(x, 63), y) : 0;
            ASSERT_EQ(GetPixel(h, x, y), want) << x << "," << y;
        }
    // Rows beyond the texture's last one and columns before its first repeat the edge texels.
    const TPolyVertex outside[4] = {V(0, 0, 0, -20, 100), V(8, 0, 0, 4, 100), V(8, 4, 0, 4, 900), V(0, 4, 0, -20, 900)};
    TexturePoly(h, tex, outside, 3, 4);
    for (int32_t y = 0; y < 4; ++y) {
        EXPECT_EQ(GetPixel(h, 0, y), Numbered(0, 63));
        EXPECT_EQ(GetPixel(h, 8, y), Numbered(4, 63));
    }
    // As in the Gouraud fill, an apex row's two crossings meet and paint nothing.
    const int32_t apex = SetupBuffer(12, 12, 0);
    const TPolyVertex tri[3] = {V(5, 0, 0, 4, 0), V(10, 10, 0, 7, 7), V(0, 10, 0, 0, 7)};
    TexturePoly(apex, tex, tri, 2, 3);
    EXPECT_EQ(GetPixel(apex, 5, 0), 0u);
    EXPECT_NE(GetPixel(apex, 5, 1), 0u);
}

// The keyed fill leaves the key's texels out and is otherwise the plain fill. The key is compared with
// the stored colour: a 32-bit texel differing only in its unused top byte is still the key; at 15 and
// 16 bits a key with bits above the pixel matches nothing, at 24 and 32 those bits are no colour.
TEST_P(FillDepthTest, KeyedTextureSkipsTheStoredKeyAndOtherwiseMatchesThePlainFill) {
    const int32_t tex = NumberedBuffer(16, 16), plain = SetupBuffer(20, 20, 0), keyed = SetupBuffer(20, 20, 0);
    const uint32_t key = Numbered(3, 2), ground = 0x1F;
    const TPolyVertex quad[4] = {V(1, 1, 0, 0, 0), V(17, 2, 0, 16, 0), V(16, 18, 0, 16, 16), V(2, 17, 0, 0, 16)};
    Fill(plain, ground);
    TexturePoly(plain, tex, quad, 3, 4);
    for (const uint32_t k : {0x7FFFu, key}) {  // a key no texel holds, then one that some do
        Fill(keyed, ground);
        KeyTexturePoly(keyed, tex, quad, 3, 4, k);
        for (int32_t y = 0; y < 20; ++y)
            for (int32_t x = 0; x < 20; ++x) {
                const uint32_t p = GetPixel(plain, x, y);
                ASSERT_EQ(GetPixel(keyed, x, y), p == k ? ground : p) << x << "," << y;
            }
    }
    const int32_t one = SetupBuffer(4, 1, 0), row = SetupBuffer(6, 1, 0);
    const TPolyVertex strip[4] = {V(0, 0, 0, 0, 0), V(4, 0, 0, 4, 0), V(4, 1, 0, 4, 1), V(0, 1, 0, 0, 1)};
    Fill(one, key);
    if (bpp_ == 4) static_cast<uint8_t*>(BufferPointer(one))[3] = 0xAB;
    Fill(row, 0x55);
    KeyTexturePoly(row, one, strip, 3, 4, key);
    EXPECT_EQ(Picture(row, 0x55), Rows{"......"});
    KeyTexturePoly(row, one, strip, 3, 4, key | 0x1000000);
    EXPECT_EQ(Picture(row, 0x55), Rows{bpp_ == 2 ? "#####." : "......"});
}

using RotationTest = DepthTest;

TEST_P(RotationTest, UnturnedCopyPlacesTheCentreRepeatsTheLastColumnAndLeavesOutTheKey) {
    // Odd width: the centre is column 2 (integer halving), which lands on x = 10.
    const int32_t src = NumberedBuffer(5, 3), dst = SetupBuffer(20, 20, 0);
    CopyRotate(src, dst, 10, 10, 1.0f, 0.0f);
    for (int32_t y = 0; y < 20; ++y)
        for (int32_t x = 0; x < 20; ++x) {
            const bool inside = y >= 9 && y <= 11 && x >= 8 && x <= 13;
            const uint32_t want = inside ? Numbered(std::min(x - 8, 4), y - 9) : 0;
            ASSERT_EQ(GetPixel(dst, x, y), want) << x << "," << y;
        }
    EXPECT_EQ(GetPixel(dst, 10, 10), Numbered(2, 1));
    // The sprite form leaves out the key's pixels and is otherwise the same.
    auto want = PixelsOf(dst);
    std::replace(want.begin(), want.end(), Numbered(2, 1), 0u);
    std::replace(want.begin(), want.end(), 0u, 0x1Fu);
    Fill(dst, 0x1F);
    CopyRotateSprite(src, dst, 10, 10, 1.0f, 0.0f, Numbered(2, 1));
    EXPECT_EQ(PixelsOf(dst), want);
}

TEST_P(RotationTest, HalfTurnMirrorsBothWaysOneTexelOff) {
    // The row and column rules sample a half-turned source at its far edges: pixel (x, y) shows source
    // (12 - x, 12 - y) clamped to the source, not (11 - x, 11 - y), and source row 0 drops out.
    const int32_t src = NumberedBuffer(4, 4), dst = SetupBuffer(16, 16, 0);
    CopyRotate(src, dst, 10, 10, 1.0f, 180.0f);
    for (int32_t y = 0; y < 16; ++y)
        for (int32_t x = 0; x < 16; ++x) {
            const bool inside = y >= 8 && y <= 11 && x >= 8 && x <= 12;
            const uint32_t want = inside ? Numbered(std::min(12 - x, 3), std::min(12 - y, 3)) : 0;
            ASSERT_EQ(GetPixel(dst, x, y), want) << x << "," << y;
        }
    // A negative zoom is the same half turn.
    const int32_t neg = SetupBuffer(16, 16, 0);
    CopyRotate(src, neg, 10, 10, -1.0f, 0.0f);
    EXPECT_EQ(Bytes(neg), Bytes(dst));
}

TEST_P(RotationTest, QuarterTurnPointsTheRightEdgeDown) {
    const int32_t src = SetupBuffer(4, 4, 0), dst = SetupBuffer(16, 16, 0);
    for (int32_t y = 0; y < 4; ++y) PutPixel(src, 3, y, 0x1F);  // the right column
    Fill(dst, 0x3E0);
    CopyRotate(src, dst, 8, 8, 1.0f, 90.0f);
    // The source's four rows become columns 6 .. 10 (the last repeated), its right column row 9.
    for (int32_t y = 0; y < 16; ++y)
        for (int32_t x = 0; x < 16; ++x) {
            const bool in = y >= 6 && y <= 9 && x >= 6 && x <= 10;
            ASSERT_EQ(GetPixel(dst, x, y), !in ? 0x3E0u : y == 9 ? 0x1Fu : 0u) << x << "," << y;
        }
}

TEST_P(RotationTest, ZoomScalesAboutTheCentre) {
    const int32_t src = NumberedBuffer(4, 4), dst = SetupBuffer(24, 24, 0);
    CopyRotate(src, dst, 12, 12, 2.0f, 0.0f);
    // Doubled about source (2, 2): rows 8..15 and columns 8..16 (the last repeated), each texel 2 x 2.
    for (auto [x, y, in] :
         {std::tuple{8, 8, true}, {16, 15, true}, {7, 8, false}, {8, 7, false}, {17, 15, false}, {16, 16, false}}) {
        EXPECT_EQ(GetPixel(dst, x, y) != 0, in) << x << "," << y;
    }
    EXPECT_EQ(GetPixel(dst, 9, 9), Numbered(0, 0));
    EXPECT_EQ(GetPixel(dst, 10, 10), Numbered(1, 1));

    const int32_t none = SetupBuffer(24, 24, 0);
    CopyRotate(src, none, 12, 12, 0.0f, 30.0f);  // no zoom: nothing
    EXPECT_EQ(Bytes(none), std::vector<uint8_t>(Bytes(none).size(), 0));
}

INSTANTIATE_TEST_SUITE_P(Depths, FillDepthTest, AllDepths(false), DepthName);
INSTANTIATE_TEST_SUITE_P(Depths, RotationTest, AllDepths(false), DepthName);

}  // namespace
}  // namespace vxl::testing
