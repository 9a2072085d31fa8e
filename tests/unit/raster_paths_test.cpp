// The rasteriser's vector paths (Gouraud rows, turned and free texture runs that gather texels eight at
// a time) and its video-memory rows against the scalar loops into system memory: random quads, turns
// and zooms, every layout, every path the machine has. (The 2-byte gathers read past their texel; under the sanitizers
// this also checks that they stay inside the surface.)
#include <random>
#include <vector>

#include "picture.h"

namespace vxl::testing {
namespace {

using RasterPathsTest = DepthTest;

TEST_P(RasterPathsTest, VectorPathsPaintWhatTheScalarLoopsPaint) {
    const auto paths = CpuPaths();
    std::mt19937 rng(depth_);
    for (int round = 0; round < 80; ++round) {
        const int32_t tw = 1 + int32_t(rng() % 40), th = 1 + int32_t(rng() % 40), tex = SetupBuffer(tw, th, 0);
        for (int32_t y = 0; y < th; ++y)
            for (int32_t x = 0; x < tw; ++x) PutPixel(tex, x, y, rng() & Mask());
        const float angle = float(rng() % 3600) / 10.0f, zoom = 0.25f + float(rng() % 400) / 100.0f;
        const int32_t cx = int32_t(rng() % 140) - 20, cy = int32_t(rng() % 100) - 20;
        // Free quads over every edge, with texture coordinates beyond the texture on some corners.
        TPolyVertex quad[4];
        for (auto& v : quad) {
            const uint32_t colour = RGB(int32_t(rng() & 255), int32_t(rng() & 255), int32_t(rng() & 255));
            v = V(float(int32_t(rng() % 160) - 30), float(int32_t(rng() % 110) - 25) * 0.7f, colour,
                  float(int32_t(rng() % uint32_t(3 * tw)) - tw), float(int32_t(rng() % uint32_t(3 * th)) - th));
        }
        std::vector<uint8_t> scalar;
        for (size_t p = 0; p <= paths.size(); ++p) {
            // Last, a destination in video memory, which composes its rows elsewhere.
            const bool video = p == paths.size();
            const auto path = video ? paths.back() : paths[p];
            platform::ForceCpuFeatures(path);
            std::vector<uint8_t> got;
            for (int kind = 0; kind < 5; ++kind) {
                const int32_t dst = SetupBuffer(97, 61, video);
                ASSERT_EQ(TheLibrary().handles.Find(dst)->in_video_memory(), video);
                if (kind == 0) CopyRotate(tex, dst, cx, cy, zoom, angle);
                if (kind == 1) TexturePoly(dst, tex, quad, 3, 4);
                if (kind == 2) GouraudPoly(dst, quad, 3, 4);
                if (kind == 3) KeyTexturePoly(dst, tex, quad, 3, 4, GetPixel(tex, 0, 0));
                if (kind == 4) FlatPoly(dst, quad, 3, 4, quad[0].colour);
                const auto bytes = Bytes(dst);
                got.insert(got.end(), bytes.begin(), bytes.end());
                CloseBuffer(dst);
            }
            if (scalar.empty()) scalar = got;
            ASSERT_EQ(got, scalar) << "round " << round << " sse2 " << path.sse2 << " avx2 " << path.avx2
                                   << (video ? " video" : "");
        }
        CloseBuffer(tex);
    }
}

INSTANTIATE_TEST_SUITE_P(Depths, RasterPathsTest, AllDepths(false), DepthName);

}  // namespace
}  // namespace vxl::testing
