#include "draw/circles.h"

#include <cmath>
#include <random>

#include "picture.h"

namespace vxl::testing {
namespace {

using CirclesTest = PictureTest<11, 11>;

TEST_F(CirclesTest, SmallRadiiGiveTheStepsPixels) {
    Circle(h_, 1, 1, 0, 1);  // the centre only
    Circle(h_, 8, 2, 1, 1);
    Circle(h_, 3, 7, 2, 1);   // three on each side of a 5 x 5 square, no corners
    Circle(h_, 9, 9, -1, 1);  // negative radius: nothing
    EXPECT_EQ(Picture(h_), (Rows{
                               "...........",
                               ".#......#..",
                               ".......#.#.",
                               "........#..",
                               "...........",
                               "..###......",
                               ".#...#.....",
                               ".#...#.....",
                               ".#...#.....",
                               "..###......",
                               "...........",
                           }));
}

TEST_F(CirclesTest, RadiusFiveHasAFivePixelTopAndFivePixelSides) {
    Circle(h_, 5, 5, 5, 1);
    const Rows outline = Picture(h_);
    EXPECT_EQ(Rows(outline.begin(), outline.begin() + 6), (Rows{
                                                              "...#####...",
                                                              "..#.....#..",
                                                              ".#.......#.",
                                                              "#.........#",
                                                              "#.........#",
                                                              "#.........#",
                                                          }));
    EXPECT_EQ(Rows(outline.rbegin(), outline.rbegin() + 6), Rows(outline.begin(), outline.begin() + 6));
    FillCircle(h_, 5, 5, 5, 1);
    EXPECT_EQ(Picture(h_), Filled(outline));
}

TEST_F(CirclesTest, FilledCirclesOfRadiusZeroPaintTheCentrePartCirclesClipAndOutsideOnesDrawNothing) {
    FillCircle(h_, 5, 5, 0, 1);
    FillCircle(h_, 0, 0, -3, 1);
    FillCircle(h_, 10, 10, 2, 1);  // a quarter inside
    Circle(h_, -2, 0, 3, 1);       // the right edge reaches x = 1
    // Each of these just misses: the box test draws nothing, as does the stepping.
    for (auto [cx, cy, r] : {std::tuple{-4, 5, 3}, {14, 5, 3}, {5, -4, 3}, {5, 14, 3}}) {
        Circle(h_, cx, cy, r, 1);
        FillCircle(h_, cx, cy, r, 1);
    }
    EXPECT_EQ(Picture(h_), (Rows{
                               ".#.........",
                               ".#.........",
                               "#..........",
                               "...........",
                               "...........",
                               ".....#.....",
                               "...........",
                               "...........",
                               ".........##",
                               "........###",
                               "........###",
                           }));
}

// A radius of 2^30 with the top of the circle on row 5: that row is flat across the buffer, for tens
// of thousands of pixels, and nothing else is inside.
TEST_F(CirclesTest, HugeCirclesDrawWhatCrossesTheBuffer) {
    const int32_t r = 1 << 30;
    Circle(h_, 5, 5 + r, r, 1);
    Rows expected(11, "...........");
    expected[5] = "###########";
    EXPECT_EQ(Picture(h_), expected);
    FillCircle(h_, 5, 5 + r, r, 1);
    for (int y = 6; y < 11; ++y) expected[size_t(y)] = "###########";
    EXPECT_EQ(Picture(h_), expected);
}

// The walk that jumps over the steps whose pixels all miss the buffer against the plain walk, with
// the buffer placed at random points of random circles.
TEST_F(CirclesTest, SkippingStepsOutsideTheBufferChangesNoPixel) {
    const int32_t a = SetupBuffer(40, 30, 0), b = SetupBuffer(40, 30, 0);
    TBufferVx &plain = *TheLibrary().handles.Find(a), &skipping = *TheLibrary().handles.Find(b);
    std::mt19937 rng(61);
    for (int i = 0; i < 400; ++i) {
        const int32_t r = std::uniform_int_distribution<int32_t>(8, 6000)(rng);
        const double angle = std::uniform_real_distribution<double>(0, 6.2832)(rng);
        const int32_t cx = 20 - int32_t(std::lround(r * std::cos(angle))) + int32_t(rng() % 21) - 10;
        const int32_t cy = 15 - int32_t(std::lround(r * std::sin(angle))) + int32_t(rng() % 21) - 10;
        const bool fill = i % 2;
        Fill(a, 0);
        Fill(b, 0);
        if (fill) {
            draw::FillCircle(plain, cx, cy, r, 1, INT64_MAX);
            draw::FillCircle(skipping, cx, cy, r, 1, 0);
        } else {
            draw::Circle(plain, cx, cy, r, 1, INT64_MAX);
            draw::Circle(skipping, cx, cy, r, 1, 0);
        }
        ASSERT_EQ(Picture(b), Picture(a)) << (fill ? "filled" : "outline") << " r " << r << " at " << cx << "," << cy;
    }
}

}  // namespace
}  // namespace vxl::testing
