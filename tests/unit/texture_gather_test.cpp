// Turned texture runs at 15, 16 and 32 bits gather texels eight at a time where the processor allows:
// the pixels must be those of the one-at-a-time loop, for any turn, zoom, texture size and clipping.
// (The 2-byte gathers read past their texel; under the sanitizers this also checks that they stay
// inside the surface.)
#include <random>
#include <vector>

#include "picture.h"
#include "platform/cpu.h"

namespace vxl::testing {
namespace {

class TextureGatherTest : public FakeTest {
protected:
    // Draws the same random work with AVX2 off and on and returns both destinations.
    template <typename Draw>
    std::pair<std::vector<uint32_t>, std::vector<uint32_t>> BothWays(Draw draw) {
        std::vector<uint32_t> got[2];
        for (const bool avx2 : {false, true}) {
            platform::ForceCpuFeatures({true, avx2});
            const int32_t dst = SetupBuffer(97, 61, 0);
            draw(dst);
            got[avx2] = PixelsOf(dst);
            CloseBuffer(dst);
        }
        platform::ResetCpuFeatures();
        return {got[0], got[1]};
    }
};

TEST_F(TextureGatherTest, TurnedRunsMatchTheTexelLoop) {
    if (!__builtin_cpu_supports("avx2")) GTEST_SKIP() << "no AVX2 here";
    std::mt19937 rng(2024);
    for (const uint32_t depth : {15u, 16u, 32u}) {
        SetDesktopDepth(depth);
        OpenWindowed();
        for (int round = 0; round < 100; ++round) {
            const int32_t tw = 1 + int32_t(rng() % 40), th = 1 + int32_t(rng() % 40);
            const int32_t tex = SetupBuffer(tw, th, 0);
            for (int32_t y = 0; y < th; ++y)
                for (int32_t x = 0; x < tw; ++x) PutPixel(tex, x, y, rng() & 0xFFFFFF);
            const float angle = float(rng() % 3600) / 10.0f, zoom = 0.25f + float(rng() % 400) / 100.0f;
            const int32_t cx = int32_t(rng() % 140) - 20, cy = int32_t(rng() % 100) - 20;
            const auto rotated = BothWays([&](int32_t dst) { CopyRotate(tex, dst, cx, cy, zoom, angle); });
            ASSERT_EQ(rotated.first, rotated.second) << depth << " bits, round " << round << " angle " << angle;

            // Free quads, with texture coordinates beyond the texture on some corners.
            std::vector<TPolyVertex> quad;
            for (int k = 0; k < 4; ++k)
                quad.push_back(V(float(int32_t(rng() % 160) - 30), float(int32_t(rng() % 110) - 25), 0,
                                 float(int32_t(rng() % (3 * tw)) - tw), float(int32_t(rng() % (3 * th)) - th)));
            const auto painted = BothWays([&](int32_t dst) { TexturePoly(dst, tex, quad.data(), 3, 4); });
            ASSERT_EQ(painted.first, painted.second) << depth << " bits, round " << round;
            CloseBuffer(tex);
        }
        CloseVexel();
    }
}

}  // namespace
}  // namespace vxl::testing
