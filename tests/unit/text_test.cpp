// Text output: exactly the colour inside the glyphs, nothing else changed, clipping at every edge.
#include "picture.h"

namespace vxl::testing {
namespace {

using platform::PlatformCall;

using TextTest = FakeTest;
using TextDepthTest = DepthTest;

TEST_P(TextDepthTest, GlyphsHaveExactlyTheColourAndTheBackgroundStays) {
    const int32_t b = SetupBuffer(120, 40, 0);
    const uint32_t back = RGB(10, 20, 30), red = RGB(255, 0, 0);
    Fill(b, back);
    PutStr(b, 5, 3, "Hello, Wg!", red);
    int32_t inked = 0, top = 99, bottom = -1, left = 999, right = -1;
    for (int32_t y = 0; y < 40; ++y) {
        for (int32_t x = 0; x < 120; ++x) {
            const uint32_t p = GetPixel(b, x, y);
            ASSERT_TRUE(p == back || p == red) << x << "," << y;
            if (p != red) continue;
            ++inked;
            top = std::min(top, y), bottom = std::max(bottom, y), left = std::min(left, x), right = std::max(right, x);
        }
    }
    EXPECT_GT(inked, 60);
    // The cell's top-left corner is (5, 3) and a line is about 16 pixels: capitals start a little
    // below the top, descenders end inside the line.
    EXPECT_GE(top, 3);
    EXPECT_LE(top, 3 + 5);
    EXPECT_LE(bottom, 3 + 16);
    EXPECT_GE(bottom, 3 + 11);
    EXPECT_GE(left, 5);
    EXPECT_LE(left, 7);
    EXPECT_GT(right, 5 + 50);
}

TEST_P(TextDepthTest, TextIsCutAtEveryEdgeLikeTheSameTextMoved) {
    const int32_t b = SetupBuffer(64, 24, 0);
    const uint32_t ink = RGB(255, 255, 255);
    PutStr(b, 4, 4, "AMW", ink);  // on black, so every pixel that is not black is ink
    const Rows whole = Picture(b);
    // Moved 10 left and 8 up: the same pixels, shifted, and cut at the top and left.
    Fill(b, 0);
    PutStr(b, -6, -4, "AMW", ink);
    const Rows cut = Picture(b);
    for (int32_t y = 0; y < 24; ++y)
        for (int32_t x = 0; x < 64; ++x) {
            const bool expected = y + 8 < 24 && x + 10 < 64 && whole[size_t(y + 8)][size_t(x + 10)] == '#';
            ASSERT_EQ(cut[size_t(y)][size_t(x)] == '#', expected) << x << "," << y;
        }
    // Off the buffer altogether, or no text: nothing changes.
    Fill(b, 0);
    for (auto [x, y] : {std::pair{64, 0}, {0, 24}, {-200, 0}, {0, -40}}) PutStr(b, x, y, "AMW", ink);
    PutStr(b, 0, 0, "", ink);
    PutStr(b, 0, 0, nullptr, ink);
    EXPECT_EQ(PixelsOf(b), std::vector<uint32_t>(64 * 24, 0));
    // Cut at the right and bottom edges.
    PutStr(b, 50, 14, "AMW", ink);
    EXPECT_NE(PixelsOf(b), std::vector<uint32_t>(64 * 24, 0));
}

INSTANTIATE_TEST_SUITE_P(Depths, TextDepthTest, AllDepths(), DepthName);

TEST_F(TextTest, DrawingContextFailuresDestroyTheBuffer) {
    OpenWindowed();
    const int32_t b = SetupBuffer(32, 16, 0);
    fake_->Fail(PlatformCall::GetDC, platform::DDERR_SURFACELOST);
    ExpectFatal(Failed(kTagBuffer, "GetDC", platform::DDERR_SURFACELOST), [&] { PutStr(b, 0, 0, "x", 1); });
    EXPECT_EQ(BufferSizeX(b), 0);
    const int32_t c = SetupBuffer(32, 16, 0);
    fake_->Fail(PlatformCall::ReleaseDC, platform::DDERR_GENERIC);
    ExpectFatal(Failed(kTagBuffer, "ReleaseDC", platform::DDERR_GENERIC), [&] { PutStr(c, 0, 0, "x", 1); });
    EXPECT_EQ(BufferSizeX(c), 0);
    // Other buffers go on drawing text.
    const int32_t d = SetupBuffer(32, 16, 0);
    PutStr(d, 0, 0, "x", RGB(255, 255, 255));
    EXPECT_NE(PixelsOf(d), std::vector<uint32_t>(32 * 16, 0));
}

}  // namespace
}  // namespace vxl::testing
