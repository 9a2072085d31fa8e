// Runs, rectangles, lines, curves, circles and ellipses: the pixels of their steppings, clipping and
// huge coordinates, the bytes every writer stores, the short-cut walks of large shapes against the
// plain ones.
#include <cmath>
#include <random>
#include <span>

#include "draw/circles.h"
#include "draw/curves.h"
#include "draw/ellipses.h"
#include "picture.h"

namespace vxl::testing {
namespace {

using SpansPictureTest = PictureTest<12, 6>;
using SpansDepthTest = DepthTest;

// A run includes both ends in either order and is cut to the buffer; one wholly outside draws
// nothing. Each case is a run and the row (column, read downward) it leaves; "" for nothing.
TEST_F(SpansPictureTest, RunsIncludeBothEndsInEitherOrderAndClampToTheBuffer) {
    struct Run {
        int32_t a, b, at;
        const char* line;
    };
    // clang-format off
    const Run horizontal[] = {{9, 2, 0, "..########.."}, {2, 4, 1, "..###......."}, {-30, 3, 3, "####........"},
                              {8, INT32_MAX, 4, "........####"}, {INT32_MIN, INT32_MAX, 5, "############"},
                              {0, 11, -1, ""}, {0, 11, 6, ""}, {12, 40, 1, ""}, {-40, -1, 1, ""}};
    const Run vertical[] = {{4, 1, 0, ".####."}, {-5, 11, 2, "######"}, {INT32_MIN, 1, 4, "##...."},
                            {3, INT32_MAX, 6, "...###"}, {0, 5, -1, ""}, {0, 5, 12, ""}, {6, 9, 8, ""},
                            {-9, -1, 8, ""}};
    // clang-format on
    for (const bool across : {true, false}) {
        for (const Run& r : across ? std::span<const Run>(horizontal) : std::span<const Run>(vertical)) {
            Fill(h_, 0);
            across ? HLine(h_, r.a, r.b, r.at, 1) : VLine(h_, r.a, r.b, r.at, 1);
            Rows want(6, "............");
            for (int32_t i = 0; r.line[i] != 0; ++i)
                (across ? want[size_t(r.at)][size_t(i)] : want[size_t(i)][size_t(r.at)]) = r.line[i];
            EXPECT_EQ(Picture(h_), want) << (across ? "HLine " : "VLine ") << r.a << ", " << r.b << " at " << r.at;
        }
    }
}

TEST_F(SpansPictureTest, OutlinesTouchBothCornersFillsStopBeforeTheLargerOneAndBothClip) {
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
    // Partly or wholly outside: clipped.
    Fill(h_, 0);
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
// and 16 bits the low word with the high one ignored, at 32 bits the whole colour; in system memory
// and in video memory, where runs go through the blitter.
TEST_P(SpansDepthTest, EveryWriterStoresTheSameBytesOfTheColour) {
    const uint32_t colour = 0xA1B2C3D4;
    std::vector<uint8_t> bytes(bpp_);
    std::memcpy(bytes.data(), &colour, bpp_);
    fake_->hardware = true;  // the display learns it when it opens
    OpenWindowed();
    for (bool video : {false, true}) {
        const int32_t h = SetupBuffer(68, 12, video);
        ASSERT_EQ(TheLibrary().handles.Find(h)->in_video_memory(), video);
        HLine(h, 0, 67, 0, colour);  // long enough for the wide stores
        HLine(h, 3, 1, 1, colour);   // short: single stores
        VLine(h, 2, 4, 64, colour);
        FillRect(h, 30, 1, 33, 3, colour);
        Rect(h, 5, 1, 8, 3, colour);
        Line(h, 0, 11, 7, 4, colour);
        Circle(h, 14, 6, 3, colour);
        FillCircle(h, 24, 7, 4, colour);
        Ellipse(h, 38, 7, 8, 3, colour);
        FillEllipse(h, 56, 8, 6, 3, colour);
        // clang-format off
        const int32_t written[][2] = {{0, 0}, {17, 0}, {67, 0}, {1, 1}, {3, 1}, {64, 3}, {32, 2}, {5, 1}, {8, 3},
                                      {3, 8}, {14, 3}, {28, 7}, {24, 11}, {46, 7}, {38, 4}, {56, 11}};
        // clang-format on
        for (const auto& [x, y] : written) {
            const auto* p = static_cast<const uint8_t*>(BufferPointer(h)) + (size_t(y) * 68 + size_t(x)) * bpp_;
            EXPECT_EQ(std::vector<uint8_t>(p, p + bpp_), bytes) << x << "," << y << (video ? " video" : "");
        }
        for (auto [x, y] : {std::pair{0, 1}, {4, 1}, {33, 2}, {14, 6}, {38, 7}, {1, 9}}) {
            EXPECT_EQ(GetPixel(h, x, y), 0u) << x << "," << y << (video ? " video" : "");  // beside and inside
        }
        CloseBuffer(h);
    }
}
INSTANTIATE_TEST_SUITE_P(Depths, SpansDepthTest,
                         ::testing::Combine(::testing::Values(15u, 16u, 24u, 32u), ::testing::Values(false)),
                         DepthName);

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
    // Toward zero -6/10 is 0 and the clip walks both ends to (0, 0); a floor would give -1 and reject.
    Line(h_, -3, 0, 7, -2, 1);
    EXPECT_EQ(Picture(h_), (Rows{
                               "#.........",
                               "##........",
                               "..##......",
                               "....##....",
                               "......##..",
                               "##########",
                           }));
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
    EXPECT_EQ(std::pair(TheLibrary().pen_x, TheLibrary().pen_y), std::pair(2, 0));
    EXPECT_EQ(Picture(h_), (Rows{
                               "###.......",
                               "..........",
                               "..........",
                               "........#.",
                               "........#.",
                               ".....####.",
                           }));
}

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

// The outline is symmetric and the fill covers each of its rows from its first pixel to its last.
TEST_F(CirclesTest, FillCoversTheRowsOfTheOutline) {
    Circle(h_, 5, 5, 5, 1);
    const Rows outline = Picture(h_);
    EXPECT_EQ(Rows(outline.rbegin(), outline.rend()), outline);
    for (const std::string& row : outline) EXPECT_EQ(std::string(row.rbegin(), row.rend()), row);
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

// A radius of 2^30 with the top of the shape on row 5: that row is flat across the buffer, for tens of
// thousands of pixels, the fill covers what lies below it, and nothing else is inside.
TEST_F(CirclesTest, HugeCirclesAndEllipsesDrawWhatCrossesTheBuffer) {
    const int32_t r = 1 << 30;
    for (const bool fill : {false, true}) {
        for (const bool ellipse : {false, true}) {
            Fill(h_, 0);
            if (ellipse) fill ? FillEllipse(h_, 5, 5 + r, r, r, 1) : Ellipse(h_, 5, 5 + r, r, r, 1);
            if (!ellipse) fill ? FillCircle(h_, 5, 5 + r, r, 1) : Circle(h_, 5, 5 + r, r, 1);
            Rows expected(11, "...........");
            for (size_t y = 5; y < (fill ? 11 : 6); ++y) expected[y] = "###########";
            EXPECT_EQ(Picture(h_), expected) << fill << ellipse;
        }
    }
}

// The walks that jump over the steps whose pixels all miss the buffer (circles) or work per column or
// row (ellipses) against the plain walks, with the buffer at random points of random shapes, flat
// and tall ellipses included.
TEST_F(CirclesTest, ShortCutWalksOfLargeShapesChangeNoPixel) {
    const int32_t a = SetupBuffer(40, 30, 0), b = SetupBuffer(40, 30, 0);
    TBufferVx &plain = *TheLibrary().handles.Find(a), &short_cut = *TheLibrary().handles.Find(b);
    std::mt19937 rng(61);
    for (int i = 0; i < 800; ++i) {
        const bool circle = i < 400, fill = i % 2;
        const int32_t rx = std::uniform_int_distribution<int32_t>(circle ? 8 : 0, i % 3 ? 6000 : 20)(rng);
        const int32_t ry = circle ? rx : std::uniform_int_distribution<int32_t>(-3000, 3000)(rng);
        const double angle = std::uniform_real_distribution<double>(0, 6.2832)(rng);
        const int32_t cx = 20 - int32_t(std::lround(rx * std::cos(angle))) + int32_t(rng() % 21) - 10;
        const int32_t cy = 15 - int32_t(std::lround(ry * std::sin(angle))) + int32_t(rng() % 21) - 10;
        for (auto [buffer, limit] : {std::pair{&plain, INT64_MAX}, {&short_cut, int64_t(circle ? 0 : -1)}}) {
            buffer->Fill(0);
            if (circle)
                fill ? draw::FillCircle(*buffer, cx, cy, rx, 1, limit) : draw::Circle(*buffer, cx, cy, rx, 1, limit);
            if (!circle) {
                fill ? draw::FillEllipse(*buffer, cx, cy, rx, ry, 1, limit)
                     : draw::Ellipse(*buffer, cx, cy, rx, ry, 1, limit);
            }
        }
        ASSERT_EQ(Picture(b), Picture(a)) << (circle ? "circle " : "ellipse ") << (fill ? "filled " : "outline ") << rx
                                          << "x" << ry << " at " << cx << "," << cy;
    }
}

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

TEST_F(EllipsesTest, AWideEllipseHasItsFlatTopAndEndPixelsAndZeroAxesLeaveAPointOrARun) {
    Ellipse(h_, 8, 3, 8, 3, 1);
    EXPECT_EQ(Picture(h_), kWide);
    Fill(h_, 0);
    Ellipse(h_, 8, 3, 8, -3, 1);  // a negative vertical semi-axis counts as its size
    EXPECT_EQ(Picture(h_), kWide);
    FillEllipse(h_, 8, 3, 8, 3, 1);
    EXPECT_EQ(Picture(h_), Filled(kWide));
    // Zero semi-axes leave a point or a run.
    Fill(h_, 0);
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

}  // namespace
}  // namespace vxl::testing
