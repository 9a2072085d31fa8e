// The vector fast paths against the scalar references: random rows of every length, misaligned
// starts and overlapping rows at the row-operation level, random sizes and placements through the
// exports, with the processor flags forced to each path in turn.
#include <algorithm>
#include <random>

#include "blend/row_op.h"
#include "blend_helpers.h"

namespace vxl::testing {
namespace {

using blend::RowKind;

// The processor paths to compare: none (the reference), SSE2, and AVX2 where the machine has it.
std::vector<platform::CpuFeatures> Paths() {
    platform::ResetCpuFeatures();
    std::vector<platform::CpuFeatures> paths = {{false, false}, {true, false}};
    if (platform::Cpu().avx2) paths.push_back({true, true});
    return paths;
}

constexpr RowKind kAllKinds[] = {RowKind::Add,          RowKind::Sub,          RowKind::Xor,
                                 RowKind::Alpha,        RowKind::AlphaMap,     RowKind::AlphaSprite,
                                 RowKind::RedChannel,   RowKind::GreenChannel, RowKind::BlueChannel,
                                 RowKind::AlphaChannel, RowKind::Negative,     RowKind::Greyscale};
constexpr TPixelLayout kLayouts[] = {TPixelLayout::Rgb555, TPixelLayout::Rgb565, TPixelLayout::Bgr24,
                                     TPixelLayout::Xrgb32};

class RowKernelTest : public FakeTest {};

TEST_F(RowKernelTest, FastRowsMatchReferenceOnRandomRows) {
    std::mt19937 rng(2024);
    for (const auto& path : Paths()) {
        platform::ForceCpuFeatures(path);
        int with_fast_path = 0;
        for (TPixelLayout layout : kLayouts) {
            for (RowKind kind : kAllKinds) {
                const blend::RowOp fast = blend::ChooseRow(kind, layout), ref = blend::ReferenceOnly(kind, layout);
                ASSERT_TRUE(ref) << int(kind);
                with_fast_path += fast.fast != nullptr;
                for (int round = 0; round < 60; ++round) {
                    const size_t n = round < 50 ? rng() % 80 : 200 + rng() % 300;
                    const size_t bytes = n * ref.bytes, skew_s = rng() % 5, skew_d = rng() % 5;
                    std::vector<uint8_t> src(bytes + 8), dst(bytes + 8), alpha(n + 8);
                    for (auto& b : src) b = uint8_t(rng());
                    for (auto& b : dst) b = uint8_t(rng());
                    for (auto& b : alpha) b = uint8_t(rng());
                    std::vector<uint8_t> dst_ref = dst;
                    blend::RowJob job;
                    job.n = n;
                    job.src = kind == RowKind::AlphaChannel ? nullptr : src.data() + skew_s;
                    job.alpha = alpha.data() + skew_s;
                    job.opacity = rng() % 4 == 0 ? (rng() % 2) * 255 : rng() & 0xFF;
                    // Keys that hit: a source pixel's value, sometimes with bits the layout ignores.
                    uint32_t key = 0;
                    if (n > 0) std::memcpy(&key, src.data() + skew_s + (rng() % n) * ref.bytes, ref.bytes);
                    if (ref.bytes == 2) key &= 0xFFFF;
                    if (rng() % 3 == 0) key |= 0xFF000000u;
                    job.key = key;
                    job.dst = dst.data() + skew_d;
                    fast.Run(job);
                    job.dst = dst_ref.data() + skew_d;
                    ref.Run(job);
                    ASSERT_EQ(dst, dst_ref) << "kind " << int(kind) << " layout " << int(layout) << " n " << n
                                            << " avx2 " << path.avx2 << " sse2 " << path.sse2;
                }
            }
        }
        // Every operation has its vector path at 15, 16 and 32 bits; 24 bits lacks four of them, or
        // three with AVX2's byte shuffles (grey).
        EXPECT_EQ(with_fast_path, path.avx2 ? 4 * 12 - 3 : path.sse2 ? 4 * 12 - 4 : 0);
    }
}

// In place and with the destination just ahead of or behind the source in one row.
TEST_F(RowKernelTest, OverlappingRowsMatchReference) {
    std::mt19937 rng(99);
    for (const auto& path : Paths()) {
        platform::ForceCpuFeatures(path);
        for (TPixelLayout layout : kLayouts) {
            for (RowKind kind : {RowKind::Add, RowKind::Sub, RowKind::Xor, RowKind::Alpha, RowKind::AlphaSprite,
                                 RowKind::RedChannel, RowKind::Greyscale}) {
                const blend::RowOp fast = blend::ChooseRow(kind, layout), ref = blend::ReferenceOnly(kind, layout);
                for (int shift : {-9, -1, 0, 1, 3, 17}) {
                    const size_t n = 100, bytes = ref.bytes;
                    std::vector<uint8_t> row((n + 40) * bytes);
                    for (auto& b : row) b = uint8_t(rng());
                    std::vector<uint8_t> row_ref = row;
                    blend::RowJob job;
                    job.n = n;
                    job.opacity = 99;
                    job.key = 0x00123456;
                    const size_t s_at = 20 * bytes, d_at = size_t(20 + shift) * bytes;
                    job.src = row.data() + s_at;
                    job.dst = row.data() + d_at;
                    fast.Run(job);
                    job.src = row_ref.data() + s_at;
                    job.dst = row_ref.data() + d_at;
                    ref.Run(job);
                    ASSERT_EQ(row, row_ref) << "kind " << int(kind) << " layout " << int(layout) << " shift " << shift;
                }
            }
        }
    }
}

using SimdDepthTest = DepthTest;

// Whole exports over random sizes and placements clipped at every edge: each path leaves the same
// destination as the reference.
TEST_P(SimdDepthTest, ExportsMatchReferenceOnRandomPlacements) {
    std::mt19937 rng(depth_ * 31 + full_);
    const auto paths = Paths();
    for (int round = 0; round < 12; ++round) {
        const int32_t ws = 1 + int32_t(rng() % 70), hs = 1 + int32_t(rng() % 6);
        const int32_t wd = 1 + int32_t(rng() % 70), hd = 1 + int32_t(rng() % 6);
        const int32_t x = int32_t(rng() % (wd + ws + 2)) - ws - 1, y = int32_t(rng() % (hd + hs + 2)) - hs - 1;
        const auto src_px = RandomPixels(rng, size_t(ws * hs), depth_),
                   dst_px = RandomPixels(rng, size_t(wd * hd), depth_);
        const uint32_t opacity = rng() & 0xFF, key = src_px[rng() % src_px.size()];
        const uint64_t alpha_seed = rng();
        std::vector<std::vector<uint32_t>> results;
        for (const auto& path : paths) {
            platform::ForceCpuFeatures(path);
            const int32_t s = BufferOf(ws, hs, src_px), d = BufferOf(wd, hd, dst_px);
            std::mt19937 alpha_rng{uint32_t(alpha_seed)};
            FillAlpha(s, alpha_rng);
            std::vector<uint32_t> all;
            auto step = [&](auto&& op) {
                op();
                const auto px = PixelsOf(d);
                all.insert(all.end(), px.begin(), px.end());
            };
            step([&] { CopyAdd(s, d, x, y); });
            step([&] { CopySub(s, d, x, y); });
            step([&] { CopyXor(s, d, x, y); });
            step([&] { CopyAlpha(s, d, x, y, int32_t(opacity)); });
            step([&] { CopyAlphaSprite(s, d, x, y, int32_t(opacity), key); });
            step([&] { CopyAlphaMap(s, d, x, y); });
            step([&] { CopyRedChannel(s, d, x, y); });
            step([&] { CopyGreenChannel(s, d, x, y); });
            step([&] { CopyBlueChannel(s, d, x, y); });
            step([&] { CopyAlphaChannel(s, d, x, y); });
            step([&] { Negative(d); });
            step([&] { Greyscale(d); });
            step([&] { Blur2x(d); });
            results.push_back(std::move(all));
            CloseBuffer(s);
            CloseBuffer(d);
        }
        for (size_t i = 1; i < results.size(); ++i) {
            ASSERT_EQ(results[i], results[0]) << "path " << i << " round " << round << " " << ws << "x" << hs
                                              << " onto " << wd << "x" << hd << " at " << x << "," << y;
        }
    }
}

// The blur's wavefront against the per-pixel walk: single pixels, single rows and columns, odd widths
// and heights on both sides of a band's rows, rows short enough to be read from copies and long ones
// read in place, the widest row the wavefront takes; every layout and path.
TEST_P(SimdDepthTest, BlurMatchesPerPixelWalkOnEveryPath) {
    std::mt19937 rng(depth_ * 7 + full_);
    std::vector<std::pair<int32_t, int32_t>> sizes = {{1, 1},  {1, 37},  {37, 1},   {2, 2},   {3, 15},   {9, 16},
                                                      {5, 17}, {31, 33}, {100, 40}, {61, 65}, {120, 47}, {32768, 3}};
    for (int i = 0; i < 6; ++i) sizes.push_back({1 + int32_t(rng() % 250), 1 + int32_t(rng() % 70)});
    const auto paths = Paths();
    for (auto [w, h] : sizes) {
        const auto px = RandomPixels(rng, size_t(w * h), depth_);
        std::vector<std::vector<uint32_t>> results;
        for (const auto& path : paths) {
            platform::ForceCpuFeatures(path);
            const int32_t b = BufferOf(w, h, px);
            Blur2x(b);
            Blur2x(b);  // a second pass starts from blurred pixels
            results.push_back(PixelsOf(b));
            CloseBuffer(b);
        }
        for (size_t i = 1; i < results.size(); ++i) {
            ASSERT_EQ(results[i], results[0]) << "path " << i << " " << w << "x" << h;
        }
    }
}

// Grey by the plain division, written per layout.
uint32_t GreyByDivision(uint32_t depth, uint32_t p) {
    if (depth == 15) {
        const uint32_t g = (((p >> 10) & 31) + ((p >> 5) & 31) + (p & 31)) / 3;
        return g << 10 | g << 5 | g;
    }
    if (depth == 16) {
        const uint32_t g = ((p >> 11) + ((p >> 6) & 31) + (p & 31)) / 3;
        return g << 11 | g << 6 | g;
    }
    const uint32_t g = ((p & 255) + ((p >> 8) & 255) + ((p >> 16) & 255)) / 3;
    return (depth == 32 ? p & 0xFF000000u : 0) | g * 0x010101u;
}

// Every stored value at 15 and 16 bits, every channel sum at 24 and 32 bits: the multiply that
// replaces the division by 3 agrees with it over the whole range, on every path.
TEST_P(SimdDepthTest, GreyscaleEqualsDivisionOverTheWholeRange) {
    std::vector<uint32_t> px;
    if (depth_ <= 16) {
        for (uint32_t v = 0; v < 0x10000; ++v) px.push_back(v);
    } else {
        std::mt19937 rng(depth_);
        for (uint32_t sum = 0; sum <= 765; ++sum) {
            for (int spread = 0; spread < 3; ++spread) {
                uint32_t c[3] = {0, 0, 0}, left = sum;
                for (int i = 0; i < 3; ++i) {
                    const uint32_t at = uint32_t(i + spread) % 3, take = std::min(left, 255u);
                    c[at] = take;
                    left -= take;
                }
                px.push_back((rng() & 0xFF000000u) | c[2] << 16 | c[1] << 8 | c[0]);
            }
        }
        if (depth_ == 24) {
            for (auto& p : px) p &= 0xFFFFFF;
        }
    }
    const int32_t w = 256, h = int32_t((px.size() + w - 1) / w);
    px.resize(size_t(w * h), 0);
    for (const auto& path : Paths()) {
        platform::ForceCpuFeatures(path);
        const int32_t b = BufferOf(w, h, px);
        Greyscale(b);
        const auto out = PixelsOf(b);
        for (size_t i = 0; i < px.size(); ++i) {
            ASSERT_EQ(out[i], GreyByDivision(depth_, px[i])) << std::hex << px[i] << " avx2 " << path.avx2;
        }
        CloseBuffer(b);
    }
}

INSTANTIATE_TEST_SUITE_P(Depths, SimdDepthTest, AllDepths(false), DepthName);

}  // namespace
}  // namespace vxl::testing
