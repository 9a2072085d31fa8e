#include "picture.h"

namespace vxl::testing {
namespace {

using LinesTest = PictureTest<10, 6>;

TEST_F(LinesTest, TheAccumulatorStartsAtHalfTheLongestSideAndBothEndsAreDrawn) {
    Line(h_, 0, 0, 4, 2, 1);  // (0,0) (1,1) (2,1) (3,2) (4,2)
    Line(h_, 9, 0, 6, 3, 1);  // equal sides: a diagonal step every time
    Line(h_, 0, 5, 2, 3, 1);
    Line(h_, 5, 5, 5, 5, 1);  // one pixel
    EXPECT_EQ(Picture(h_), (Rows{
                               "#........#",
                               ".##.....#.",
                               "...##..#..",
                               "..#...#...",
                               ".#........",
                               "#....#....",
                           }));
}

TEST_F(LinesTest, SteepLinesStepAlongYAndTiesDependOnTheDirection) {
    Line(h_, 0, 0, 2, 5, 1);
    Line(h_, 4, 0, 5, 2, 1);
    Line(h_, 8, 2, 7, 0, 1);  // the same slope from the other end takes the diagonal first
    EXPECT_EQ(Picture(h_), (Rows{
                               "#...#..#..",
                               "#....#.#..",
                               ".#...#..#.",
                               ".#........",
                               "..#.......",
                               "..#.......",
                           }));
}

TEST_F(LinesTest, ClippingMovesEndpointsWithTruncatingDivision) {
    Line(h_, -10, 5, 20, 5, 1);  // across the whole row
    Line(h_, -3, 0, 7, 4, 1);    // enters at (0, 12/10 = 1)
    EXPECT_EQ(Picture(h_), (Rows{
                               "..........",
                               "##........",
                               "..##......",
                               "....##....",
                               "......##..",
                               "##########",
                           }));
}

TEST_F(LinesTest, TruncationTowardZeroCanLeaveOnePixelOfALineThatOnlyGrazesTheCorner) {
    // Toward zero -6/10 is 0 and the clip walks both ends to (0, 0); a floor would give -1 and reject.
    Line(h_, -3, 0, 7, -2, 1);
    Rows expected(6, "..........");
    expected[0][0] = '#';
    EXPECT_EQ(Picture(h_), expected);
}

TEST_F(LinesTest, LinesOutsideOrWithHugeCoordinatesDrawOnlyWhatCrossesTheBuffer) {
    Line(h_, -5, -5, -5, -5, 1);  // one point outside
    Line(h_, -1, 0, -1, 5, 1);
    Line(h_, 0, 6, 9, 6, 1);
    Line(h_, -20, 3, 3, -20, 1);
    EXPECT_EQ(Picture(h_), Rows(6, ".........."));
    // The products of the clip need more than 64 bits here.
    Line(h_, INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX, 1);
    Line(h_, 9 + (1 << 30), -(1 << 30), 9 - (1 << 30), 1 << 30, 1);
    EXPECT_EQ(Picture(h_), (Rows{
                               "#........#",
                               ".#......#.",
                               "..#....#..",
                               "...#..#...",
                               "....##....",
                               "....##....",
                           }));
}

TEST_F(LinesTest, LineToDrawsFromThePenAndMovesItEvenWithoutABuffer) {
    MoveTo(h_, 5, 5);
    LineTo(h_, 8, 5, 1);
    LineTo(h_, 8, 3, 1);
    LineTo(9999, 0, 0, 1);  // no buffer: nothing drawn, the pen still moves
    LineTo(h_, 2, 0, 1);
    EXPECT_EQ(TheLibrary().pen_x, 2);
    EXPECT_EQ(TheLibrary().pen_y, 0);
    EXPECT_EQ(Picture(h_), (Rows{
                               "###.......",
                               "..........",
                               "..........",
                               "........#.",
                               "........#.",
                               ".....####.",
                           }));
}

}  // namespace
}  // namespace vxl::testing
