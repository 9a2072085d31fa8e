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

struct CpuFeaturesReset {
    ~CpuFeaturesReset() { platform::ResetCpuFeatures(); }
};

TEST(BlitterTest, ReferenceFillWritesLowBytesLittleEndian) {
    std::vector<uint8_t> bytes(8, 0xEE);
    platform::FillSpanReference(bytes.data() + 1, 2, 3, 0x11223344);
    EXPECT_EQ(bytes, (std::vector<uint8_t>{0xEE, 0x44, 0x33, 0x22, 0x44, 0x33, 0x22, 0xEE}));
}

// Fills `count` pixels at `offset` into a copy of `around` both ways; "" when they agree, else where
// they first differ.
std::string FillDifference(std::vector<uint8_t> around, size_t offset, int64_t count, uint32_t bpp, uint32_t colour) {
    std::vector<uint8_t> want = around;
    platform::FillSpanReference(want.data() + offset, count, bpp, colour);
    platform::FillSpan(around.data() + offset, count, bpp, colour);
    const auto [got, wanted] = std::mismatch(around.begin(), around.end(), want.begin());
    if (got == around.end()) return "";
    return "byte " + std::to_string(got - around.begin() - ptrdiff_t(offset)) + " of the span is " +
           std::to_string(*got) + ", want " + std::to_string(*wanted);
}

// The vector fills must match the per-pixel one byte for byte, never writing past the span.
TEST(BlitterTest, FillSpanMatchesReference) {
    CpuFeaturesReset reset;
    constexpr size_t kGuard = 40;
    for (const bool avx2 : {false, true}) {
        if (avx2 && !__builtin_cpu_supports("avx2")) continue;  // this machine cannot run the AVX2 half
        platform::ForceCpuFeatures({true, avx2});
        for (uint32_t bpp = 1; bpp <= 4; ++bpp) {
            for (int64_t length = 0; length <= 300; ++length) {
                const uint32_t seed = uint32_t(length) * 131 + bpp * 7 + (avx2 ? 100000 : 0);
                std::mt19937 rng(seed);
                const size_t offset = rng() % 8;
                const uint32_t random = rng();
                // Also colours whose bytes repeat, with and without noise above.
                const uint32_t kinds[] = {(random & 0xFF) * 0x01010101u,
                                          (random & 0xFF) * 0x00010101u | (random & 0xFF000000u), random};
                const uint32_t colour = kinds[rng() % 3];
                std::vector<uint8_t> bytes(kGuard + offset + size_t(length) * bpp + kGuard);
                for (uint8_t& b : bytes) b = uint8_t(rng());
                ASSERT_EQ(FillDifference(bytes, kGuard + offset, length, bpp, colour), "")
                    << "seed " << seed << " avx2 " << avx2 << " bpp " << bpp << " length " << length << " offset "
                    << offset << " colour 0x" << std::hex << colour;
            }
        }
    }
}

// Spans of a mebibyte and more are stored differently; an odd count of 2-byte pixels ends mid-word.
TEST(BlitterTest, HugeFillSpanMatchesReference) {
    for (auto [bpp, count] : {std::pair{2u, (1 << 19) + 1}, {2u, (1 << 20) + 7}, {4u, 1 << 18}, {4u, (1 << 18) + 5}}) {
        const std::vector<uint8_t> bytes(size_t(count) * bpp + 16, 0xEE);
        EXPECT_EQ(FillDifference(bytes, 3, count, bpp, 0x12345678), "") << "bpp " << bpp << " count " << count;
    }
}

// Rectangle fills run row by row with stores aligned to the memory, so pitches and left edges that
// do and do not keep pixels aligned must give the per-pixel result and leave the rest alone.
TEST(BlitterTest, FillRectMatchesReference) {
    CpuFeaturesReset reset;
    std::mt19937 rng(77);
    for (const bool avx2 : {false, true}) {
        if (avx2 && !__builtin_cpu_supports("avx2")) continue;
        platform::ForceCpuFeatures({true, avx2});
        for (int round = 0; round < 400; ++round) {
            const uint32_t bpp = 2 + rng() % 3;
            const int32_t width = 1 + int32_t(rng() % 90), height = 1 + int32_t(rng() % 6);
            const int32_t pitch = width * int32_t(bpp) + int32_t(rng() % 5);
            std::vector<uint8_t> got(size_t(pitch) * height + 64);
            for (uint8_t& b : got) b = uint8_t(rng());
            std::vector<uint8_t> want = got;
            const int32_t l = int32_t(rng() % width), t = int32_t(rng() % height);
            const Rect r{l, t, l + 1 + int32_t(rng() % (width - l)), t + 1 + int32_t(rng() % (height - t))};
            const uint32_t colour = rng();
            const size_t base = rng() % 32;
            platform::FillRect(PixelMemory{got.data() + base, width, height, pitch, bpp}, r, colour);
            for (int32_t y = r.top; y < r.bottom; ++y) {
                platform::FillSpanReference(want.data() + base + size_t(y) * pitch + size_t(r.left) * bpp, r.Width(),
                                            bpp, colour);
            }
            ASSERT_EQ(got, want) << "round " << round << " avx2 " << avx2 << " bpp " << bpp << " pitch " << pitch;
        }
    }
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
