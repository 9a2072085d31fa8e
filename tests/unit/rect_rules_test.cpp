// The rectangle rules on their own: the worked cases, the two crop roundings, and hostile
// coordinates that must still give rectangles inside the source and the bounds.
#include "blit/rect_rules.h"

#include <gtest/gtest.h>

#include <climits>
#include <random>

namespace vxl::testing {
namespace {

using platform::Rect;

TEST(RectRulesTest, PlacementClipsAtEveryEdge) {
    // Source 10 x 10 onto 20 x 20 bounds.
    auto p = ClipPlacement(10, 10, -3, 0, 20, 20);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->source, (Rect{3, 0, 10, 10}));
    EXPECT_EQ(std::pair(p->x, p->y), std::pair(0, 0));
    p = ClipPlacement(10, 10, 15, 15, 20, 20);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->source, (Rect{0, 0, 5, 5}));
    EXPECT_EQ(std::pair(p->x, p->y), std::pair(15, 15));
    p = ClipPlacement(30, 30, -10, -10, 20, 20);  // larger than the bounds
    ASSERT_TRUE(p);
    EXPECT_EQ(p->source, (Rect{10, 10, 30, 30}));
    for (auto [x, y] : {std::pair{20, 0}, {0, 20}, {-10, 0}, {0, -10}, {21, 0}, {-11, 0}}) {
        EXPECT_FALSE(ClipPlacement(10, 10, x, y, 20, 20)) << x << "," << y;
    }
}

TEST(RectRulesTest, SubRectOrdersCornersAndClampsWithoutMovingTheDestination) {
    auto p = ClipSubRect(10, 10, 5, 5, 5, 5, 7, 8, 20, 20);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->source, (Rect{5, 5, 6, 6}));
    auto swapped = ClipSubRect(10, 10, 9, 9, 0, 0, 0, 0, 20, 20);
    auto ordered = ClipSubRect(10, 10, 0, 0, 9, 9, 0, 0, 20, 20);
    ASSERT_TRUE(swapped && ordered);
    EXPECT_EQ(swapped->source, ordered->source);
    p = ClipSubRect(10, 10, -5, 0, 3, 9, 100, 0, 200, 20);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->source, (Rect{0, 0, 4, 10}));
    EXPECT_EQ(p->x, 100);
    // Cut at the right and bottom bounds, and shifted at the left and top.
    p = ClipSubRect(10, 10, 2, 2, 7, 7, 17, -2, 20, 20);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->source, (Rect{2, 4, 5, 8}));
    EXPECT_EQ(std::pair(p->x, p->y), std::pair(17, 0));
    // Corners wholly outside the source give nothing.
    EXPECT_FALSE(ClipSubRect(10, 10, 12, 0, 15, 5, 0, 0, 20, 20));
    EXPECT_FALSE(ClipSubRect(10, 10, -8, 0, -2, 5, 0, 0, 20, 20));
}

TEST(RectRulesTest, RectsThatTouchOverlap) {
    EXPECT_TRUE(RectsOverlap(0, 0, 10, 10, 10, 0, 20, 10));
    EXPECT_TRUE(RectsOverlap(10, 10, 0, 0, 5, 5, 6, 6));
    EXPECT_FALSE(RectsOverlap(0, 0, 10, 10, 11, 0, 20, 10));
    EXPECT_FALSE(RectsOverlap(0, 0, 10, 10, 0, -5, 10, -1));
}

