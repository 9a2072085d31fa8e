// Copies between buffers through the exports, at every depth: placement and clipping, keys, stretches
// and a lost surface on the way; the rectangle rules on their own (stretch crops, hostile coordinates
// that must still give rectangles inside the source and the bounds).
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <functional>
#include <optional>
#include <random>
#include <utility>

#include "blit/rect_rules.h"
#include "fake_fixture.h"

namespace vxl::testing {
namespace {

using namespace platform;

// Where a destination pixel's value comes from: a source pixel, or nothing (the background stays).
using From = std::optional<std::pair<int32_t, int32_t>>;

class CopyTest : public DepthTest {
protected:
    static constexpr uint32_t kBackground = 0x1F;

    int32_t Destination(int32_t w, int32_t h) {
        const int32_t b = SetupBuffer(w, h, 0);
        Fill(b, kBackground);
        return b;
    }

    // Every destination pixel holds what `from` says; the first wrong one is reported.
    void ExpectPicture(int32_t dst, const std::function<From(int32_t x, int32_t y)>& from) {
        for (int32_t y = 0; y < BufferSizeY(dst); ++y)
            for (int32_t x = 0; x < BufferSizeX(dst); ++x) {
                const auto s = from(x, y);
                const uint32_t want = s ? Code(s->first, s->second) : kBackground;
                ASSERT_EQ(GetPixel(dst, x, y), want) << "at " << x << "," << y;
            }
    }
};

TEST_P(CopyTest, WholeBufferClipsAtEveryEdge) {
    const int32_t src = CodedBuffer(10, 10), dst = Destination(20, 20);
    // clang-format off
    const std::pair<int32_t, int32_t> places[] = {{-3, 0}, {15, 15}, {0, -9}, {20, 0}, {-10, 0}, {0, 20}, {0, -10},
                                                  {INT32_MAX, 0}, {INT32_MIN, INT32_MIN}};
    // clang-format on
    for (auto [x, y] : places) {
        Fill(dst, kBackground);
        CopyBuffer(src, dst, x, y);
        ExpectPicture(dst, [x, y](int32_t i, int32_t j) -> From {
            const int64_t sx = int64_t(i) - x, sy = int64_t(j) - y;
            if (sx >= 0 && sx < 10 && sy >= 0 && sy < 10) return std::pair(int32_t(sx), int32_t(sy));
            return std::nullopt;
        });
    }
}

TEST_P(CopyTest, RectangleOfTheSource) {
    const int32_t src = CodedBuffer(10, 10), dst = Destination(200, 12);
    CopyBit(src, dst, 5, 5, 5, 5, 1, 1);
    CopyBit(src, dst, 9, 9, 8, 8, 3, 3);     // corners in either order
    CopyBit(src, dst, -5, 0, 3, 1, 100, 0);  // clamped corner, destination not moved
    CopyBit(src, dst, 0, 0, 9, 9, 197, 10);  // cut at the right and bottom
    ExpectPicture(dst, [](int32_t x, int32_t y) -> From {
        if (x == 1 && y == 1) return std::pair(5, 5);
        if (x >= 3 && x <= 4 && y >= 3 && y <= 4) return std::pair(x + 5, y + 5);
        if (x >= 100 && x <= 103 && y <= 1) return std::pair(x - 100, y);
        if (x >= 197 && y >= 10) return std::pair(x - 197, y - 10);
        return std::nullopt;
    });
}

// The blitter's key is the whole stored value: spare bits count (pixels Negative or CopyXor leave
// there stay opaque), and a key wider than the pixel matches nothing. Each row is a stored pixel, a
// key and whether the pixel is left out, tried through every keyed copy (the display's draws share
// the surfaces' keyed blit); the key a keyed copy leaves set on the source must not matter to a plain
// copy after it.
TEST_P(CopyTest, KeyComparesTheWholeStoredValue) {
    struct Row {
        uint32_t depth, pixel, key;
        bool left_out;
    };
    const Row rows[] = {
        {15, 0x7C1F, 0x7C1F, true},        {15, 0xFC1F, 0x7C1F, false},        {15, 0xFC1F, 0xFC1F, true},
        {15, 0x7C1F, 0x17C1F, false},      {16, 0xF81F, 0xF81F, true},         {16, 0xF81F, 0x101F81F, false},
        {24, 0xFF00FF, 0xFF00FF, true},    {24, 0xFF00FF, 0x1FF00FF, false},   {32, 0xFF00FF, 0xFF00FF, true},
        {32, 0xABFF00FF, 0xFF00FF, false}, {32, 0xABFF00FF, 0xABFF00FF, true}, {32, 0xFF00FF, 0xABFF00FF, false},
    };
    using Keyed = void (*)(int32_t src, int32_t dst, uint32_t key);
    const std::pair<const char*, Keyed> ways[] = {
        {"CopySprite", [](int32_t s, int32_t d, uint32_t k) { CopySprite(s, d, 0, 0, k); }},
        {"CopyBitSprite", [](int32_t s, int32_t d, uint32_t k) { CopyBitSprite(s, d, 0, 0, 1, 0, 0, 0, k); }},
        {"CopyScaleSprite", [](int32_t s, int32_t d, uint32_t k) { CopyScaleSprite(s, d, 0, 0, 4, 1, k); }},
        {"plain CopyBuffer",
         [](int32_t s, int32_t d, uint32_t k) { CopySprite(s, d, 1, 0, k), CopyBuffer(s, d, 0, 0); }},
    };
    const uint32_t stored = bpp_ == 4 ? 0xFFFFFFFF : (1u << (8 * bpp_)) - 1;
    const int32_t src = SetupBuffer(2, 1, 0), dst = SetupBuffer(4, 1, 0);
    for (const Row& r : rows) {
        if (r.depth != depth_) continue;
        PutPixel(src, 0, 0, r.pixel);
        PutPixel(src, 1, 0, 0x21);
        for (const auto& [name, copy] : ways) {
            Fill(dst, kBackground);
            copy(src, dst, r.key);
            uint32_t got = 0;
            std::memcpy(&got, BufferPointer(dst), bpp_);
            EXPECT_EQ(got, r.left_out && name[0] != 'p' ? kBackground : r.pixel & stored)
                << name << " pixel " << std::hex << r.pixel << " key " << r.key;
        }
    }
}

TEST_P(CopyTest, FactorTwoStretchDoublesEveryPixel) {
    const int32_t src = CodedBuffer(5, 3), dst = Destination(12, 8);
    CopyScale(src, dst, 0, 0, 10, 6);
    ExpectPicture(dst, [](int32_t x, int32_t y) -> From {
        if (x < 10 && y < 6) return std::pair(x / 2, y / 2);
        return std::nullopt;
    });
    // Factor 4 across, overhanging the left edge by 10 columns: 2.5 source columns cut, truncated to 2,
    // and the remaining three stretched onto what is left.
    Fill(dst, kBackground);
    CopyScale(src, dst, 10, 6, -10, 0);
    ExpectPicture(dst, [](int32_t x, int32_t y) -> From {
        if (x < 10 && y < 6) return std::pair(2 + (2 * x + 1) * 3 / 20, y / 2);
        return std::nullopt;
    });
}

INSTANTIATE_TEST_SUITE_P(Depths, CopyTest, AllDepths(), DepthName);

using CopyFailureTest = FakeTest;

TEST_F(CopyFailureTest, LostSurfaceIsRestoredThroughTheSourceAndTheCopyDropped) {
    OpenWindowed();
    const int32_t src = SetupBuffer(2, 2, 0), dst = SetupBuffer(2, 2, 0);
    Fill(src, 0x123);
    Library& lib = TheLibrary();
    TBufferVx& s = *lib.handles.Find(src);
    TBufferVx& d = *lib.handles.Find(dst);
    s.surface()->MarkLost();
    lib.display->back()->MarkLost();
    CopyBuffer(src, dst, 0, 0);
    EXPECT_EQ(GetPixel(dst, 0, 0), 0u);  // dropped, not retried
    EXPECT_EQ(std::pair(s.surface()->IsLost(), lib.display->back()->IsLost()), std::pair(DD_OK, DD_OK));
    // A lost destination is not the source's to restore: that copy is dropped and it stays lost.
    d.surface()->MarkLost();
    CopyBuffer(src, dst, 0, 0);
    EXPECT_EQ(d.surface()->IsLost(), DDERR_SURFACELOST);
    CopyBuffer(dst, src, 0, 0);  // copying from it restores it
    EXPECT_EQ(d.surface()->IsLost(), DD_OK);
    // The rules keep copies inside; the surfaces refuse one that would leave the destination.
    EXPECT_EQ(d.surface()->BltFast(1, 0, s.surface().get(), nullptr, 0), DDERR_INVALIDRECT);
}

TEST(RectRulesTest, RectsThatTouchOverlap) {
    EXPECT_TRUE(RectsOverlap(0, 0, 10, 10, 10, 0, 20, 10));
    EXPECT_TRUE(RectsOverlap(10, 10, 0, 0, 5, 5, 6, 6));
    EXPECT_FALSE(RectsOverlap(0, 0, 10, 10, 11, 0, 20, 10));
    EXPECT_FALSE(RectsOverlap(0, 0, 10, 10, 0, -5, 10, -1));
}

// Each row: the destination corners and bounds, the rounding of a cut source column, and the source
// and destination rectangles the rule gives (no width: nothing).
TEST(RectRulesTest, StretchTakesCornersInEitherOrderAndCropsAtTheFarEdges) {
    const struct {
        int32_t x1, y1, x2, y2, bounds;
        CropRounding rounding;
        Rect source, dest;
    } cases[] = {
        {0, 0, 20, 10, 100, CropRounding::kTruncate, {0, 0, 10, 10}, {0, 0, 20, 10}},
        {10, 0, -10, 10, 100, CropRounding::kTruncate, {5, 0, 10, 10}, {0, 0, 10, 10}},  // swapped, cut left
        // 20 wide onto 15 columns cut by 5 (2.5 source columns; 2 either way).
        {5, 5, 25, 25, 20, CropRounding::kHalfEven, {0, 0, 8, 8}, {5, 5, 20, 20}},
        // Cut by 7: 3.5 columns, 4 to the even neighbour, 3 truncated.
        {5, 5, 25, 25, 18, CropRounding::kHalfEven, {0, 0, 6, 6}, {5, 5, 18, 18}},
        {5, 5, 25, 25, 18, CropRounding::kTruncate, {0, 0, 7, 7}, {5, 5, 18, 18}},
        {20, 0, 30, 10, 20, CropRounding::kTruncate, {}, {}},  // only touching the bounds
        {5, 0, 5, 10, 20, CropRounding::kTruncate, {}, {}},
        {0, 5, 10, 5, 20, CropRounding::kHalfEven, {}, {}},
    };
    for (const auto& c : cases) {
        const auto p = ClipStretch(10, 10, c.x1, c.y1, c.x2, c.y2, c.bounds, c.bounds, c.rounding);
        EXPECT_EQ(p ? std::pair(p->source, p->dest) : std::pair(Rect{}, Rect{}), std::pair(c.source, c.dest))
            << c.x1 << "," << c.y1 << " " << c.x2 << "," << c.y2 << " in " << c.bounds;
    }
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
