// Gouraud and texture fills: which pixels a polygon covers, what each gets, clipping, video memory.
#include <random>
#include <string>
#include <vector>

#include "picture.h"

namespace vxl::testing {
namespace {

using FillDepthTest = DepthTest;
using FillTest = FakeTest;

TEST_P(FillDepthTest, GouraudPaintsRowsTopToBeforeBottomButNotTheApexRow) {
    const int32_t h = SetupBuffer(12, 12, 0);
    const uint32_t c = RGB(200, 100, 50);
    const TPolyVertex tri[3] = {V(5, 0, c), V(10, 10, c), V(0, 10, c)};
    GouraudPoly(h, tri, 2, 3);
    EXPECT_EQ(PictureText(h),
              "............\n"  // the apex row: both crossings on column 5
              "....##......\n"
              "....###.....\n"
              "...####.....\n"
              "...#####....\n"
              "..######....\n"
              "..#######...\n"
              ".########...\n"
              ".#########..\n"
              "##########..\n"
              "............\n"  // the bottom row is open
              "............\n");
    for (int32_t y = 0; y < 12; ++y)
        for (int32_t x = 0; x < 12; ++x) {
            const uint32_t p = GetPixel(h, x, y);
            ASSERT_TRUE(p == 0 || p == c) << x << "," << y;  // one colour in, one colour out
        }
    // The other winding covers the same pixels.
    const int32_t other = SetupBuffer(12, 12, 0);
    const TPolyVertex back[3] = {V(5, 0, c), V(0, 10, c), V(10, 10, c)};
    GouraudPoly(other, back, 2, 3);
    EXPECT_EQ(Bytes(other), Bytes(h));
}

TEST_P(FillDepthTest, GouraudFadesDownAndAcrossAndShadedRectPutsColoursAtTheCorners) {
    const int32_t h = SetupBuffer(12, 12, 0);
    const uint32_t red = RGB(255, 0, 0), blue = RGB(0, 0, 255);
    const TPolyVertex quad[4] = {V(0, 0, red), V(10, 0, red), V(10, 10, blue), V(0, 10, blue)};
    GouraudPoly(h, quad, 3, 4);
    for (int32_t x = 0; x <= 10; ++x) {
        EXPECT_EQ(GetPixel(h, x, 0), red);
        EXPECT_EQ(GetPixel(h, x, 1), RGB(229, 0, 25));  // 255 - 25.5 and 25.5, truncated
        EXPECT_EQ(GetPixel(h, x, 10), 0u);
    }
    EXPECT_EQ(GetPixel(h, 11, 5), 0u);

    const uint32_t c1 = RGB(200, 0, 0), c2 = RGB(0, 200, 0), c3 = RGB(0, 0, 200), c4 = RGB(200, 200, 200);
    const int32_t r = SetupBuffer(12, 12, 0);
    ShadedRect(r, 0, 0, 10, 10, c1, c2, c3, c4);
    EXPECT_EQ(GetPixel(r, 0, 0), c1);
    EXPECT_EQ(GetPixel(r, 10, 0), c2);
    EXPECT_EQ(GetPixel(r, 5, 0), RGB(100, 100, 0));
    EXPECT_EQ(GetPixel(r, 0, 5), RGB(200, 100, 100));
    for (int32_t y = 0; y < 12; ++y) {
        EXPECT_EQ(GetPixel(r, 11, y), 0u);
        EXPECT_EQ(GetPixel(r, 5, y) != 0, y < 10) << y;
    }
    // Corners given the other way round paint the same rectangle.
    const int32_t s = SetupBuffer(12, 12, 0);
    ShadedRect(s, 10, 10, 0, 0, c3, c4, c1, c2);
    EXPECT_EQ(PictureText(s), PictureText(r));
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
    // Half the texture coordinates: the top-left quarter doubled.
    const TPolyVertex half[4] = {V(0, 0, 0, 0, 0), V(64, 0, 0, 32, 0), V(64, 64, 0, 32, 32), V(0, 64, 0, 0, 32)};
    TexturePoly(h, tex, half, 3, 4);
    for (int32_t y = 0; y < 64; ++y)
        for (int32_t x = 0; x < 64; ++x) ASSERT_EQ(GetPixel(h, x, y), Numbered(x / 2, y / 2)) << x << "," << y;
    // Rows beyond the texture's last one and columns before its first repeat the edge texels.
    const TPolyVertex outside[4] = {V(0, 0, 0, -20, 100), V(8, 0, 0, 4, 100), V(8, 4, 0, 4, 900), V(0, 4, 0, -20, 900)};
    TexturePoly(h, tex, outside, 3, 4);
    for (int32_t y = 0; y < 4; ++y) {
        EXPECT_EQ(GetPixel(h, 0, y), Numbered(0, 63));
        EXPECT_EQ(GetPixel(h, 8, y), Numbered(4, 63));
    }
}

TEST_P(FillDepthTest, TextureApexRowStaysUnpainted) {
    const int32_t tex = NumberedBuffer(8, 8), h = SetupBuffer(12, 12, 0);
    const TPolyVertex tri[3] = {V(5, 0, 0, 4, 0), V(10, 10, 0, 7, 7), V(0, 10, 0, 0, 7)};
    TexturePoly(h, tex, tri, 2, 3);
    EXPECT_EQ(GetPixel(h, 5, 0), 0u);
    EXPECT_NE(GetPixel(h, 5, 1), 0u);
}

TEST_P(FillDepthTest, KeyedTextureSkipsTheKeyAndOtherwiseMatchesThePlainFill) {
    const int32_t tex = NumberedBuffer(16, 16), plain = SetupBuffer(20, 20, 0), keyed = SetupBuffer(20, 20, 0);
    const uint32_t key = Numbered(3, 2), ground = 0x1F;
    const TPolyVertex quad[4] = {V(1, 1, 0, 0, 0), V(17, 2, 0, 16, 0), V(16, 18, 0, 16, 16), V(2, 17, 0, 0, 16)};
    Fill(plain, ground);
    Fill(keyed, ground);
    TexturePoly(plain, tex, quad, 3, 4);
    KeyTexturePoly(keyed, tex, quad, 3, 4, 0x7FFF);  // a key no texel holds
    EXPECT_EQ(Bytes(keyed), Bytes(plain));

    Fill(keyed, ground);
    KeyTexturePoly(keyed, tex, quad, 3, 4, key);
    int kept = 0;
    for (int32_t y = 0; y < 20; ++y)
        for (int32_t x = 0; x < 20; ++x) {
            const uint32_t want = GetPixel(plain, x, y) == key ? ground : GetPixel(plain, x, y);
            kept += GetPixel(plain, x, y) == key;
            ASSERT_EQ(GetPixel(keyed, x, y), want) << x << "," << y;
        }
    EXPECT_GT(kept, 0);
}

TEST_P(FillDepthTest, KeyComparisonFollowsTheStoredColour) {
    const int32_t tex = SetupBuffer(4, 1, 0), h = SetupBuffer(6, 1, 0);
    auto* t = static_cast<uint8_t*>(BufferPointer(tex));
    const TPolyVertex quad[4] = {V(0, 0, 0, 0, 0), V(4, 0, 0, 4, 0), V(4, 1, 0, 4, 1), V(0, 1, 0, 0, 1)};
    const uint32_t key = bpp_ == 2 ? 0x1234 : 0x123456;
    for (int32_t x = 0; x < 4; ++x) PutPixel(tex, x, 0, key);
    if (bpp_ == 4) t[3] = 0xAB;  // a texel that differs only in its unused top byte is still the key
    Fill(h, 0x55);
    KeyTexturePoly(h, tex, quad, 3, 4, key);
    EXPECT_EQ(PictureText(h, 0x55), "......\n");
    if (bpp_ == 2) {
        // The whole key counts: with any of its upper bits set nothing is transparent.
        KeyTexturePoly(h, tex, quad, 3, 4, key | 0x10000);
        EXPECT_EQ(PictureText(h, 0x55), "#####.\n");
    }
}

INSTANTIATE_TEST_SUITE_P(Depths, FillDepthTest, AllDepths(false), DepthName);

// Buffers in video memory compose rows elsewhere (or write in place) but end up with the same pixels.
TEST_F(FillTest, VideoMemoryBuffersGetTheSamePixelsAsSystemMemoryOnes) {
    fake_->hardware = true;
    for (uint32_t depth : {16u, 24u, 32u}) {
        SetDesktopDepth(depth);
        OpenWindowed();
        const int32_t system = SetupBuffer(40, 30, 0), video = SetupBuffer(40, 30, 1), tex = NumberedBuffer(16, 16);
        ASSERT_TRUE(TheLibrary().handles.Find(video)->in_video_memory());
        ASSERT_FALSE(TheLibrary().handles.Find(system)->in_video_memory());
        std::mt19937 rng(7);
        std::uniform_real_distribution<float> pos(-10, 50), uv(-2, 18);
        for (int i = 0; i < 200; ++i) {
            TPolyVertex v[5];
            for (auto& p : v) p = V(pos(rng), pos(rng), uint32_t(rng()), uv(rng), uv(rng));
            const uint32_t flat = rng();
            for (int32_t h : {system, video}) {
                GouraudPoly(h, v, 4, 5);
                TexturePoly(h, tex, v, 4, 4);
                KeyTexturePoly(h, tex, v, 3, 3, Numbered(5, 5));
                FlatPoly(h, v, 4, 5, flat);  // its rows go through the blitter's fills
            }
        }
        ASSERT_EQ(Bytes(video), Bytes(system)) << depth;
        CloseVexel();
    }
}

// The vector rows of the Gouraud fill (SSE2 and AVX2) paint what the scalar reference paints, at every
// run length and alignment, gradients up and down.
TEST_P(FillDepthTest, GouraudVectorRowsMatchTheReference) {
    const int32_t sse2 = SetupBuffer(90, 40, 0), avx2 = SetupBuffer(90, 40, 0), reference = SetupBuffer(90, 40, 0);
    const bool has_avx2 = __builtin_cpu_supports("avx2");
    std::mt19937 rng(99);
    std::uniform_real_distribution<float> pos(-20, 110);
    for (int i = 0; i < 300; ++i) {
        TPolyVertex v[4];
        for (auto& p : v) p = V(pos(rng), pos(rng) * 0.4f, RGB(rng() & 255, rng() & 255, rng() & 255));
        platform::ForceCpuFeatures({true, false});
        GouraudPoly(sse2, v, 3, 4);
        platform::ForceCpuFeatures({true, has_avx2});
        GouraudPoly(avx2, v, 3, 4);
        platform::ForceCpuFeatures({false, false});
        GouraudPoly(reference, v, 3, 4);
    }
    const auto want = Bytes(reference);
    for (const int32_t h : {sse2, avx2}) {
        const auto got = Bytes(h);
        const auto diff = std::mismatch(got.begin(), got.end(), want.begin());
        EXPECT_TRUE(diff.first == got.end())
            << (h == avx2 ? "AVX2" : "SSE2") << ": first difference at byte " << (diff.first - got.begin());
    }
}

}  // namespace
}  // namespace vxl::testing
