// The software blitter: its fills, keyed copies and stretches on every path the processor allows
// against the per-pixel references on random shapes, and pictures of the copies' rules.
#include "platform/surfaces/blitter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "platform/cpu.h"

namespace vxl::testing {
namespace {

using platform::PixelMemory;
using platform::Rect;

// Runs `check` once per processor path (scalar, SSE2 and AVX2 where the machine has it).
template <typename Check>
void OnEveryPath(Check&& check) {
    struct Reset {
        ~Reset() { platform::ResetCpuFeatures(); }
    } reset;
    std::vector<platform::CpuFeatures> paths = {{false, false}, {true, false}};
    if (__builtin_cpu_supports("avx2")) paths.push_back({true, true});
    for (const auto& path : paths) {
        platform::ForceCpuFeatures(path);
        check(path.sse2 + path.avx2);
    }
}

int32_t Between(std::mt19937& rng, int32_t lo, int32_t hi) {
    return lo + int32_t(rng() % uint32_t(hi - lo + 1));
}

// Random bytes, then pixels from a few colours so that keys hit often, with noise in the bits a key
// ignores; rows padded now and then, the first pixel at any offset from an aligned address.
struct Memory {
    int32_t width, height;
    uint32_t bpp;
    int32_t pitch;
    size_t base;
    std::vector<uint8_t> bytes;

