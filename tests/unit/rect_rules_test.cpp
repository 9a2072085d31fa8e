// The rectangle rules on their own: the stretch cases the copy and display tests do not reach, and
// hostile coordinates that must still give rectangles inside the source and the bounds.
#include "blit/rect_rules.h"

#include <gtest/gtest.h>

#include <climits>
#include <random>

namespace vxl::testing {
namespace {

using platform::Rect;

TEST(RectRulesTest, RectsThatTouchOverlap) {
    EXPECT_TRUE(RectsOverlap(0, 0, 10, 10, 10, 0, 20, 10));
    EXPECT_TRUE(RectsOverlap(10, 10, 0, 0, 5, 5, 6, 6));
    EXPECT_FALSE(RectsOverlap(0, 0, 10, 10, 11, 0, 20, 10));
    EXPECT_FALSE(RectsOverlap(0, 0, 10, 10, 0, -5, 10, -1));
}

TEST(RectRulesTest, StretchTakesCornersInEitherOrderAndCropsAtTheFarEdges) {
    auto p = ClipStretch(10, 10, 0, 0, 20, 10, 100, 100, CropRounding::kTruncate);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->dest, (Rect{0, 0, 20, 10}));
    EXPECT_EQ(p->source, (Rect{0, 0, 10, 10}));
    p = ClipStretch(10, 10, 10, 0, -10, 10, 100, 100, CropRounding::kTruncate);  // corners swapped
    ASSERT_TRUE(p);
    EXPECT_EQ(p->source, (Rect{5, 0, 10, 10}));
    EXPECT_EQ(p->dest, (Rect{0, 0, 10, 10}));
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
