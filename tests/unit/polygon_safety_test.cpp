// Hostile polygons: vertex counts and arrays, coordinates of any size, buffers of any height. Surfaces
// here are sized to end exactly where their allocation does, so the sanitizer build also catches any
// write past the destination or read past the texture.
#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <set>
#include <vector>

#include "picture.h"

namespace vxl::testing {
namespace {

// Mostly moderate coordinates, so that the untouched area outside a polygon says something, mixed
// with huge, tiny and extreme ones.
float Coordinate(std::mt19937& rng) {
    static const float kExtremes[] = {0.0f,
                                      -0.0f,
                                      1e-40f,
                                      0.5f,
                                      -0.5f,
                                      32767.5f,
                                      -32768.0f,
                                      65536.0f,
                                      1e9f,
                                      -1e9f,
                                      3e38f,
                                      -3e38f,
                                      std::numeric_limits<float>::max(),
                                      -std::numeric_limits<float>::max(),
                                      std::numeric_limits<float>::denorm_min()};
    switch (rng() % 8) {
        case 0:
            return kExtremes[rng() % std::size(kExtremes)];
        case 1:
            return std::uniform_real_distribution<float>(-1e6f, 1e6f)(rng);
        default:
            return std::uniform_real_distribution<float>(-40.0f, 110.0f)(rng);
    }
}

using SafetyDepthTest = DepthTest;

TEST_P(SafetyDepthTest, RandomPolygonsStayInsideTheDestinationAndReadOnlyTexels) {
    // 64 x 48 and textures of 64 x 1, 1 x 64 and 8 x 8: each ends on an allocation boundary.
    const int32_t dst = SetupBuffer(64, 48, 0);
    const int32_t textures[] = {SetupBuffer(64, 1, 0), SetupBuffer(1, 64, 0), SetupBuffer(8, 8, 0)};
    std::set<uint32_t> texels;
    uint32_t next = 1;
    for (int32_t t : textures)
        for (int32_t y = 0; y < BufferSizeY(t); ++y)
            for (int32_t x = 0; x < BufferSizeX(t); ++x) {
                PutPixel(t, x, y, next);
                texels.insert(next++);
            }
    const uint32_t ground = 0x7C00;
    std::mt19937 rng(20240601);
    for (int i = 0; i < 3000; ++i) {
        TPolyVertex v[8];
        for (auto& p : v) p = V(Coordinate(rng), Coordinate(rng), uint32_t(rng()), Coordinate(rng), Coordinate(rng));
        const int32_t high = int32_t(rng() % 10) - 2, count = int32_t(rng() % 12) - 3;
        const int64_t used = std::min<int64_t>(count, int64_t(high) + 1);
        // The rows and columns the used vertices span; nothing outside them may change.
        // Only where positions fit 16.16 comfortably; beyond that just the buffer bounds.
        float x0 = 1e30f, x1 = -1e30f, y0 = 1e30f, y1 = -1e30f;
        bool moderate = true;
        for (int64_t k = 0; k < std::max<int64_t>(used, 0); ++k) {
            x0 = std::min(x0, v[k].x), x1 = std::max(x1, v[k].x);
            y0 = std::min(y0, v[k].y), y1 = std::max(y1, v[k].y);
            moderate = moderate && std::fabs(v[k].x) < 1000 && std::fabs(v[k].y) < 1000;
        }
        if (!moderate) x0 = y0 = -1e30f, x1 = y1 = 1e30f;
        const TPolyVertex before[8] = {v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7]};
        Fill(dst, ground);
        const int32_t t = textures[rng() % 3];
        switch (i % 4) {
            case 0:
                GouraudPoly(dst, v, high, count);
                break;
            case 3:
                FlatPoly(dst, v, high, count, 0x1F);
                break;
            case 1:
                TexturePoly(dst, t, v, high, count);
                break;
            default:
                KeyTexturePoly(dst, t, v, high, count, next - 3);
                break;
        }
        ASSERT_EQ(std::memcmp(before, v, sizeof v), 0) << "the host's vertices were written";
        for (int32_t y = 0; y < 48; ++y)
            for (int32_t x = 0; x < 64; ++x) {
                const uint32_t p = GetPixel(dst, x, y);
                if (p == ground) continue;
                ASSERT_TRUE(used >= 2 && x >= std::floor(x0) && x <= std::ceil(x1) && y >= y0 && y < y1)
                    << "polygon " << i << " painted " << x << "," << y;
                if (i % 4 == 1 || i % 4 == 2) {
                    ASSERT_TRUE(texels.count(p)) << "polygon " << i << " painted a non-texel " << p;
                }
            }
    }
}

INSTANTIATE_TEST_SUITE_P(Depths, SafetyDepthTest, AllDepths(false), DepthName);

using SafetyTest = FakeTest;

TEST_F(SafetyTest, VertexCountsAreClampedToTheArrayAndShortOnesDrawNothing) {
    SetDesktopDepth(32);
    OpenWindowed();
    const int32_t h = SetupBuffer(12, 12, 0), ref = SetupBuffer(12, 12, 0);
    const uint32_t c = 0xFF0000;
    const TPolyVertex quad[4] = {V(0, 0, c), V(10, 0, c), V(10, 10, c), V(0, 10, c)};
    // A count past the array's end uses the array: here the triangle of the first three vertices.
    GouraudPoly(h, quad, 2, 4);
    GouraudPoly(ref, quad, 3, 3);
    EXPECT_EQ(Bytes(h), Bytes(ref));
    EXPECT_EQ(GetPixel(h, 1, 8), 0u);
    EXPECT_EQ(GetPixel(h, 9, 8), c);

    // Fewer than three vertices, or none at all, and polygons without height or outside: nothing.
    const int32_t empty = SetupBuffer(12, 12, 0);
    for (auto [high, count] : {std::pair{3, 1}, {-1, 4}, {0, 4}}) {
        GouraudPoly(empty, quad, high, count);
        TexturePoly(empty, ref, quad, high, count);
    }
    const TPolyVertex flat[3] = {V(0, 5), V(10, 5), V(4, 5)};
    GouraudPoly(empty, flat, 2, 3);
    const TPolyVertex below[3] = {V(0, 12), V(10, 12), V(4, 30)}, above[3] = {V(0, -9), V(10, -9), V(4, 0)};
    GouraudPoly(empty, below, 2, 3);
    GouraudPoly(empty, above, 2, 3);
    EXPECT_EQ(Bytes(empty), std::vector<uint8_t>(Bytes(empty).size(), 0));
}

TEST_F(SafetyTest, EdgeTablesFollowTheBufferHeight) {
    SetDesktopDepth(32);
    OpenWindowed();
    // Taller than a 16-bit row index: the last rows are reached.
    const int32_t tall = SetupBuffer(2, 70000, 0);
    const TPolyVertex strip[4] = {V(0, 69990, 0xFF), V(1, 69990, 0xFF), V(1, 80000, 0xFF), V(0, 80000, 0xFF)};
    GouraudPoly(tall, strip, 3, 4);
    EXPECT_EQ(GetPixel(tall, 0, 69999), 0xFFu);
    EXPECT_EQ(GetPixel(tall, 0, 69989), 0u);

    // A buffer made taller gets tables for its new rows; one made smaller is still safe.
    const int32_t h = SetupBuffer(4, 4, 0);
    TBufferVx* b = TheLibrary().handles.Find(h);
    ASSERT_EQ(b->Resize(4, 100, false), 0);
    const TPolyVertex all[4] = {V(0, 0, 0xFF), V(3, 0, 0xFF), V(3, 200, 0xFF), V(0, 200, 0xFF)};
    GouraudPoly(h, all, 3, 4);
    EXPECT_EQ(GetPixel(h, 1, 99), 0xFFu);
    ASSERT_EQ(b->Resize(4, 3, false), 0);
    GouraudPoly(h, all, 3, 4);
    EXPECT_EQ(GetPixel(h, 1, 2), 0xFFu);
}

}  // namespace
}  // namespace vxl::testing
