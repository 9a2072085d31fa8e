#include "platform/surfaces/blitter.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
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

// The vector fills must match the per-pixel one byte for byte, never writing past the span.
TEST(BlitterTest, FillSpanMatchesReference) {
    CpuFeaturesReset reset;
    constexpr size_t kGuard = 40;
    for (const bool avx2 : {false, true}) {
        if (avx2 && !__builtin_cpu_supports("avx2")) {
            continue;  // this machine cannot run the AVX2 half
        }
        platform::ForceCpuFeatures({true, avx2});
        for (uint32_t bpp = 1; bpp <= 4; ++bpp) {
            for (int64_t length = 0; length <= 300; ++length) {
                const uint32_t seed = uint32_t(length) * 131 + bpp * 7 + (avx2 ? 100000 : 0);
                std::mt19937 rng(seed);
                const size_t offset = rng() % 8;
                uint32_t colour = rng();
                switch (rng() % 3) {  // also colours whose bytes repeat, with and without noise above
                case 0:
                    colour = (colour & 0xFF) * 0x01010101u;
                    break;
                case 1:
                    colour = (colour & 0xFF) * 0x00010101u | (colour & 0xFF000000u);
                    break;
                }
                std::vector<uint8_t> expected(kGuard + offset + size_t(length) * bpp + kGuard);
                for (uint8_t& b : expected) b = uint8_t(rng());
                std::vector<uint8_t> actual = expected;
                platform::FillSpanReference(expected.data() + kGuard + offset, length, bpp, colour);
                platform::FillSpan(actual.data() + kGuard + offset, length, bpp, colour);
                if (actual != expected) {
                    size_t i = 0;
                    while (actual[i] == expected[i]) ++i;
                    FAIL() << "seed " << seed << " avx2 " << avx2 << " bpp " << bpp << " length " << length
                           << " offset " << offset << " colour 0x" << std::hex << colour << std::dec
                           << ": first difference at byte " << (int64_t(i) - int64_t(kGuard + offset))
                           << " of the span, got " << int(actual[i]) << " want " << int(expected[i]);
                }
            }
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
        for (int32_t y = 0; y < height; ++y) {
            for (int32_t x = 0; x < width; ++x) {
                platform::FillSpanReference(At(x, y), 1, bpp, kHigh | uint8_t(rows[y][x]));
            }
        }
    }

    uint8_t* At(int32_t x, int32_t y) { return bytes.data() + y * pitch + x * int32_t(bpp); }
    PixelMemory Memory() { return {bytes.data(), width, height, pitch, bpp}; }

    // Back to characters; '?' marks a pixel whose upper bytes were not carried along.
    std::vector<std::string> Rows() {
        std::vector<std::string> rows;
        for (int32_t y = 0; y < height; ++y) {
            std::string row;
            for (int32_t x = 0; x < width; ++x) {
                const uint8_t* p = At(x, y);
                bool whole = true;
                for (uint32_t i = 1; i < bpp; ++i) whole = whole && p[i] == uint8_t(kHigh >> (8 * i));
                row += whole ? char(p[0]) : '?';
            }
            rows.push_back(row);
        }
        return rows;
    }
};

using Rows = std::vector<std::string>;

// Overlapping copies on one picture behave as if the source were read out first.
TEST(BlitterTest, OverlappingCopyActsLikeCopyThroughTemporary) {
    std::mt19937 rng(7);
    Rows random(10, std::string(12, ' '));
    for (auto& row : random) {
        for (char& c : row) c = char('a' + rng() % 26);
    }
    const Rect source{3, 3, 9, 8};
    for (uint32_t bpp = 1; bpp <= 4; ++bpp) {
        for (auto [dx, dy] : {std::pair{2, 1}, {-2, -1}, {1, 0}, {-1, 0}, {0, 2}, {0, -2}, {-3, 2}, {3, -2}}) {
            SCOPED_TRACE("bpp " + std::to_string(bpp) + " shift " + std::to_string(dx) + "," + std::to_string(dy));
            const Rect dest{source.left + dx, source.top + dy, source.right + dx, source.bottom + dy};
            Rows expected = random;
            for (int32_t y = 0; y < source.Height(); ++y) {
                for (int32_t x = 0; x < source.Width(); ++x) {
                    expected[dest.top + y][dest.left + x] = random[source.top + y][source.left + x];
                }
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
    const struct {
        const char* name;
        Rows src, dst;
        Rect full_dst, clip;
        bool keyed;
        Rows expected;
    } cases[] = {
        {"double", kSmall, Rows(4, "...."), {0, 0, 4, 4}, {0, 0, 4, 4}, false, {"AABB", "AABB", "CCDD", "CCDD"}},
        {"halve", kLarge, Rows(2, ".."), {0, 0, 2, 2}, {0, 0, 2, 2}, false, {"FH", "NP"}},
        {"clipped",
         kSmall,
         Rows(6, "......"),
         {1, 1, 5, 5},
         {2, 0, 6, 3},
         false,
         {"......", "..ABB.", "..ABB.", "......", "......", "......"}},
        {"keyed", {"aB", "Cd"}, Rows(4, "...."), {0, 0, 4, 4}, {0, 0, 4, 4}, true, {"....", "....", "..dd", "..dd"}},
    };
    for (uint32_t bpp = 1; bpp <= 4; ++bpp) {
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(c.name) + " bpp " + std::to_string(bpp));
            Picture src(bpp, c.src), dst(bpp, c.dst);
            platform::StretchRect(dst.Memory(), c.full_dst, c.clip, src.Memory(), Rect{0, 0, src.width, src.height},
                                  c.keyed, 'A', 'C', 0xDF);
            EXPECT_EQ(dst.Rows(), c.expected);
        }
    }
}

}  // namespace
}  // namespace vxl::testing