    Memory(std::mt19937& rng, int32_t w, int32_t h, uint32_t b, const std::vector<uint32_t>& palette, uint32_t mask)
        : width(w), height(h), bpp(b), pitch(w * int32_t(b) + int32_t(rng() % 5)), base(rng() % 32) {
        bytes.resize(base + size_t(pitch) * size_t(h) + 8);
        for (uint8_t& x : bytes) x = uint8_t(rng());
        for (int32_t y = 0; y < h; ++y)
            for (int32_t x = 0; x < w; ++x) {
                const uint32_t c = (palette[rng() % palette.size()] & mask) | (rng() & ~mask);
                std::memcpy(At(x, y), &c, bpp);
            }
    }
    uint8_t* At(int32_t x, int32_t y) { return bytes.data() + base + size_t(y) * size_t(pitch) + size_t(x) * bpp; }
    PixelMemory View() { return {bytes.data() + base, width, height, pitch, bpp}; }
};

// Where `got` first differs from `want`, or "".
std::string FirstDifference(const std::vector<uint8_t>& got, const std::vector<uint8_t>& want) {
    const auto at = std::mismatch(got.begin(), got.end(), want.begin()).first;
    return at == got.end() ? "" : "byte " + std::to_string(at - got.begin());
}

TEST(BlitterTest, ReferenceFillWritesLowBytesLittleEndian) {
    std::vector<uint8_t> bytes(8, 0xEE);
    platform::FillSpanReference(bytes.data() + 1, 2, 3, 0x11223344);
    EXPECT_EQ(bytes, (std::vector<uint8_t>{0xEE, 0x44, 0x33, 0x22, 0x44, 0x33, 0x22, 0xEE}));
}

// Spans of every length up to 300 at every offset (and of a mebibyte and more, stored differently),
// never writing past their end; colours whose bytes repeat, with and without noise above.
TEST(BlitterTest, FillSpanMatchesReference) {
    OnEveryPath([](int path) {
        std::vector<std::tuple<uint32_t, int64_t>> spans = {{2, (1 << 19) + 1}, {2, (1 << 20) + 7}, {4, (1 << 18) + 5}};
        for (uint32_t bpp = 1; bpp <= 4; ++bpp)
            for (int64_t n = 0; n <= 300; ++n) spans.push_back({bpp, n});
        for (const auto& [bpp, n] : spans) {
            std::mt19937 rng(uint32_t(n) * 131 + bpp * 7 + uint32_t(path) * 100000);
            const size_t offset = 40 + rng() % 8;
            const uint32_t random = rng();
            const uint32_t kinds[] = {(random & 0xFF) * 0x01010101u,
                                      (random & 0xFF) * 0x00010101u | (random & 0xFF000000u), random};
            const uint32_t colour = kinds[rng() % 3];
            std::vector<uint8_t> got(offset + size_t(n) * bpp + 40);
            for (uint8_t& b : got) b = uint8_t(rng());
            std::vector<uint8_t> want = got;
            platform::FillSpanReference(want.data() + offset, n, bpp, colour);
            platform::FillSpan(got.data() + offset, n, bpp, colour);
            ASSERT_EQ(FirstDifference(got, want), "")
                << "path " << path << " bpp " << bpp << " length " << n << " colour 0x" << std::hex << colour;
        }
    });
}

// Rectangle fills, keyed copies (one surface onto itself now and then) and stretches over any edge:
// random sizes and placements, corners pushed to the edges as often as placed anywhere.
TEST(BlitterTest, RectangleFillsKeyedCopiesAndStretchesMatchTheirReferences) {
    OnEveryPath([](int path) {
        for (uint32_t run = 0; run < 3600; ++run) {
            const uint32_t bpp = 1 + run % 4, seed = run * 3 + uint32_t(path);
            std::mt19937 rng(seed);
            const uint32_t full = bpp == 4 ? 0xFFFFFFFFu : (1u << (8 * bpp)) - 1;
            const uint32_t mask = bpp == 4 ? 0xFFFFFF : bpp == 2 && rng() % 2 ? 0x7FFF : full;
            const std::vector<uint32_t> palette{uint32_t(rng()), uint32_t(rng()), uint32_t(rng()), uint32_t(rng())};
            const bool same = rng() % 5 == 0;
            Memory src(rng, Between(rng, 1, 70), Between(rng, 1, 9), bpp, palette, mask);
            Memory dst = same ? src : Memory(rng, Between(rng, 1, 70), Between(rng, 1, 9), bpp, palette, mask);
            Memory got = dst, want = dst;
            const auto source = [&](Memory& m) { return same ? m.View() : src.View(); };
            const uint32_t lo = palette[rng() % 4] & mask;
            const uint32_t hi = rng() % 4 == 0 ? uint32_t(std::min<uint64_t>(uint64_t(lo) + rng() % 5000, mask)) : lo;
            const auto place = [&](int32_t room) { return rng() % 3 == 0 ? 0 : rng() % 2 ? room : Between(rng, 0, room); };
            const int kind = int(run / 4 % 3);
            if (kind == 0) {
                const int32_t l = Between(rng, 0, dst.width - 1), t = Between(rng, 0, dst.height - 1);
                const Rect r{l, t, Between(rng, l + 1, dst.width), Between(rng, t + 1, dst.height)};
                const uint32_t colour = rng();
                platform::FillRect(got.View(), r, colour);
                for (int32_t y = r.top; y < r.bottom; ++y)
                    platform::FillSpanReference(want.At(r.left, y), r.Width(), bpp, colour);
            } else if (kind == 1) {
                const int32_t w = Between(rng, 1, std::min(src.width, dst.width));
                const int32_t h = Between(rng, 1, std::min(src.height, dst.height));
                const int32_t sx = place(src.width - w), sy = place(src.height - h);
                const int32_t dx = place(dst.width - w), dy = place(dst.height - h);
                const Rect s{sx, sy, sx + w, sy + h}, d{dx, dy, dx + w, dy + h};
                platform::CopyRectKeyedReference(want.View(), d, source(want), s, lo, hi, mask);
                platform::CopyRectKeyed(got.View(), d, source(got), s, lo, hi, mask);
            } else {
                const int32_t sl = Between(rng, 0, src.width - 1), st = Between(rng, 0, src.height - 1);
                const Rect s{sl, st, Between(rng, sl + 1, src.width), Between(rng, st + 1, src.height)};
                // Destination rectangles up to three times the surface, hanging over any edge.
                const int32_t l = Between(rng, -dst.width, dst.width), t = Between(rng, -dst.height, dst.height);
                const Rect d{l, t, l + Between(rng, 1, 3 * dst.width), t + Between(rng, 1, 3 * dst.height)};
                const Rect clip{0, 0, dst.width, dst.height};
                const bool keyed = rng() % 2;
                platform::StretchRectReference(want.View(), d, clip, source(want), s, keyed, lo, lo, mask);
                platform::StretchRect(got.View(), d, clip, source(got), s, keyed, lo, lo, mask);
            }
            ASSERT_EQ(FirstDifference(got.bytes, want.bytes), "")
                << "kind " << kind << " path " << path << " seed " << seed << " bpp " << bpp;
        }
    });
}

// A picture whose pixels are characters: the low byte is the character, the bytes above it a fixed
// pattern, so that a copy has to move whole pixels to read back right.
struct Picture {
    uint32_t bpp;
    int32_t width, height, pitch;
    std::vector<uint8_t> bytes;

    static constexpr uint32_t kHigh = 0xC3B2A100;

    Picture(uint32_t b, const std::vector<std::string>& rows)
        : bpp(b), width(int32_t(rows[0].size())), height(int32_t(rows.size())), pitch(width * int32_t(b) + 3) {
        bytes.assign(size_t(pitch) * height, 0);
        for (int32_t y = 0; y < height; ++y)
            for (int32_t x = 0; x < width; ++x)
                platform::FillSpanReference(At(x, y), 1, bpp, kHigh | uint8_t(rows[y][x]));
    }

