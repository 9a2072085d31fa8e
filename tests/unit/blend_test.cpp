// Blends, channel copies, in-place filters and transfer effects: the worked values of each layout,
// placement and clipping, blends of a buffer onto itself, the direct transfer path against the
// per-pixel walk. (The packed mixes are held to the vector paths, which work per channel, in
// blend_simd_test.)
#include <array>
#include <functional>
#include <random>
#include <tuple>

#include "blend/transfer_effects.h"
#include "blend_helpers.h"

namespace vxl::testing {
namespace {

using BlendTest = FakeTest;
using BlendDepthTest = DepthTest;

// What one call leaves in a destination of `dst` values from a source of `src` values (both w x h, one
// pixel unless given), at (x, y) or in every pixel when x < 0. Blends: saturation per channel, the
// alpha mix in 256ths (32nds of the top five weight bits at 15 and 16 bits), which bits a key compares.
// Filters: grey from the stored fields, the inversion of the colour bits; the in-place blur takes a
// missing neighbour as the pixel itself, the transfer blur as black (7/8 on an edge, 6/8 in a corner,
// 4/8 alone). Grey over every value is in blend_simd_test.
TEST_F(BlendTest, WorkedValuesPerLayout) {
    using Op = std::function<void(int32_t s, int32_t d)>;
    const Op add = [](int32_t s, int32_t d) { CopyAdd(s, d, 0, 0); },
             sub = [](int32_t s, int32_t d) { CopySub(s, d, 0, 0); };
    const auto alpha = [](int32_t a) -> Op { return [a](int32_t s, int32_t d) { CopyAlpha(s, d, 0, 0, a); }; };
    const auto keyed = [](uint32_t k) -> Op {
        return [k](int32_t s, int32_t d) { CopyAlphaSprite(s, d, 0, 0, 255, k); };
    };
    const Op grey = [](int32_t, int32_t d) { Greyscale(d); }, negative = [](int32_t, int32_t d) { Negative(d); };
    const Op blur = [](int32_t, int32_t d) { Blur2x(d); },
             copy_blur = [](int32_t s, int32_t d) { CopyBlur(s, d, 0, 0); };
    const Op copy_negative = [](int32_t s, int32_t d) { CopyNegative(s, d, 0, 0); };
    const Op copy_grey = [](int32_t s, int32_t d) { CopyGreyscale(s, d, 0, 0); };
    struct Case {
        uint32_t depth;
        Op op;
        uint32_t src, dst, want;
        const char* why;
        int32_t w = 1, h = 1, x = 0, y = 0;
    };
    const uint32_t c = 0xC86428;
    // clang-format off
    const Case cases[] = {
        {16, add, 0x0821, 0xF7DE, 0xFFFF, "each channel one short of its top"},
        {16, sub, 0x0841, 0x0020, 0x0000, "every channel borrows and stops at 0"},
        {16, sub, 0x0020, 0x0841, 0x0821, "channels apart"},
        {15, add, 0x0421, 0x8000, 0x0421, "bit 15 cleared"},
        {15, sub, 0x0001, 0x8000, 0x0000, "bit 15 is no channel"},
        {32, sub, 0x01010101, 0x00000080, 0x0000007F, "byte 3 included, stays at 0"},
        {32, add, 0x90000010, 0x800000F8, 0xFF0000FF, "byte 3 saturates like a colour"},
        {24, add, 0x10F001, 0xF01002, 0xFFFF03, "saturates, byte by byte"},
        {32, alpha(255), 0x00FFFFFF, 0, 0x00FEFEFE, "256ths never reach the source"},
        {32, alpha(255), 0, 0x00FFFFFF, 0, "rounded down"},
        {32, alpha(128), 0x000000FF, 0x00FF0000, 0x007F007F, "half"},
        {32, alpha(0), 0x12345678, 0xAB0A0B0C, 0x000A0B0C, "only byte 3 changes"},
        {32, alpha(0x180), 0x000000FF, 0x00FF0000, 0x007F007F, "the low byte counts"},
        {16, alpha(7), 0xFFFF, 0x1234, 0x1234, "below 8: weight 0"},
        {16, alpha(8), 0x0000, 0x07E0, 61u << 5, "63 + floor(-63 / 32)"},
        {15, alpha(0), 0x1234, 0x9234, 0x1234, "bit 15 cleared"},
        {15, alpha(255), 0x001F, 0x0000, 30, "31 of 32"},
        {24, alpha(128), 0x0000FF, 0xFF0000, 0x7F007F, "half"},
        {16, keyed(0xF800), 0xF800, 0x001F, 0x001F, "key skipped"},
        {16, keyed(0x1F800), 0xF800, 0x001F, 0xF000, "bits above 16 match nothing"},
        {32, keyed(0x5500FF00), 0xAA00FF00, 0x12, 0x12, "byte 3 ignored"},
        {32, keyed(0x0000FF01), 0x0000FF00, 0x12, 0x0000FE00, "every colour bit compared"},
        {24, keyed(0xFF00FF00), 0x00FF00, 0x12, 0x12, "byte 3 ignored"},
        {32, grey, 0xAAFF0000, 0xAAFF0000, 0xAA555555, "top byte kept"},
        {16, grey, 0xFFFF, 0xFFFF, 0xFFDF, "green's top five bits"},
        {15, grey, 0x7FFF, 0x7FFF, 0x7FFF, "white stays"},
        {32, negative, 0xAA555555, 0xAA555555, 0x55AAAAAA, "all 32 bits"},
        {16, negative, 0xFFDF, 0xFFDF, 0x0020, "all 16 bits"},
        {15, negative, 0x7FFF, 0x7FFF, 0x8000, "bit 15 too"},
        {32, blur, 0xFFFFFFFF, 0xFFFFFFFF, 0x00FCFCFC, "252 everywhere, top byte cleared", 4, 3, -1},
        {24, blur, 0xFFFFFF, 0xFFFFFF, 0xFCFCFC, "252 everywhere", 4, 3, -1},
        {15, blur, 0xFFFF, 0xFFFF, 0x739C, "28 of 31 everywhere", 4, 3, -1},
        {16, blur, 0xFFFF, 0xFFFF, 0xE71C, "28 of 31 and 56 of 63", 4, 3, -1},
        {32, copy_blur, c, c, c, "inside", 4, 3, 1, 1},
        {32, copy_blur, c, c, 0xAF5723, "an edge", 4, 3, 2, 0},
        {32, copy_blur, c, c, 0x964B1E, "corner", 4, 3, 3, 2},
        {32, copy_blur, c, c, 0x643214, "alone"},
        {32, copy_negative, 0xAB0A141E, 0, 0xF5EBE1, "colour bits only"},
        {32, copy_grey, 0xFF0000, 0, 0x555555, "a third"},
    };
    // clang-format on
    for (const Case& k : cases) {
        SetDesktopDepth(k.depth);
        OpenWindowed();
        const int32_t s = Solid(k.w, k.h, k.src), d = Solid(k.w, k.h, k.dst);
        k.op(s, d);
        const auto want = std::vector<uint32_t>(k.x < 0 ? size_t(k.w * k.h) : 1, k.want);
        EXPECT_EQ(k.x < 0 ? PixelsOf(d) : std::vector<uint32_t>{GetPixel(d, k.x, k.y)}, want)
            << k.depth << " bits, " << std::hex << k.src << " onto " << k.dst << ": " << k.why;
        CloseVexel();
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
// included.
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
}

// Blending a buffer onto itself, and filtering it in place, gives the same pixels wherever the buffer
// lives, overlap included; later pixels of a row see the ones mixed before them.
TEST_P(BlendDepthTest, SelfBlendsAndFiltersSameInVideoAndSystemMemory) {
    std::mt19937 rng(depth_ + 7);
    const auto px = RandomPixels(rng, 9 * 6, depth_);
    for (auto [x, y] : {std::pair{1, 0}, {2, 1}, {-1, 0}, {0, -2}, {3, 3}}) {
        const int32_t sys = BufferOf(9, 6, px), vid = BufferOf(9, 6, px, true);
        ASSERT_TRUE(TheLibrary().handles.Find(vid)->in_video_memory());
        for (int32_t b : {sys, vid}) {
            CopyAlpha(b, b, x, y, 100);
            CopyAdd(b, b, x, y);
            Greyscale(b), Negative(b), Blur2x(b);
        }
        EXPECT_EQ(PixelsOf(vid), PixelsOf(sys)) << x << "," << y;
        CloseBuffer(sys);
        CloseBuffer(vid);
    }
    const int32_t row = BufferOf(3, 1, {px[0], px[1], px[2]});
    CopyXor(row, row, 1, 0);
    EXPECT_EQ(PixelsOf(row), (std::vector<uint32_t>{px[0], px[1] ^ px[0], px[2] ^ px[1] ^ px[0]}));
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

TEST_P(BlendDepthTest, ChannelCopiesKeepOneFieldOverOddWidths) {
    std::mt19937 rng(depth_);
    using M = std::array<uint32_t, 3>;  // the red, green and blue fields
    const M m = depth_ == 15   ? M{0x7C00, 0x03E0, 0x001F}
                : depth_ == 16 ? M{0xF800, 0x07E0, 0x001F}
                               : M{0xFF0000, 0x00FF00, 0x0000FF};
    const auto src_px = RandomPixels(rng, 7 * 3, depth_), dst_px = RandomPixels(rng, 9 * 5, depth_);
    const int32_t s = BufferOf(7, 3, src_px);
    for (auto [copy, mask] : {std::pair{&CopyRedChannel, m[0]}, {&CopyGreenChannel, m[1]}, {&CopyBlueChannel, m[2]}}) {
        const int32_t d = BufferOf(9, 5, dst_px);
        copy(s, d, 1, 1);
        for (int32_t y = 0; y < 5; ++y)
            for (int32_t x = 0; x < 9; ++x) {
                const bool covered = x >= 1 && x <= 7 && y >= 1 && y <= 3;
                EXPECT_EQ(GetPixel(d, x, y), covered ? src_px[(y - 1) * 7 + x - 1] & mask : dst_px[y * 9 + x])
                    << x << "," << y;
            }
        CloseBuffer(d);
    }
}

TEST_P(BlendDepthTest, AlphaChannelGivesGrey) {
    const uint32_t white = depth_ == 15 ? 0x7FFF : depth_ == 16 ? 0xFFDF : 0xFFFFFF;
    const uint32_t top = depth_ == 32 ? 0xAB000000u : 0;
    const int32_t s = Solid(3, 2, 0x1234), d = Solid(3, 2, top | 0x42);
    CopyAlphaChannel(s, d, 0, 0);  // no alpha plane yet: nothing happens
    EXPECT_EQ(PixelsOf(d), std::vector<uint32_t>(6, top | 0x42));
    TheLibrary().handles.Find(s)->CreateAlphaPlane();
    for (int32_t x = 0; x < 3; ++x) PutAlphaPixel(s, x, 0, 255);
    PutAlphaPixel(s, 2, 1, 0x90);
    CopyAlphaChannel(s, d, 0, 0);
    const uint32_t v = 0x90 >> 3;
    const uint32_t grey90 = depth_ == 15 ? v << 10 | v << 5 | v : depth_ == 16 ? v << 11 | v << 6 | v : 0x909090;
    EXPECT_EQ(PixelsOf(d), (std::vector<uint32_t>{top | white, top | white, top | white, top, top, top | grey90}));
}

// A buffer of one value through each filter and transfer, per layout. Edges: the in-place blur takes
// a missing neighbour as the pixel itself, the transfer blur as black (7/8 on an edge, 6/8 in a
// corner, 4/8 alone). x < 0 checks every pixel. Greyscale over every value is in blend_simd_test.
// The dissolve keeps every other pixel of every other row (odd columns and rows), on the source's grid.
TEST_F(BlendTest, DissolveGrid) {
    SetDesktopDepth(32);
    OpenWindowed();
    const int32_t white = Solid(4, 4, 0x00FFFFFF), black = Solid(5, 4, 0);
    CopyDissolve(white, black, 1, 0);  // odd source columns: even destination ones
    EXPECT_EQ(Picture(black), (Rows{".....", "..#.#", ".....", "..#.#"}));
}

// The direct path over the covered rectangle writes exactly what the per-pixel walk writes: a small
// source at placements over every edge and beyond, and a wide one whose rows take the vector steps
// and whose pixels at 15 and 16 bits are every 16-bit value.
TEST_P(BlendDepthTest, DirectTransferMatchesPerPixelWalk) {
    std::mt19937 rng(depth_ + 9);
    std::vector<uint32_t> every(256 * 256);
    for (uint32_t v = 0; v < every.size(); ++v) every[v] = depth_ <= 16 ? v : uint32_t(rng()) & 0xFFFFFF;
    const int32_t small = BufferOf(6, 5, RandomPixels(rng, 6 * 5, depth_)), wide = BufferOf(256, 256, every);
    const std::tuple<int32_t, int32_t, int32_t, std::vector<std::pair<int32_t, int32_t>>> cases[] = {
        {small, 8, 7, {{0, 0}, {-3, 2}, {4, -2}, {5, 5}, {-6, 0}, {8, 0}, {INT32_MAX, INT32_MIN}}},
        {wide, 259, 258, {{0, 0}, {-1, 3}}},
    };
    for (const auto& [s, dw, dh, places] : cases) {
        TBufferVx* source = TheLibrary().handles.Find(s);
        const auto dst_px = RandomPixels(rng, size_t(dw * dh), depth_);
        for (auto kind : {blend::TransferKind::Blur, blend::TransferKind::Dissolve, blend::TransferKind::Negative,
                          blend::TransferKind::Greyscale}) {
            for (auto [x, y] : places) {
                const int32_t direct = BufferOf(dw, dh, dst_px), walked = BufferOf(dw, dh, dst_px);
                blend::CopyTransfer(source, TheLibrary().handles.Find(direct), x, y, kind);
                blend::CopyTransferReference(*source, TheLibrary().handles.Find(walked), x, y, kind);
                EXPECT_EQ(PixelsOf(direct), PixelsOf(walked)) << int(kind) << " at " << x << "," << y;
                CloseBuffer(direct);
                CloseBuffer(walked);
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Depths, BlendDepthTest, AllDepths(), DepthName);

}  // namespace
}  // namespace vxl::testing
