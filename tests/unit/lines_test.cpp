#include "draw/lines.h"

#include "fake_fixture.h"
#include "picture.h"

namespace vxl::testing {
namespace {

using Rows = std::vector<std::string>;

class LinesTest : public FakeTest {
protected:
    void SetUp() override {
        FakeTest::SetUp();
        OpenWindowed();
        h_ = SetupBuffer(10, 6, 0);
    }
    int32_t h_ = 0;
};

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

TEST_F(LinesTest, ClipLineWalksTheRegionCodesInOrder) {
    int64_t x1 = -3, y1 = 0, x2 = 7, y2 = 4;
    ASSERT_TRUE(draw::ClipLine(9, 9, x1, y1, x2, y2));
    EXPECT_EQ((std::vector{x1, y1, x2, y2}), (std::vector<int64_t>{0, 1, 7, 4}));
    x1 = 20, y1 = 20, x2 = -10, y2 = -10;  // below first, then right, for each end
    ASSERT_TRUE(draw::ClipLine(9, 9, x1, y1, x2, y2));
    EXPECT_EQ((std::vector{x1, y1, x2, y2}), (std::vector<int64_t>{9, 9, 0, 0}));
    x1 = -4, y1 = 2, x2 = 5, y2 = -7;  // after one clip both ends are above: rejected
    EXPECT_FALSE(draw::ClipLine(9, 9, x1, y1, x2, y2));
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

// The accumulator's steps with the layout's bytes: 24 bits as bytes 0, 1, 2, 16 bits without the high
// word.
using LinesDepthTest = DepthTest;

TEST_P(LinesDepthTest, LinesStoreTheLayoutsBytes) {
    const uint32_t colour = 0xA1B2C3D4;
    std::vector<uint8_t> bytes(bpp_);
    std::memcpy(bytes.data(), &colour, bpp_);
    const int32_t h = SetupBuffer(8, 8, 0);
    Line(h, 0, 7, 7, 0, colour);
    Line(h, 3, 3, 3, 3, colour);
    for (int32_t i = 0; i < 8; ++i) EXPECT_EQ(PixelBytes(h, i, 7 - i, bpp_), bytes) << i;
    EXPECT_EQ(PixelBytes(h, 3, 3, bpp_), bytes);
    EXPECT_EQ(GetPixel(h, 1, 1), 0u);
}
INSTANTIATE_TEST_SUITE_P(Depths, LinesDepthTest,
                         ::testing::Combine(::testing::Values(15u, 16u, 24u, 32u), ::testing::Values(false)),
                         DepthName);

}  // namespace
}  // namespace vxl::testing
