// The vector fast paths of the blends and filters against the scalar references, with the processor
// flags forced to each path in turn: random rows of every length at misaligned and overlapping
// places for the row operations, random and edge sizes for the blur, every value for grey.
#include <algorithm>
#include <random>
#include <tuple>

#include "blend/row_op.h"
#include "blend_helpers.h"

namespace vxl::testing {
namespace {

using blend::RowKind;

class RowKernelTest : public FakeTest {};

// Rows in separate memory at any skew, and now and then the source and destination in one row, in
// place or just ahead of or behind each other.
TEST_F(RowKernelTest, FastRowsMatchReferenceOnRandomRows) {
    std::mt19937 rng(2024);
    for (const auto& path : CpuPaths()) {
        platform::ForceCpuFeatures(path);
        int with_fast_path = 0;
        for (TPixelLayout layout :
             {TPixelLayout::Rgb555, TPixelLayout::Rgb565, TPixelLayout::Bgr24, TPixelLayout::Xrgb32}) {
            for (int k = 0; k < blend::kRowKinds; ++k) {
                const auto kind = RowKind(k);
                const blend::RowOp fast = blend::ChooseRow(kind, layout), ref = blend::ReferenceOnly(kind, layout);
                ASSERT_TRUE(ref) << k;
                with_fast_path += fast.fast != nullptr;
                for (int round = 0; round < 60; ++round) {
                    const size_t n = round < 50 ? rng() % 80 : 200 + rng() % 300, bytes = n * ref.bytes;
                    const bool one_row = rng() % 4 == 0 && kind != RowKind::AlphaChannel;
                    const size_t skew_s = one_row ? 40 * ref.bytes : rng() % 5;
                    const size_t skew_d = one_row ? size_t(40 + int(rng() % 7) - 3) * ref.bytes : rng() % 5;
                    std::vector<uint8_t> src(bytes + 80 * ref.bytes), dst(src.size()), alpha(n + 8);
                    for (auto* v : {&src, &dst, &alpha})
                        for (auto& b : *v) b = uint8_t(rng());
                    std::vector<uint8_t> src_ref = src, dst_ref = dst;
                    blend::RowJob job;
                    job.n = n;
                    job.alpha = alpha.data() + skew_s % 5;
                    job.opacity = rng() % 4 == 0 ? (rng() % 2) * 255 : rng() & 0xFF;
                    // Keys that hit: a source pixel's value, sometimes with bits the layout ignores.
                    uint32_t key = 0;
                    if (n > 0) std::memcpy(&key, src.data() + skew_s + (rng() % n) * ref.bytes, ref.bytes);
                    if (ref.bytes == 2) key &= 0xFFFF;
                    job.key = rng() % 3 == 0 ? key | 0xFF000000u : key;
                    for (auto [s, d, op] : {std::tuple{&src, &dst, &fast}, {&src_ref, &dst_ref, &ref}}) {
                        job.src = kind == RowKind::AlphaChannel ? nullptr : s->data() + skew_s;
                        job.dst = (one_row ? s : d)->data() + skew_d;
                        op->Run(job);
                    }
                    ASSERT_EQ(std::tie(src, dst), std::tie(src_ref, dst_ref))
                        << "kind " << k << " layout " << int(layout) << " n " << n << " one row " << one_row << " avx2 "
                        << path.avx2 << " sse2 " << path.sse2;
                }
            }
        }
        // Every operation has its vector path at 15, 16 and 32 bits; 24 bits lacks four of them, or
        // three with AVX2's byte shuffles (grey).
        EXPECT_EQ(with_fast_path, path.avx2 ? 4 * 12 - 3 : path.sse2 ? 4 * 12 - 4 : 0);
    }
}

using SimdDepthTest = DepthTest;

// The blur's wavefront over single pixels, rows and columns, odd sizes on both sides of a band's rows,
// rows short enough to be read from copies and long ones read in place, the widest row it takes, twice
// over (a second pass starts from blurred pixels): each path leaves what the reference leaves.
TEST_P(SimdDepthTest, BlurMatchesTheReferenceOnEveryPath) {
    std::mt19937 rng(depth_ * 7 + full_);
    std::vector<std::pair<int32_t, int32_t>> sizes = {{1, 1},  {1, 37},  {37, 1},   {2, 2},   {3, 15},   {9, 16},
                                                      {5, 17}, {31, 33}, {100, 40}, {61, 65}, {120, 47}, {32768, 3}};
    for (int i = 0; i < 6; ++i) sizes.push_back({1 + int32_t(rng() % 250), 1 + int32_t(rng() % 70)});
    for (auto [w, h] : sizes) {
        const auto px = RandomPixels(rng, size_t(w * h), depth_);
        std::vector<uint32_t> reference;
        for (const auto& path : CpuPaths()) {
            platform::ForceCpuFeatures(path);
            const int32_t b = BufferOf(w, h, px);
            Blur2x(b);
            Blur2x(b);
            if (reference.empty()) reference = PixelsOf(b);
            ASSERT_EQ(PixelsOf(b), reference) << "avx2 " << path.avx2 << " " << w << "x" << h;
            CloseBuffer(b);
        }
    }
}

// Grey by the plain division, written per layout (the 16-bit green field's top five bits).
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

// The multiply that replaces the division by 3 agrees with it: every stored value at 15 and 16 bits,
// random ones and the extremes at 24 and 32 bits, on every path.
TEST_P(SimdDepthTest, GreyscaleEqualsDivisionOverTheWholeRange) {
    std::mt19937 rng(depth_);
    const uint32_t stored = depth_ == 32 ? ~0u : Mask();
    std::vector<uint32_t> px = {0, stored, Mask()};
    for (uint32_t v = 0; v < 0x10000; ++v) px.push_back(depth_ <= 16 ? v : uint32_t(rng()) & stored);
    const int32_t w = 256, h = int32_t((px.size() + w - 1) / w);
    px.resize(size_t(w * h), 0);
    for (const auto& path : CpuPaths()) {
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
