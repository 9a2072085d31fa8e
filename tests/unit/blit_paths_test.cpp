// The blitter's fast keyed and stretched copies against their per-pixel references: random sizes,
// odd widths, placements at every edge, keys that hit, unused bits set, one surface onto itself, with
// the processor features forced to each path.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "platform/cpu.h"
#include "platform/surfaces/blitter.h"

namespace vxl::testing {
namespace {

using platform::PixelMemory;
using platform::Rect;

struct Paths {
    const char* name;
    platform::CpuFeatures features;
};

std::vector<Paths> AvailablePaths() {
    std::vector<Paths> paths{{"scalar", {false, false}}, {"sse2", {true, false}}};
    if (__builtin_cpu_supports("avx2")) paths.push_back({"avx2", {true, true}});
    return paths;
}

struct Memory {
    int32_t width, height;
    uint32_t bpp;
    std::vector<uint8_t> bytes;
    PixelMemory View() { return {bytes.data(), width, height, int32_t(width * bpp), bpp}; }
};

// Pixels from a few colours so that keys hit often, with noise in the bits a key ignores.
Memory Random(std::mt19937& rng, int32_t w, int32_t h, uint32_t bpp, const std::vector<uint32_t>& palette,
              uint32_t mask) {
    Memory m{w, h, bpp, std::vector<uint8_t>(size_t(w) * h * bpp)};
    for (size_t i = 0; i < size_t(w) * h; ++i) {
        const uint32_t c = (palette[rng() % palette.size()] & mask) | (rng() & ~mask);
        std::memcpy(m.bytes.data() + i * bpp, &c, bpp);
    }
    return m;
}

int32_t Between(std::mt19937& rng, int32_t lo, int32_t hi) {
    return lo + int32_t(rng() % uint32_t(hi - lo + 1));
}

// The source of a copy onto `dst`: `dst` itself for a copy within one surface.
PixelMemory SourceFor(Memory& dst, Memory& src, bool same) {
    return same ? dst.View() : src.View();
}

std::string FirstDifference(const Memory& got, const Memory& want) {
    for (size_t i = 0; i < got.bytes.size(); ++i)
        if (got.bytes[i] != want.bytes[i]) {
            const size_t pixel = i / got.bpp;
            return "pixel " + std::to_string(pixel % size_t(got.width)) + "," +
                   std::to_string(pixel / size_t(got.width));
        }
    return "";
}

TEST(BlitPathsTest, KeyedCopyMatchesReference) {
    struct Reset {
        ~Reset() { platform::ResetCpuFeatures(); }
    } reset;
    for (const Paths& path : AvailablePaths()) {
        platform::ForceCpuFeatures(path.features);
        for (uint32_t bpp = 1; bpp <= 4; ++bpp) {
            for (int run = 0; run < 400; ++run) {
                const uint32_t seed = bpp * 100000 + uint32_t(run);
                SCOPED_TRACE(std::string(path.name) + " seed " + std::to_string(seed));
                std::mt19937 rng(seed);
                const uint32_t full = bpp == 4 ? 0xFFFFFFFFu : (1u << (8 * bpp)) - 1;
                const uint32_t mask = bpp == 4 ? 0xFFFFFF : bpp == 2 && rng() % 2 ? 0x7FFF : full;
                const std::vector<uint32_t> palette{uint32_t(rng()), uint32_t(rng()), uint32_t(rng()), uint32_t(rng())};
                const bool same = rng() % 5 == 0;
                Memory src = Random(rng, Between(rng, 1, 70), Between(rng, 1, 9), bpp, palette, mask);
                Memory dst = same ? src : Random(rng, Between(rng, 1, 70), Between(rng, 1, 9), bpp, palette, mask);
                const int32_t w = Between(rng, 1, std::min(src.width, dst.width));
                const int32_t h = Between(rng, 1, std::min(src.height, dst.height));
                // Corners pushed to the edges as often as placed anywhere.
                auto place = [&](int32_t room) {
                    return rng() % 3 == 0 ? 0 : rng() % 2 ? room : Between(rng, 0, room);
                };
                const int32_t sx = place(src.width - w), sy = place(src.height - h);
                const int32_t dx = place(dst.width - w), dy = place(dst.height - h);
                const Rect s{sx, sy, sx + w, sy + h}, d{dx, dy, dx + w, dy + h};
                const uint32_t lo = palette[rng() % 4] & mask;
                const uint32_t hi = rng() % 4 == 0 ? std::min<uint64_t>(uint64_t(lo) + rng() % 5000, mask) : lo;
                Memory want = dst, got = dst;
                platform::CopyRectKeyedReference(want.View(), d, SourceFor(want, src, same), s, lo, hi, mask);
                platform::CopyRectKeyed(got.View(), d, SourceFor(got, src, same), s, lo, hi, mask);
                ASSERT_EQ(FirstDifference(got, want), "") << "bpp " << bpp << " " << w << "x" << h;
            }
        }
    }
}

TEST(BlitPathsTest, StretchMatchesReference) {
    for (uint32_t bpp = 1; bpp <= 4; ++bpp) {
        for (int run = 0; run < 400; ++run) {
            const uint32_t seed = bpp * 100000 + uint32_t(run);
            SCOPED_TRACE("seed " + std::to_string(seed));
            std::mt19937 rng(seed);
            const uint32_t mask = bpp == 4 ? 0xFFFFFF : (1u << (8 * bpp)) - 1;
            const std::vector<uint32_t> palette{uint32_t(rng()), uint32_t(rng()), uint32_t(rng())};
            const bool same = rng() % 5 == 0;
            Memory src = Random(rng, Between(rng, 1, 40), Between(rng, 1, 30), bpp, palette, mask);
            Memory dst = same ? src : Random(rng, Between(rng, 1, 70), Between(rng, 1, 40), bpp, palette, mask);
            const int32_t sl = Between(rng, 0, src.width - 1), st = Between(rng, 0, src.height - 1);
            const Rect s{sl, st, Between(rng, sl + 1, src.width), Between(rng, st + 1, src.height)};
            // Destination rectangles up to three times the surface, hanging over any edge.
            const int32_t l = Between(rng, -dst.width, dst.width), t = Between(rng, -dst.height, dst.height);
            const Rect full{l, t, l + Between(rng, 1, 3 * dst.width), t + Between(rng, 1, 3 * dst.height)};
            const Rect clip{0, 0, dst.width, dst.height};
            const bool keyed = rng() % 2;
            const uint32_t key = palette[rng() % 3] & mask;
            Memory want = dst, got = dst;
            platform::StretchRectReference(want.View(), full, clip, SourceFor(want, src, same), s, keyed, key, key,
                                           mask);
            platform::StretchRect(got.View(), full, clip, SourceFor(got, src, same), s, keyed, key, key, mask);
            ASSERT_EQ(FirstDifference(got, want), "") << "bpp " << bpp;
        }
    }
}

}  // namespace
}  // namespace vxl::testing
