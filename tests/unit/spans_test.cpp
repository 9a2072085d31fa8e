#include "draw/spans.h"

#include <random>

#include "picture.h"

namespace vxl::testing {
namespace {

using SpansPictureTest = PictureTest<12, 6>;
using SpansTest = FakeTest;
using SpansDepthTest = DepthTest;

TEST_F(SpansPictureTest, HorizontalRunsIncludeBothEndsInEitherOrderAndClampToTheRow) {
    HLine(h_, 9, 2, 0, 1);
    HLine(h_, 2, 4, 1, 1);
    HLine(h_, 4, 2, 2, 1);
    HLine(h_, -30, 3, 3, 1);
    HLine(h_, 8, INT32_MAX, 4, 1);
    HLine(h_, INT32_MIN, INT32_MAX, 5, 1);
    HLine(h_, 0, 11, -1, 1);  // rows outside draw nothing
    HLine(h_, 0, 11, 6, 1);
    HLine(h_, 12, 40, 1, 1);  // runs wholly left or right of the row draw nothing
    HLine(h_, -40, -1, 1, 1);
    EXPECT_EQ(Picture(h_), (Rows{
                               "..########..",
                               "..###.......",
                               "..###.......",
                               "####........",
                               "........####",
                               "############",
                           }));
}

TEST_F(SpansPictureTest, VerticalRunsIncludeBothEndsAndClampToTheColumn) {
    VLine(h_, 4, 1, 0, 1);
    VLine(h_, -5, 6 + 5, 2, 1);
    VLine(h_, INT32_MIN, 1, 4, 1);
    VLine(h_, 3, INT32_MAX, 6, 1);
    VLine(h_, 0, 5, -1, 1);
    VLine(h_, 0, 5, 12, 1);
    VLine(h_, 6, 9, 8, 1);
    VLine(h_, -9, -1, 8, 1);
    EXPECT_EQ(Picture(h_), (Rows{
                               "..#.#.......",
                               "#.#.#.......",
                               "#.#.........",
                               "#.#...#.....",
                               "#.#...#.....",
                               "..#...#.....",
                           }));
}

TEST_F(SpansPictureTest, OutlinesTouchBothCornersAndFillsStopBeforeTheLargerOne) {
    Rect(h_, 3, 4, 0, 1, 1);  // corners in either order
    Rect(h_, 6, 0, 6, 2, 1);  // a single column drawn twice
    FillRect(h_, 10, 4, 8, 2, 1);
    FillRect(h_, 11, 0, 11, 5, 1);  // no width: nothing
    FillRect(h_, 7, 5, 9, 5, 1);    // no height: nothing
    EXPECT_EQ(Picture(h_), (Rows{
                               "......#.....",
                               "####..#.....",
                               "#..#..#.##..",
                               "#..#....##..",
                               "####........",
                               "............",
                           }));
}

TEST_F(SpansPictureTest, RectanglesPartlyOrWhollyOutsideAreClipped) {
    Rect(h_, -1, -1, 12, 6, 1);  // every side outside: nothing
    Rect(h_, INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX, 1);
    FillRect(h_, -100, -100, 2, 2, 1);
    FillRect(h_, 10, 4, INT32_MAX, INT32_MAX, 1);
    FillRect(h_, 12, 0, 40, 6, 1);
    FillRect(h_, INT32_MIN, 0, -1, 6, 1);
    EXPECT_EQ(Picture(h_), (Rows{
                               "##..........",
                               "##..........",
                               "............",
                               "............",
                               "..........##",
                               "..........##",
                           }));
    Rect(h_, 0, 0, 11, 5, 1);
    FillRect(h_, INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX, 2);
    EXPECT_EQ(Picture(h_), Rows(6, "############"));
    EXPECT_EQ(GetPixel(h_, 0, 0), 2u);
}

// Every writer stores the layout's bytes of the colour: at 24 bits bytes 0, 1, 2 in that order, at 15
// and 16 bits the low word with the high one ignored, at 32 bits the whole colour.
TEST_P(SpansDepthTest, EveryWriterStoresTheSameBytesOfTheColour) {
    const uint32_t colour = 0xA1B2C3D4;
    std::vector<uint8_t> bytes(bpp_);
    std::memcpy(bytes.data(), &colour, bpp_);
    fake_->hardware = true;  // the display learns it when it opens
    OpenWindowed();
    for (bool video : {false, true}) {
        const int32_t h = SetupBuffer(40, 5, video);
        ASSERT_EQ(TheLibrary().handles.Find(h)->in_video_memory(), video);
        HLine(h, 0, 39, 0, colour);  // long enough for the wide stores
        HLine(h, 3, 1, 1, colour);   // short: single stores
        VLine(h, 2, 4, 20, colour);
        FillRect(h, 30, 2, 33, 4, colour);
        Rect(h, 5, 2, 8, 4, colour);
        for (auto [x, y] : {std::pair{0, 0}, {17, 0}, {39, 0}, {1, 1}, {3, 1}, {20, 3}, {32, 3}, {5, 2}, {8, 4}}) {
            EXPECT_EQ(PixelBytes(h, x, y, bpp_), bytes) << x << "," << y << (video ? " video" : "");
        }
        EXPECT_EQ(GetPixel(h, 0, 1), 0u);
        EXPECT_EQ(GetPixel(h, 4, 1), 0u);
        EXPECT_EQ(GetPixel(h, 33, 3), 0u);
        CloseBuffer(h);
    }
    // The line accumulator, the circle and ellipse steppings, outlined and filled.
    const int32_t h = SetupBuffer(68, 12, 0);
    Line(h, 0, 7, 7, 0, colour);
    Line(h, 8, 10, 8, 10, colour);
    Circle(h, 14, 5, 3, colour);
    FillCircle(h, 24, 5, 4, colour);
    Ellipse(h, 38, 5, 8, 3, colour);
    FillEllipse(h, 58, 5, 8, 3, colour);
    for (auto [x, y] : {std::pair{3, 4}, {8, 10}, {14, 2}, {28, 5}, {24, 9}, {46, 5}, {38, 2}, {58, 8}}) {
        EXPECT_EQ(PixelBytes(h, x, y, bpp_), bytes) << x << "," << y;
    }
    EXPECT_EQ(GetPixel(h, 14, 5), 0u);  // the inside of an outline
    EXPECT_EQ(GetPixel(h, 38, 5), 0u);
    EXPECT_EQ(GetPixel(h, 1, 1), 0u);
}
INSTANTIATE_TEST_SUITE_P(Depths, SpansDepthTest,
                         ::testing::Combine(::testing::Values(15u, 16u, 24u, 32u), ::testing::Values(false)),
                         DepthName);

TEST_F(SpansTest, VideoMemoryRunsGoToTheBlitterAndColumnsThroughTheRowTable) {
    fake_->hardware = true;
    OpenWindowed();
    const int32_t h = SetupBuffer(16, 4, 1);
    TBufferVx& b = *TheLibrary().handles.Find(h);
    ASSERT_TRUE(b.in_video_memory());
    const int blits = fake_->Calls(platform::PlatformCall::Blt);
    HLine(h, 2, 5, 1, 7);
    EXPECT_EQ(fake_->Calls(platform::PlatformCall::Blt), blits + 1);
    VLine(h, 0, 3, 9, 7);  // columns always go through the row table
    EXPECT_EQ(fake_->Calls(platform::PlatformCall::Blt), blits + 1);
    EXPECT_EQ(Picture(h), (Rows{".........#......", "..####...#......", ".........#......", ".........#......"}));
}

// The wide-store writer against one store per pixel, for every short length and start offset, with
// guard bytes on both sides.
TEST_F(SpansTest, FillSpanWritesExactlyTheRunAtEveryLengthAndOffset) {
    std::mt19937 rng(6);
    for (uint32_t bits : {16u, 24u, 32u}) {
        const uint32_t bpp = bits / 8;
        for (int64_t n = 0; n <= 70; ++n) {
            for (size_t offset = 0; offset < 4; ++offset) {
                const uint32_t colour = rng();
                std::vector<uint8_t> got(16 + size_t(n) * bpp + 16 + offset, 0xEE), want = got;
                draw::FillSpan(got.data() + 16 + offset, n, bits, colour);
                for (int64_t i = 0; i < n; ++i) std::memcpy(&want[16 + offset + size_t(i) * bpp], &colour, bpp);
                ASSERT_EQ(got, want) << bits << " bits, " << n << " pixels at offset " << offset;
            }
        }
    }
    std::vector<uint8_t> untouched(8, 0xEE), copy = untouched;
    draw::FillSpan(copy.data(), 2, 8, 0);  // a pixel width without a writer stores nothing
    EXPECT_EQ(copy, untouched);
}

}  // namespace
}  // namespace vxl::testing
