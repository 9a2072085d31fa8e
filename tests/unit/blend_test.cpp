// Arithmetic and alpha blends and their frame: the worked values of each layout, placement and
// clipping, and the packed mixing against the per-channel rule.
#include <functional>
#include <random>

#include "blend/pixel_math.h"
#include "blend_helpers.h"

namespace vxl::testing {
namespace {

using BlendTest = FakeTest;
using BlendDepthTest = DepthTest;

using Blend = std::function<void(int32_t, int32_t)>;
const Blend kAdd = [](int32_t s, int32_t d) { CopyAdd(s, d, 0, 0); };
const Blend kSub = [](int32_t s, int32_t d) { CopySub(s, d, 0, 0); };
Blend AlphaOf(int32_t a) {
    return [a](int32_t s, int32_t d) { CopyAlpha(s, d, 0, 0, a); };
}
Blend KeyedOpaque(uint32_t key) {
    return [key](int32_t s, int32_t d) { CopyAlphaSprite(s, d, 0, 0, 255, key); };
}

// One source pixel blended onto one destination pixel at each layout: saturation per channel, the
// alpha mix in 256ths (32nds of the top five weight bits at 15 and 16 bits), which bits a key compares.
TEST_F(BlendTest, WorkedValuesPerLayout) {
    struct Case {
        uint32_t depth;
        Blend blend;
        uint32_t src, dst, want;
        const char* why;
    };
    const Case cases[] = {
        {16, kAdd, 0xFFFF, 0x1234, 0xFFFF, "saturates"},
        {16, kAdd, 0x0821, 0xF7DE, 0xFFFF, "each channel one short of its top"},
        {16, kSub, 0x0841, 0x0020, 0x0000, "every channel borrows and stops at 0"},
        {16, kSub, 0x0020, 0x0841, 0x0821, "channels apart"},
        {15, kAdd, 0x0421, 0x8000, 0x0421, "bit 15 cleared"},
        {15, kAdd, 0x7FFF, 0x0421, 0x7FFF, "saturates"},
        {15, kSub, 0x0001, 0x8000, 0x0000, "bit 15 is no channel"},
        {32, kSub, 0x01010101, 0x00000080, 0x0000007F, "byte 3 included, stays at 0"},
        {32, kAdd, 0x90000010, 0x800000F8, 0xFF0000FF, "byte 3 saturates like a colour"},
        {24, kAdd, 0x10F001, 0xF01002, 0xFFFF03, "saturates"},
        {24, kSub, 0x10F001, 0xF01002, 0xE00001, "stops at 0"},
        {32, AlphaOf(255), 0x00FFFFFF, 0, 0x00FEFEFE, "256ths never reach the source"},
        {32, AlphaOf(255), 0, 0x00FFFFFF, 0, "rounded down"},
        {32, AlphaOf(128), 0x000000FF, 0x00FF0000, 0x007F007F, "half"},
        {32, AlphaOf(0), 0x12345678, 0xAB0A0B0C, 0x000A0B0C, "only byte 3 changes"},
        {32, AlphaOf(0x180), 0x000000FF, 0x00FF0000, 0x007F007F, "the low byte counts"},
        {16, AlphaOf(1), 0xFFFF, 0x1234, 0x1234, "below 8: weight 0"},
        {16, AlphaOf(7), 0xFFFF, 0x1234, 0x1234, "below 8: weight 0"},
        {16, AlphaOf(8), 0x0000, 0x07E0, 61u << 5, "63 + floor(-63 / 32)"},
        {15, AlphaOf(0), 0x1234, 0x9234, 0x1234, "bit 15 cleared"},
        {15, AlphaOf(255), 0x001F, 0x0000, 30, "31 of 32"},
        {24, AlphaOf(255), 0xFFFFFF, 0x000000, 0xFEFEFE, "256ths never reach the source"},
        {24, AlphaOf(128), 0x0000FF, 0xFF0000, 0x7F007F, "half"},
        {16, KeyedOpaque(0xF800), 0xF800, 0x001F, 0x001F, "key skipped"},
        {16, KeyedOpaque(0x1F800), 0xF800, 0x001F, 0xF000, "bits above 16 match nothing"},
        {32, KeyedOpaque(0x5500FF00), 0xAA00FF00, 0x12, 0x12, "byte 3 ignored"},
        {32, KeyedOpaque(0x0000FF01), 0x0000FF00, 0x12, 0x0000FE00, "every colour bit compared"},
        {24, KeyedOpaque(0xFF00FF00), 0x00FF00, 0x12, 0x12, "byte 3 ignored"},
    };
    for (const Case& c : cases) {
        SetDesktopDepth(c.depth);
        OpenWindowed();
        const int32_t s = Solid(1, 1, c.src), d = Solid(1, 1, c.dst);
        c.blend(s, d);
        EXPECT_EQ(GetPixel(d, 0, 0), c.want)
            << c.depth << " bits, " << std::hex << c.src << " onto " << c.dst << ": " << c.why;
        CloseVexel();
    }
}

// The packed mixes give d + floor((s - d) * a / q) in every channel, over every weight; the 16-bit
// field arithmetic min(d + s, top) and max(d - s, 0).
TEST_F(BlendTest, PackedMixAndFieldArithmeticMatchThePerChannelRules) {
    auto mix = [](int32_t s, int32_t d, int32_t a, int32_t q) {
        const int32_t t = (s - d) * a;
        return uint32_t(d + (t >= 0 ? t / q : -((-t + q - 1) / q)));
    };
    std::mt19937 rng(11);
    for (int i = 0; i < 200000; ++i) {
        const uint32_t s = rng(), d = rng(), a = rng() & 0xFF, a5 = a >> 3;
        uint32_t want888 = 0, want555 = 0, want565 = 0;
        for (int c = 0; c < 3; ++c) {
            want888 |= mix((s >> 8 * c) & 0xFF, (d >> 8 * c) & 0xFF, a, 256) << 8 * c;
            want555 |= mix((s >> 5 * c) & 31, (d >> 5 * c) & 31, a5, 32) << 5 * c;
        }
        want565 = mix(s & 31, d & 31, a5, 32) | mix((s >> 5) & 63, (d >> 5) & 63, a5, 32) << 5 |
                  mix((s >> 11) & 31, (d >> 11) & 31, a5, 32) << 11;
        ASSERT_EQ(blend::Mix888(s, d, a), want888) << std::hex << s << " " << d << " " << a;
        ASSERT_EQ(blend::Mix555(s & 0xFFFF, d & 0xFFFF, a5), want555) << std::hex << s << " " << d << " " << a;
        ASSERT_EQ(blend::Mix565(s & 0xFFFF, d & 0xFFFF, a5), want565 & 0xFFFF) << std::hex << s << " " << d;
        for (const auto* f : {&blend::kFields555, &blend::kFields565}) {
            uint32_t add = 0, sub = 0;
            for (int c = 0; c < 3; ++c) {
                const uint32_t m = f->mask[c], shift = __builtin_ctz(m), top = m >> shift;
                const uint32_t dc = (d & m) >> shift, sc = (s & m) >> shift;
                add |= std::min(dc + sc, top) << shift;
                sub |= (dc > sc ? dc - sc : 0) << shift;
            }
            ASSERT_EQ(blend::AddFields(*f, d & 0xFFFF, s & 0xFFFF), add) << std::hex << d << " " << s;
            ASSERT_EQ(blend::SubFields(*f, d & 0xFFFF, s & 0xFFFF), sub) << std::hex << d << " " << s;
        }
    }
}

// Placement: negative offsets skip source columns and rows; the alpha plane is clipped alike;
// placements just outside change nothing.
TEST_P(BlendDepthTest, PlacementAndClipping) {
    std::mt19937 rng(depth_ + 100);
    const int32_t ws = 8, hs = 7, wd = 6, hd = 5;
    const auto src_px = RandomPixels(rng, ws * hs, depth_), dst_px = RandomPixels(rng, wd * hd, depth_);
    const int32_t s = BufferOf(ws, hs, src_px), d = BufferOf(wd, hd, dst_px);
    FillAlpha(s, rng);

    const int32_t one_s = Solid(1, 1, 0), one_d = Solid(1, 1, 0);
    for (auto [x, y] : {std::pair{wd, 0}, {-ws, 0}, {0, hd}, {0, -hs}, {INT32_MAX, 0}, {INT32_MIN, INT32_MIN}}) {
        CopyAdd(s, d, x, y);
        CopyAlphaMap(s, d, x, y);
        CopyXor(s, d, x, y);
        EXPECT_EQ(PixelsOf(d), dst_px) << x << "," << y;
    }

    // At (-5, -5), destination (i, j) mixes with source (i + 5, j + 5) under alpha (i + 5, j + 5).
    CopyAlphaMap(s, d, -5, -5);
    for (int32_t y = 0; y < hd; ++y)
        for (int32_t x = 0; x < wd; ++x) {
            const bool covered = x < ws - 5 && y < hs - 5;
            Fill(one_s, covered ? src_px[(y + 5) * ws + x + 5] : 0);
            Fill(one_d, dst_px[y * wd + x]);
            if (covered) CopyAlpha(one_s, one_d, 0, 0, GetAlphaPixel(s, x + 5, y + 5));
            EXPECT_EQ(GetPixel(d, x, y), GetPixel(one_d, 0, 0)) << x << "," << y;
        }
}

// Without an alpha plane the source goes down opaquely, exactly as CopyBuffer puts it, clipping
// included; with one, opacity 0 leaves the colours alone.
TEST_P(BlendDepthTest, AlphaMapWithoutPlaneCopiesLikeCopyBuffer) {
    std::mt19937 rng(depth_ + 50);
    const auto src_px = RandomPixels(rng, 5 * 4, depth_), dst_px = RandomPixels(rng, 6 * 6, depth_);
    const int32_t s = BufferOf(5, 4, src_px);
    for (auto [x, y] : {std::pair{0, 0}, {3, -2}, {-4, 4}, {6, 0}}) {
        const int32_t mapped = BufferOf(6, 6, dst_px), copied = BufferOf(6, 6, dst_px);
        CopyAlphaMap(s, mapped, x, y);
        CopyBuffer(s, copied, x, y);
        EXPECT_EQ(PixelsOf(mapped), PixelsOf(copied)) << x << "," << y;
    }
    TheLibrary().handles.Find(s)->CreateAlphaPlane();  // all zero
    const int32_t d = BufferOf(6, 6, dst_px);
    CopyAlphaMap(s, d, 0, 0);
    const uint32_t colour = depth_ == 15 ? 0x7FFF : 0xFFFFFF;
    EXPECT_EQ(GetPixel(d, 4, 3) & colour, dst_px[3 * 6 + 4] & colour);
}

// Blending a buffer onto itself, and filtering it in place, gives the same pixels wherever the buffer
// lives, overlap included.
TEST_P(BlendDepthTest, SelfBlendsAndFiltersSameInVideoAndSystemMemory) {
    std::mt19937 rng(depth_ + 7);
    const auto px = RandomPixels(rng, 9 * 6, depth_);
    for (auto [x, y] : {std::pair{1, 0}, {2, 1}, {-1, 0}, {0, -2}, {3, 3}}) {
        const int32_t sys = BufferOf(9, 6, px), vid = BufferOf(9, 6, px, true);
        ASSERT_TRUE(TheLibrary().handles.Find(vid)->in_video_memory());
        CopyAlpha(sys, sys, x, y, 100);
        CopyAlpha(vid, vid, x, y, 100);
        CopyAdd(sys, sys, x, y);
        CopyAdd(vid, vid, x, y);
        for (auto filter : {&Greyscale, &Negative, &Blur2x}) filter(sys), filter(vid);
        EXPECT_EQ(PixelsOf(vid), PixelsOf(sys)) << x << "," << y;
        // Later pixels of a row see the ones mixed before them: the rule of one pixel at a time.
        if (x == 1 && y == 0) {
            const int32_t row = BufferOf(3, 1, {px[0], px[1], px[2]});
            CopyXor(row, row, 1, 0);
            EXPECT_EQ(PixelsOf(row), (std::vector<uint32_t>{px[0], px[1] ^ px[0], px[2] ^ px[1] ^ px[0]}));
        }
        CloseBuffer(sys);
        CloseBuffer(vid);
    }
}

TEST_F(BlendTest, MismatchedBuffersChangeNothing) {
    SetDesktopDepth(32);
    OpenWindowed();
    const int32_t s32 = Solid(4, 4, 0x00808080);
    CloseVexel();
    // A buffer of an earlier 32-bit display against one of a 16-bit display: widths differ, nothing is
    // written (a 4-byte row operation would run past the 2-byte rows).
    SetDesktopDepth(16);
    OpenWindowed();
    const int32_t d16 = Solid(2, 2, 0x1234);
    CopyAdd(s32, d16, 0, 0);
    CopyAlpha(s32, d16, 0, 0, 200);
    EXPECT_EQ(PixelsOf(d16), std::vector<uint32_t>(4, 0x1234));
}

INSTANTIATE_TEST_SUITE_P(Depths, BlendDepthTest, AllDepths(), DepthName);

}  // namespace
}  // namespace vxl::testing