TEST(RectRulesTest, StretchCropsTruncatingForCopiesAndHalfEvenForTheDisplay) {
    auto p = ClipStretch(10, 10, 0, 0, 20, 10, 100, 100, CropRounding::kTruncate);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->dest, (Rect{0, 0, 20, 10}));
    EXPECT_EQ(p->source, (Rect{0, 0, 10, 10}));
    p = ClipStretch(10, 10, 10, 0, -10, 10, 100, 100, CropRounding::kTruncate);  // corners swapped
    ASSERT_TRUE(p);
    EXPECT_EQ(p->source, (Rect{5, 0, 10, 10}));
    EXPECT_EQ(p->dest, (Rect{0, 0, 10, 10}));
    // 2.5 columns cut at the left: 2 either way. 3.5 columns: 3 truncated, 4 rounded to even.
    for (auto rounding : {CropRounding::kTruncate, CropRounding::kHalfEven}) {
        p = ClipStretch(10, 10, -5, 0, 15, 10, 100, 100, rounding);
        ASSERT_TRUE(p);
        EXPECT_EQ(p->source.left, 2);
        EXPECT_EQ(p->dest, (Rect{0, 0, 15, 10}));
    }
    p = ClipStretch(10, 10, -7, -7, 13, 13, 100, 100, CropRounding::kTruncate);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->source, (Rect{3, 3, 10, 10}));
    p = ClipStretch(10, 10, -7, -7, 13, 13, 100, 100, CropRounding::kHalfEven);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->source, (Rect{4, 4, 10, 10}));
    // Right and bottom: 20 wide onto 10 columns overhanging by 5 (2.5 source columns; 2 either way).
    p = ClipStretch(10, 10, 5, 5, 25, 25, 20, 20, CropRounding::kHalfEven);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->source, (Rect{0, 0, 8, 8}));
    EXPECT_EQ(p->dest, (Rect{5, 5, 20, 20}));
    // Only touching the bounds, or without width: nothing.
    EXPECT_FALSE(ClipStretch(10, 10, 20, 0, 30, 10, 20, 20, CropRounding::kTruncate));
    EXPECT_FALSE(ClipStretch(10, 10, 5, 0, 5, 10, 20, 20, CropRounding::kTruncate));
    EXPECT_FALSE(ClipStretch(10, 10, 0, 5, 10, 5, 20, 20, CropRounding::kHalfEven));
}

// Whatever the host passes, a rule gives rectangles inside the source and the bounds, or nothing.
TEST(RectRulesTest, HostileCoordinatesStayInside) {
    std::mt19937 rng(2024);
    const int32_t extremes[] = {INT32_MIN, INT32_MIN + 1, -1000000, -11, -1, 0, 1, 9, 10, 11, 19, 20,
                                21,        INT32_MAX - 1, INT32_MAX};
    auto pick = [&] { return rng() % 3 ? extremes[rng() % std::size(extremes)] : int32_t(rng() % 60) - 30; };
    auto inside = [](const Rect& r, int64_t w, int64_t h) {
        return r.left >= 0 && r.top >= 0 && r.right <= w && r.bottom <= h && r.left < r.right && r.top < r.bottom;
    };
    for (int i = 0; i < 200000; ++i) {
        const int32_t w = 1 + int32_t(rng() % 12), h = 1 + int32_t(rng() % 12), bw = 20, bh = 20;
        const int32_t a = pick(), b = pick(), c = pick(), d = pick(), e = pick(), f = pick();
        if (auto p = ClipPlacement(w, h, a, b, bw, bh)) {
            ASSERT_TRUE(inside(p->source, w, h));
            ASSERT_TRUE(inside(Rect{p->x, p->y, p->x + p->source.Width(), p->y + p->source.Height()}, bw, bh));
        }
        if (auto p = ClipSubRect(w, h, a, b, c, d, e, f, bw, bh)) {
            ASSERT_TRUE(inside(p->source, w, h)) << a << " " << b << " " << c << " " << d << " " << e << " " << f;
            ASSERT_TRUE(inside(Rect{p->x, p->y, p->x + p->source.Width(), p->y + p->source.Height()}, bw, bh));
        }
        for (auto rounding : {CropRounding::kTruncate, CropRounding::kHalfEven}) {
            if (auto p = ClipStretch(w, h, a, b, c, d, bw, bh, rounding)) {
                ASSERT_TRUE(inside(p->source, w, h)) << a << " " << b << " " << c << " " << d;
                ASSERT_TRUE(inside(p->dest, bw, bh));
            }
        }
    }
}

}  // namespace
}  // namespace vxl::testing
