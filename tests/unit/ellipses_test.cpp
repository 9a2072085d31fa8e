#include "draw/ellipses.h"

#include <random>

#include "picture.h"

namespace vxl::testing {
namespace {

using EllipsesTest = PictureTest<17, 7>;

const Rows kWide = {
    "....#########....",  //
    "..##.........##..",  //
    ".#.............#.",  //
    "#...............#",  //
    ".#.............#.",  //
    "..##.........##..",  //
    "....#########....",  //
};

TEST_F(EllipsesTest, AWideEllipseHasItsFlatTopAndItsEndPixels) {
    Ellipse(h_, 8, 3, 8, 3, 1);
    EXPECT_EQ(Picture(h_), kWide);
    Fill(h_, 0);
    Ellipse(h_, 8, 3, 8, -3, 1);  // a negative vertical semi-axis counts as its size
    EXPECT_EQ(Picture(h_), kWide);
    FillEllipse(h_, 8, 3, 8, 3, 1);
    EXPECT_EQ(Picture(h_), Filled(kWide));
}

TEST_F(EllipsesTest, ZeroSemiAxesLeaveAPointOrARun) {
    Ellipse(h_, 2, 3, 0, 3, 1);  // only the centre, whatever the height
    Ellipse(h_, 10, 1, 4, 0, 1);
    FillEllipse(h_, 10, 5, 3, 0, 1);
    FillEllipse(h_, 15, 5, 0, 2, 1);
    Ellipse(h_, 5, 5, -2, 1, 1);  // a negative width: only the two axis pixels, at 5 -/+ 2
    EXPECT_EQ(Picture(h_), (Rows{
                               ".................",
                               "......#########..",
                               ".................",
                               "..#..............",
                               ".................",
                               "...#...#######.#.",
                               ".................",
                           }));
}

// The stepping, not a circle: equal semi-axes of 5 give a three-pixel top where a circle has five.
TEST_F(EllipsesTest, EqualSemiAxesFollowTheEllipseStepping) {
    const int32_t h = SetupBuffer(11, 11, 0);
    Ellipse(h, 5, 5, 5, 5, 1);
    const Rows picture = Picture(h);
    EXPECT_EQ(Rows(picture.begin(), picture.begin() + 6), (Rows{
                                                              "....###....",
                                                              "..##...##..",
                                                              ".#.......#.",
                                                              ".#.......#.",
                                                              "#.........#",
                                                              "#.........#",
                                                          }));
    EXPECT_EQ(picture[10], picture[0]);  // and the same below
}

TEST_F(EllipsesTest, TheBoundingBoxRejectsAndPartEllipsesClip) {
    Ellipse(h_, -9, 3, 8, 3, 1);
    Ellipse(h_, 8, 10, 8, 3, 1);
    FillEllipse(h_, 25, 3, 8, 3, 1);
    FillEllipse(h_, 8, -4, 8, 3, 1);
    EXPECT_EQ(Picture(h_), Rows(7, "................."));
    FillEllipse(h_, 0, 0, 8, 3, 1);
    Ellipse(h_, 16, 6, 8, 3, 1);
    EXPECT_EQ(Picture(h_), (Rows{
                               "#########........",
                               "########.........",
                               "#######..........",
                               "#####.......#####",
                               "..........##.....",
                               ".........#.......",
                               "........#........",
                           }));
}

TEST_F(EllipsesTest, HugeEllipsesDrawWhatCrossesTheBuffer) {
    const int32_t r = 1 << 30;
    // A flat top row across the buffer, as for a circle of that size.
    Ellipse(h_, 8, 3 + r, r, r, 1);
    Rows expected(7, ".................");
    expected[3] = "#################";
    EXPECT_EQ(Picture(h_), expected);
    FillEllipse(h_, 8, 3 + r, r, r, 1);
    for (int y = 4; y < 7; ++y) expected[size_t(y)] = "#################";
    EXPECT_EQ(Picture(h_), expected);
}

// Per-column and per-row working against the plain passes, with the buffer at random points of random
// ellipses, flat and tall ones included.
TEST_F(EllipsesTest, WorkingPerColumnOrRowGivesThePassesPixels) {
    const int32_t a = SetupBuffer(40, 30, 0), b = SetupBuffer(40, 30, 0);
    TBufferVx &plain = *TheLibrary().handles.Find(a), &direct = *TheLibrary().handles.Find(b);
    std::mt19937 rng(62);
    for (int i = 0; i < 400; ++i) {
        const int32_t rx = std::uniform_int_distribution<int32_t>(0, i % 3 ? 3000 : 20)(rng);
        const int32_t ry = std::uniform_int_distribution<int32_t>(-3000, 3000)(rng);
        const double angle = std::uniform_real_distribution<double>(0, 6.2832)(rng);
        const int32_t cx = 20 - int32_t(std::lround(rx * std::cos(angle))) + int32_t(rng() % 21) - 10;
        const int32_t cy = 15 - int32_t(std::lround(ry * std::sin(angle))) + int32_t(rng() % 21) - 10;
        const bool fill = i % 2;
        Fill(a, 0);
        Fill(b, 0);
        if (fill) {
            draw::FillEllipse(plain, cx, cy, rx, ry, 1, INT64_MAX);
            draw::FillEllipse(direct, cx, cy, rx, ry, 1, -1);
        } else {
            draw::Ellipse(plain, cx, cy, rx, ry, 1, INT64_MAX);
            draw::Ellipse(direct, cx, cy, rx, ry, 1, -1);
        }
        ASSERT_EQ(Picture(b), Picture(a))
            << (fill ? "filled" : "outline") << " " << rx << "x" << ry << " at " << cx << "," << cy;
    }
}

}  // namespace
}  // namespace vxl::testing
