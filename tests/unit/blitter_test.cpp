// The software blitter: its fills, keyed copies and stretches on every path the processor allows
// against the per-pixel references on random shapes, and the overlap rule of its plain copies (the
// keys and stretches through the exports are in copies_test).
#include "platform/surfaces/blitter.h"

#include <algorithm>
#include <random>
#include <tuple>

#include "draw/spans.h"
#include "picture.h"

namespace vxl::testing {
namespace {

using platform::PixelMemory;
using platform::Rect;

using BlitterTest = FakeTest;

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

// Spans of every length up to 300 at every offset (and of a mebibyte and more, stored differently),
// never writing past their end; colours whose bytes repeat, with and without noise above. The
// drawing's own span writer (16, 24 and 32 bits) gives the same bytes.
TEST_F(BlitterTest, FillSpanMatchesReference) {
    for (const auto& cpu : CpuPaths()) {
        platform::ForceCpuFeatures(cpu);
        const int path = cpu.sse2 + cpu.avx2;
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
            for (const bool drawing : {false, true}) {
                if (drawing && bpp == 1) continue;
                std::vector<uint8_t> written = got;
                drawing ? draw::FillSpan(written.data() + offset, n, bpp * 8, colour)
                        : platform::FillSpan(written.data() + offset, n, bpp, colour);
                ASSERT_EQ(FirstDifference(written, want), "") << "path " << path << " bpp " << bpp << " length " << n
                                                              << " colour 0x" << std::hex << colour << " " << drawing;
            }
        }
    }
}

// Rectangle fills, keyed copies (one surface onto itself now and then) and stretches over any edge:
// random sizes and placements, corners pushed to the edges as often as placed anywhere.
TEST_F(BlitterTest, RectangleFillsKeyedCopiesAndStretchesMatchTheirReferences) {
    for (const auto& cpu : CpuPaths()) {
        platform::ForceCpuFeatures(cpu);
        const int path = cpu.sse2 + cpu.avx2;
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
            const auto place = [&](int32_t room) {
                return rng() % 3 == 0 ? 0 : rng() % 2 ? room : Between(rng, 0, room);
            };
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
    }
}

// Overlapping copies on one surface act as if the source were read out first.
TEST_F(BlitterTest, OverlappingCopyActsLikeCopyThroughTemporary) {
    std::mt19937 rng(7);
    const Rect s{3, 3, 9, 8};
    for (uint32_t bpp = 1; bpp <= 4; ++bpp) {
        for (auto [dx, dy] : {std::pair{2, 1}, {-2, -1}, {1, 0}, {-1, 0}, {0, 2}, {0, -2}, {-3, 2}, {3, -2}}) {
            Memory got(rng, 12, 10, bpp, {0}, 0), want = got;  // no mask: every pixel random
            const Rect d{s.left + dx, s.top + dy, s.right + dx, s.bottom + dy};
            std::vector<uint8_t> rows;
            for (int32_t y = s.top; y < s.bottom; ++y) rows.insert(rows.end(), got.At(s.left, y), got.At(s.right, y));
            for (int32_t y = 0; y < s.Height(); ++y)
                std::copy_n(rows.begin() + y * s.Width() * int32_t(bpp), s.Width() * int32_t(bpp),
                            want.At(d.left, d.top + y));
            platform::CopyRect(got.View(), d, got.View(), s);
            ASSERT_EQ(FirstDifference(got.bytes, want.bytes), "") << "bpp " << bpp << " shift " << dx << "," << dy;
        }
    }
}

}  // namespace
}  // namespace vxl::testing
