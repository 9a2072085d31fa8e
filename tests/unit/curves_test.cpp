#include "draw/curves.h"

#include "picture.h"

namespace vxl::testing {
namespace {

using CurvesTest = PictureTest<9, 4>;

// The middle sample is (2.5, 3): a half goes to the even integer, 2. The samples are joined new
// point first.
TEST_F(CurvesTest, SamplesRoundHalfToEvenAndAreJoinedByLines) {
    CubicBezierLine(h_, 0, 0, 8, 0, 0, 4, 4, 4, 2, 1);
    EXPECT_EQ(Picture(h_), (Rows{
                               "#.......#",
                               ".#....##.",
                               ".#..##...",
                               "..##.....",
                           }));
}

TEST_F(CurvesTest, OneStepIsTheStartPixelAndTheLineFromTheEndBack) {
    // Drawn from (5, 3) back to (1, 1); the other way round would pick (2, 2) and (4, 3).
    CubicBezierLine(h_, 1, 1, 5, 3, 500, -900, -700, 800, 1, 1);
    EXPECT_EQ(Picture(h_), (Rows{
                               ".........",
                               ".##......",
                               "...##....",
                               ".....#...",
                           }));
}

TEST_F(CurvesTest, DegenerateCurvesAndStepCounts) {
    CubicBezierLine(h_, 4, 2, 4, 2, 4, 2, 4, 2, 7, 1);  // all four points equal: one pixel
    CubicBezierLine(h_, 0, 0, 8, 3, 0, 3, 8, 0, 0, 1);  // no steps, or fewer: nothing
    CubicBezierLine(h_, 0, 0, 8, 3, 0, 3, 8, 0, -5, 1);
    Rows expected(4, ".........");
    expected[2][4] = '#';
    EXPECT_EQ(Picture(h_), expected);
}

TEST_F(CurvesTest, HugeCoordinatesAndStepCountsFinishAndClip) {
    // The sum of the control polygon leaves 32 bits; the line clipper takes the samples as they are.
    CubicBezierLine(h_, 0, 1, 8, 1, INT32_MIN, INT32_MAX, INT32_MAX, INT32_MIN, 64, 1);
    EXPECT_EQ(GetPixel(h_, 0, 1), 1u);
    EXPECT_EQ(GetPixel(h_, 8, 1), 1u);
    // t stops growing long before it reaches 1; the walk ends there.
    Fill(h_, 0);
    CubicBezierLine(h_, 0, 3, 8, 3, 0, 3, 8, 3, INT32_MAX, 1);
    EXPECT_EQ(GetPixel(h_, 0, 3), 1u);
}

}  // namespace
}  // namespace vxl::testing
