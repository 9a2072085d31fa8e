// Copies between buffers through the exports, at every depth: placement and clipping, keys, stretches
// and a lost surface on the way.
#include <cstring>
#include <functional>
#include <optional>
#include <utility>

#include "fake_fixture.h"

namespace vxl::testing {
namespace {

using namespace platform;

// Where a destination pixel's value comes from: a source pixel, or nothing (the background stays).
using SourceOf = std::function<std::optional<std::pair<int32_t, int32_t>>(int32_t x, int32_t y)>;

class CopyTest : public DepthTest {
protected:
    static constexpr uint32_t kBackground = 0x1F;

    int32_t Destination(int32_t w, int32_t h) {
        const int32_t b = SetupBuffer(w, h, 0);
        Fill(b, kBackground);
        return b;
    }

    // Every destination pixel holds what `from` says; the first wrong one is reported.
    void ExpectPicture(int32_t dst, const SourceOf& from) {
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
    CopyBuffer(src, dst, -3, 0);
    ExpectPicture(dst, [](int32_t x, int32_t y) -> std::optional<std::pair<int32_t, int32_t>> {
        if (x <= 6 && y <= 9) return std::pair(x + 3, y);
        return std::nullopt;
    });
    Fill(dst, kBackground);
    CopyBuffer(src, dst, 15, 15);
    ExpectPicture(dst, [](int32_t x, int32_t y) -> std::optional<std::pair<int32_t, int32_t>> {
        if (x >= 15 && y >= 15) return std::pair(x - 15, y - 15);
        return std::nullopt;
    });
    Fill(dst, kBackground);
    for (auto [x, y] : {std::pair{20, 0}, {-10, 0}, {0, 20}, {0, -10}, {INT32_MAX, 0}, {INT32_MIN, INT32_MIN}}) {
        CopyBuffer(src, dst, x, y);
    }
    ExpectPicture(dst, [](int32_t, int32_t) { return std::nullopt; });
}

TEST_P(CopyTest, RectangleOfTheSource) {
    const int32_t src = CodedBuffer(10, 10), dst = Destination(200, 12);
    CopyBit(src, dst, 5, 5, 5, 5, 1, 1);
    CopyBit(src, dst, 9, 9, 8, 8, 3, 3);     // corners in either order
    CopyBit(src, dst, -5, 0, 3, 1, 100, 0);  // clamped corner, destination not moved
    CopyBit(src, dst, 0, 0, 9, 9, 197, 10);  // cut at the right and bottom
    ExpectPicture(dst, [](int32_t x, int32_t y) -> std::optional<std::pair<int32_t, int32_t>> {
        if (x == 1 && y == 1) return std::pair(5, 5);
        if (x >= 3 && x <= 4 && y >= 3 && y <= 4) return std::pair(x + 5, y + 5);
        if (x >= 100 && x <= 103 && y <= 1) return std::pair(x - 100, y);
        if (x >= 197 && y >= 10) return std::pair(x - 197, y - 10);
        return std::nullopt;
    });
}

TEST_P(CopyTest, KeyStaysOnTheSourceButOnlyKeyedCopiesUseIt) {
    const int32_t src = CodedBuffer(4, 1), dst = Destination(4, 2);
    const uint32_t key = Code(1, 0);
    CopySprite(src, dst, 0, 0, key);
    CopyBuffer(src, dst, 0, 1);  // the key left set must not matter here
    ExpectPicture(dst, [](int32_t x, int32_t y) -> std::optional<std::pair<int32_t, int32_t>> {
        if (y == 0 && x == 1) return std::nullopt;
        return std::pair(x, 0);
    });
}

// The blitter's key is the whole stored value: spare bits count (pixels Negative or CopyXor leave
// there stay opaque), and a key wider than the pixel matches nothing. Each row is a stored pixel, a
// key and whether the pixel is left out, tried through every keyed copy and keyed display draw.
TEST_P(CopyTest, KeyComparesTheWholeStoredValue) {
    struct Row {
        uint32_t depth, pixel, key;
        bool left_out;
    };
    const Row rows[] = {
        {15, 0x7C1F, 0x7C1F, true},        {15, 0xFC1F, 0x7C1F, false},       {15, 0xFC1F, 0xFC1F, true},
        {15, 0x7C1F, 0x17C1F, false},      {16, 0xF81F, 0xF81F, true},        {16, 0xF81F, 0x101F81F, false},
        {24, 0xFF00FF, 0xFF00FF, true},    {24, 0xFF00FF, 0x1FF00FF, false},  {32, 0xFF00FF, 0xFF00FF, true},
        {32, 0xABFF00FF, 0xFF00FF, false}, {32, 0xABFF00FF, 0xABFF00FF, true}, {32, 0xFF00FF, 0xABFF00FF, false},
    };
    using Keyed = void (*)(int32_t src, int32_t dst, uint32_t key);
    const std::pair<const char*, Keyed> ways[] = {
        {"CopySprite", [](int32_t s, int32_t d, uint32_t k) { CopySprite(s, d, 0, 0, k); }},
        {"CopyBitSprite", [](int32_t s, int32_t d, uint32_t k) { CopyBitSprite(s, d, 0, 0, 1, 0, 0, 0, k); }},
        {"CopyScaleSprite", [](int32_t s, int32_t d, uint32_t k) { CopyScaleSprite(s, d, 0, 0, 4, 1, k); }},
        {"DrawSprite", [](int32_t s, int32_t, uint32_t k) { DrawSprite(s, 0, 0, k); }},
        {"DrawBitSprite", [](int32_t s, int32_t, uint32_t k) { DrawBitSprite(s, 0, 0, 1, 0, 0, 0, k); }},
        {"DrawScaleSprite", [](int32_t s, int32_t, uint32_t k) { DrawScaleSprite(s, 0, 0, 4, 1, k); }},
    };
    const uint32_t stored = bpp_ == 4 ? 0xFFFFFFFF : (1u << (8 * bpp_)) - 1;
    const int32_t src = SetupBuffer(2, 1, 0), dst = SetupBuffer(4, 1, 0), ground = Destination(4, 1);
    for (const Row& r : rows) {
        if (r.depth != depth_) continue;
        PutPixel(src, 0, 0, r.pixel);
        PutPixel(src, 1, 0, 0x21);
        for (const auto& [name, copy] : ways) {
            Fill(dst, kBackground);
            DrawBuffer(ground, 0, 0);
            copy(src, dst, r.key);
            SurfaceDesc back;
            TheLibrary().display->back()->GetSurfaceDesc(&back);
            const bool draw = name[0] == 'D';
            uint32_t got = 0;
            std::memcpy(&got, draw ? static_cast<const uint8_t*>(back.surface) : BufferPointer(dst), bpp_);
            EXPECT_EQ(got, r.left_out ? kBackground : r.pixel & stored)
                << name << " pixel " << std::hex << r.pixel << " key " << r.key;
        }
    }
}

TEST_P(CopyTest, FactorTwoStretchDoublesEveryPixel) {
    const int32_t src = CodedBuffer(5, 3), dst = Destination(12, 8);
    CopyScale(src, dst, 0, 0, 10, 6);
    ExpectPicture(dst, [](int32_t x, int32_t y) -> std::optional<std::pair<int32_t, int32_t>> {
        if (x < 10 && y < 6) return std::pair(x / 2, y / 2);
        return std::nullopt;
    });
    // Factor 4 across, overhanging the left edge by 10 columns: 2.5 source columns cut, truncated to 2,
    // and the remaining three stretched onto what is left.
    Fill(dst, kBackground);
    CopyScale(src, dst, 10, 6, -10, 0);
    ExpectPicture(dst, [](int32_t x, int32_t y) -> std::optional<std::pair<int32_t, int32_t>> {
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
    lib.display->primary()->MarkLost();
    lib.display->back()->MarkLost();
    CopyBuffer(src, dst, 0, 0);
    EXPECT_EQ(GetPixel(dst, 0, 0), 0u);  // dropped, not retried
    EXPECT_EQ(s.surface()->IsLost(), DD_OK);
    EXPECT_EQ(lib.display->primary()->IsLost(), DD_OK);
    EXPECT_EQ(lib.display->back()->IsLost(), DD_OK);
    // A lost destination is not the source's to restore: that copy is dropped and it stays lost.
    d.surface()->MarkLost();
    CopyBuffer(src, dst, 0, 0);
    EXPECT_EQ(d.surface()->IsLost(), DDERR_SURFACELOST);
    CopyBuffer(dst, src, 0, 0);  // copying from it restores it
    EXPECT_EQ(d.surface()->IsLost(), DD_OK);
}

}  // namespace
}  // namespace vxl::testing