    uint8_t* At(int32_t x, int32_t y) { return bytes.data() + y * pitch + x * int32_t(bpp); }
    PixelMemory Memory() { return {bytes.data(), width, height, pitch, bpp}; }

    // Back to characters; '?' marks a pixel whose upper bytes were not carried along.
    std::vector<std::string> Rows() {
        std::vector<std::string> rows(size_t(height), std::string(size_t(width), '?'));
        for (int32_t y = 0; y < height; ++y)
            for (int32_t x = 0; x < width; ++x) {
                uint8_t whole[4];
                platform::FillSpanReference(whole, 1, bpp, kHigh | *At(x, y));
                if (std::memcmp(whole, At(x, y), bpp) == 0) rows[y][x] = char(*At(x, y));
            }
        return rows;
    }
};

using Rows = std::vector<std::string>;

// Overlapping copies on one picture behave as if the source were read out first.
TEST(BlitterTest, OverlappingCopyActsLikeCopyThroughTemporary) {
    std::mt19937 rng(7);
    Rows random(10, std::string(12, ' '));
    for (auto& row : random) std::generate(row.begin(), row.end(), [&] { return char('a' + rng() % 26); });
    const Rect source{3, 3, 9, 8};
    for (uint32_t bpp = 1; bpp <= 4; ++bpp) {
        for (auto [dx, dy] : {std::pair{2, 1}, {-2, -1}, {1, 0}, {-1, 0}, {0, 2}, {0, -2}, {-3, 2}, {3, -2}}) {
            SCOPED_TRACE("bpp " + std::to_string(bpp) + " shift " + std::to_string(dx) + "," + std::to_string(dy));
            const Rect dest{source.left + dx, source.top + dy, source.right + dx, source.bottom + dy};
            Rows expected = random;
            for (int32_t y = 0; y < source.Height(); ++y) {
                expected[dest.top + y].replace(dest.left, source.Width(), random[source.top + y], source.left,
                                               source.Width());
            }
            Picture p(bpp, random);
            platform::CopyRect(p.Memory(), dest, p.Memory(), source);
            EXPECT_EQ(p.Rows(), expected);
        }
    }
}

TEST(BlitterTest, KeyedCopyKeepsKeyPixels) {
    // Key 'A'..'C' compared with the lower-case bit masked off: a, B and c are key pixels.
    for (uint32_t bpp = 1; bpp <= 4; ++bpp) {
        SCOPED_TRACE("bpp " + std::to_string(bpp));
        Picture src(bpp, {"..aBxD.", "..cCdb@"});
        Picture dst(bpp, {"-----", "-----", "-----"});
        platform::CopyRectKeyed(dst.Memory(), Rect{0, 1, 5, 3}, src.Memory(), Rect{2, 0, 7, 2}, 'A', 'C', 0xDF);
        EXPECT_EQ(dst.Rows(), (Rows{"-----", "--xD.", "--d-@"}));
    }
}

TEST(BlitterTest, StretchPicksNearestSourcePixel) {
    const Rows kSmall{"AB", "CD"};
    const Rows kLarge{"ABCD", "EFGH", "IJKL", "MNOP"};
    // Source, destination, where the whole source goes and the part of that drawn, keyed, the result.
    const std::tuple<const char*, Rows, Rows, Rect, Rect, bool, Rows> cases[] = {
        {"double", kSmall, Rows(4, "...."), {0, 0, 4, 4}, {0, 0, 4, 4}, false, {"AABB", "AABB", "CCDD", "CCDD"}},
        {"halve", kLarge, Rows(2, ".."), {0, 0, 2, 2}, {0, 0, 2, 2}, false, {"FH", "NP"}},
        {"clipped", kSmall, Rows(4, "....."), {0, 1, 4, 5}, {1, 0, 5, 3}, false, {".....", ".ABB.", ".ABB.", "....."}},
        {"keyed", {"aB", "Cd"}, Rows(4, "...."), {0, 0, 4, 4}, {0, 0, 4, 4}, true, {"....", "....", "..dd", "..dd"}},
    };
    for (uint32_t bpp = 1; bpp <= 4; ++bpp) {
        for (const auto& [name, src_rows, dst_rows, full_dst, clip, keyed, expected] : cases) {
            SCOPED_TRACE(std::string(name) + " bpp " + std::to_string(bpp));
            Picture src(bpp, src_rows), dst(bpp, dst_rows);
            platform::StretchRect(dst.Memory(), full_dst, clip, src.Memory(), Rect{0, 0, src.width, src.height}, keyed,
                                  'A', 'C', 0xDF);
            EXPECT_EQ(dst.Rows(), expected);
        }
    }
}

}  // namespace
}  // namespace vxl::testing
