// Channel copies, in-place filters and transfer effects: worked values per layout, placement, the
// blur's smear order and edges, and the direct transfer path against the per-pixel walk.
#include <random>

#include "blend/transfer_effects.h"
#include "blend_helpers.h"

namespace vxl::testing {
namespace {

using EffectsTest = FakeTest;
using EffectsDepthTest = DepthTest;

struct Masks {
    uint32_t red, green, blue, white;
};
Masks MasksOf(uint32_t depth) {
    switch (depth) {
        case 15:
            return {0x7C00, 0x03E0, 0x001F, 0x7FFF};
        case 16:
            return {0xF800, 0x07E0, 0x001F, 0xFFFF};
        default:
            return {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF};
    }
}

TEST_P(EffectsDepthTest, ChannelCopiesKeepOneFieldOverOddWidths) {
    std::mt19937 rng(depth_);
    const Masks m = MasksOf(depth_);
    const auto src_px = RandomPixels(rng, 7 * 3, depth_), dst_px = RandomPixels(rng, 9 * 5, depth_);
    const int32_t s = BufferOf(7, 3, src_px);
    for (auto [copy, mask] :
         {std::pair{&CopyRedChannel, m.red}, {&CopyGreenChannel, m.green}, {&CopyBlueChannel, m.blue}}) {
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
    // Placed up and left, the source's lower-right part lands at the origin.
    const int32_t d = Solid(4, 3, 0);
    CopyBlueChannel(s, d, -5, -1);
    EXPECT_EQ(GetPixel(d, 0, 0), src_px[1 * 7 + 5] & m.blue);
    EXPECT_EQ(GetPixel(d, 1, 1), src_px[2 * 7 + 6] & m.blue);
    EXPECT_EQ(GetPixel(d, 2, 0), 0u);
}

TEST_P(EffectsDepthTest, AlphaChannelGivesGrey) {
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
TEST_F(EffectsTest, WorkedValues) {
    using Op = void (*)(int32_t s, int32_t d);
    const Op grey = [](int32_t, int32_t d) { Greyscale(d); }, negative = [](int32_t, int32_t d) { Negative(d); };
    const Op blur = [](int32_t, int32_t d) { Blur2x(d); }, copy_blur = [](int32_t s, int32_t d) { CopyBlur(s, d, 0, 0); };
    const Op copy_negative = [](int32_t s, int32_t d) { CopyNegative(s, d, 0, 0); };
    const Op copy_grey = [](int32_t s, int32_t d) { CopyGreyscale(s, d, 0, 0); };
    const struct {
        uint32_t depth;
        Op op;
        int32_t w, h;
        uint32_t in;
        int32_t x, y;
        uint32_t want;
    } cases[] = {
        {32, grey, 1, 1, 0xAAFF0000, 0, 0, 0xAA555555},     {16, grey, 1, 1, 0xFFFF, 0, 0, 0xFFDF},
        {15, grey, 1, 1, 0x7FFF, 0, 0, 0x7FFF},             {32, negative, 1, 1, 0xAA555555, 0, 0, 0x55AAAAAA},
        {16, negative, 1, 1, 0xFFDF, 0, 0, 0x0020},         {15, negative, 1, 1, 0x7FFF, 0, 0, 0x8000},
        {32, blur, 4, 3, 0xFFFFFFFF, -1, 0, 0x00FCFCFC},    {24, blur, 4, 3, 0xFFFFFF, -1, 0, 0xFCFCFC},
        {15, blur, 4, 3, 0xFFFF, -1, 0, 0x739C},            {16, blur, 4, 3, 0xFFFF, -1, 0, 0xE71C},
        {32, copy_blur, 4, 3, 0xC86428, 1, 1, 0xC86428},    {32, copy_blur, 4, 3, 0xC86428, 2, 0, 0xAF5723},
        {32, copy_blur, 4, 3, 0xC86428, 0, 1, 0xAF5723},    {32, copy_blur, 4, 3, 0xC86428, 3, 2, 0x964B1E},
        {32, copy_blur, 1, 1, 0xC86428, 0, 0, 0x643214},    {32, copy_negative, 1, 1, 0xAB0A141E, 0, 0, 0xF5EBE1},
        {32, copy_grey, 1, 1, 0xFF0000, 0, 0, 0x555555},
    };
    for (const auto& c : cases) {
        SetDesktopDepth(c.depth);
        OpenWindowed();
        const int32_t s = Solid(c.w, c.h, c.in), d = Solid(c.w, c.h, c.in);
        c.op(s, d);
        const auto want = c.x < 0 ? std::vector<uint32_t>(size_t(c.w * c.h), c.want) : std::vector<uint32_t>{c.want};
        EXPECT_EQ(c.x < 0 ? PixelsOf(d) : std::vector<uint32_t>{GetPixel(d, c.x, c.y)}, want)
            << c.depth << " bits, " << std::hex << c.in << " at " << c.x << "," << c.y;
        CloseVexel();
    }
}

// The smear of one bright channel at the centre of a 5 x 5 buffer, in every channel of the 8-bit
// layouts.
TEST_F(EffectsTest, BlurSmearTable) {
    const uint32_t table[5][5] = {
        {0, 0, 0, 0, 0}, {0, 0, 63, 15, 3}, {0, 63, 30, 10, 2}, {0, 15, 10, 4, 1}, {0, 3, 2, 1, 0}};
    for (uint32_t depth : {24u, 32u}) {
        SetDesktopDepth(depth);
        OpenWindowed();
        for (uint32_t shift : {0u, 8u, 16u}) {
            const int32_t b = Solid(5, 5, 0);
            PutPixel(b, 2, 2, 255u << shift);
            Blur2x(b);
            for (int32_t y = 0; y < 5; ++y)
                for (int32_t x = 0; x < 5; ++x)
                    EXPECT_EQ(GetPixel(b, x, y), table[y][x] << shift) << depth << " " << x << "," << y;
        }
        CloseVexel();
    }
}

// The dissolve keeps every other pixel of every other row, on the source's grid.
TEST_F(EffectsTest, DissolveGrid) {
    SetDesktopDepth(32);
    OpenWindowed();
    const int32_t white = Solid(4, 4, 0x00FFFFFF), black = Solid(5, 4, 0);
    CopyDissolve(white, black, 0, 0);
    for (int32_t y = 0; y < 4; ++y)
        for (int32_t x = 0; x < 5; ++x)
            EXPECT_EQ(GetPixel(black, x, y), (x & 1) && (y & 1) && x < 4 ? 0x00FFFFFFu : 0u) << x << "," << y;
    Fill(black, 0);
    CopyDissolve(white, black, 1, 0);  // the grid follows the source: even destination columns
    EXPECT_EQ(GetPixel(black, 2, 1), 0x00FFFFFFu);
    EXPECT_EQ(GetPixel(black, 1, 1), 0u);
}

// The direct path over the covered rectangle writes exactly what the per-pixel walk writes: a small
// source at placements over every edge and beyond, and a wide one whose rows take the vector steps
// and whose pixels at 15 and 16 bits are every 16-bit value.
TEST_P(EffectsDepthTest, DirectTransferMatchesPerPixelWalk) {
    std::mt19937 rng(depth_ + 9);
    std::vector<uint32_t> every(256 * 256);
    for (uint32_t v = 0; v < every.size(); ++v) every[v] = depth_ <= 16 ? v : uint32_t(rng()) & 0xFFFFFF;
    struct Case {
        int32_t w, h, dw, dh;
        std::vector<uint32_t> pixels;
        std::vector<std::pair<int32_t, int32_t>> places;
    };
    const Case cases[] = {
        {6,
         5,
         8,
         7,
         RandomPixels(rng, 6 * 5, depth_),
         {{0, 0}, {-3, 2}, {4, -2}, {5, 5}, {-6, 0}, {8, 0}, {INT32_MAX, INT32_MIN}}},
        {256, 256, 259, 258, every, {{0, 0}, {-1, 3}}},
    };
    for (const Case& c : cases) {
        const int32_t s = BufferOf(c.w, c.h, c.pixels);
        TBufferVx* source = TheLibrary().handles.Find(s);
        const auto dst_px = RandomPixels(rng, c.dw * c.dh, depth_);
        for (auto kind : {blend::TransferKind::Blur, blend::TransferKind::Dissolve, blend::TransferKind::Negative,
                          blend::TransferKind::Greyscale}) {
            for (auto [x, y] : c.places) {
                const int32_t direct = BufferOf(c.dw, c.dh, dst_px), walked = BufferOf(c.dw, c.dh, dst_px);
                blend::CopyTransfer(source, TheLibrary().handles.Find(direct), x, y, kind);
                blend::CopyTransferReference(*source, TheLibrary().handles.Find(walked), x, y, kind);
                EXPECT_EQ(PixelsOf(direct), PixelsOf(walked)) << int(kind) << " at " << x << "," << y;
                CloseBuffer(direct);
                CloseBuffer(walked);
            }
        }
        CloseBuffer(s);
    }
}

INSTANTIATE_TEST_SUITE_P(Depths, EffectsDepthTest, AllDepths(), DepthName);

}  // namespace
}  // namespace vxl::testing
