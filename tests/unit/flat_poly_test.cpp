// The flat fill: which pixels a polygon covers, by the row rules, with HLine's clipping.
#include <string>
#include <vector>

#include "fake_fixture.h"

namespace vxl::testing {
namespace {

TPolyVertex P(float x, float y) {
    TPolyVertex v{};
    v.x = x;
    v.y = y;
    return v;
}

std::string Picture(int32_t h) {
    std::string s;
    for (int32_t y = 0; y < BufferSizeY(h); ++y) {
        for (int32_t x = 0; x < BufferSizeX(h); ++x) s += GetPixel(h, x, y) ? '#' : '.';
        s += '\n';
    }
    return s;
}

std::vector<uint8_t> Bytes(int32_t h) {
    const TBufferVx* b = TheLibrary().handles.Find(h);
    return {b->pixels(), b->pixels() + size_t(b->pitch()) * size_t(b->height())};
}

using FlatDepthTest = DepthTest;
using FlatTest = FakeTest;

TEST_P(FlatDepthTest, TrianglePaintsTopRowClosedAndBottomRowOpenInEitherWinding) {
    const int32_t h = SetupBuffer(12, 12, 0), other = SetupBuffer(12, 12, 0);
    const uint32_t c = depth_ == 15 ? 0x7FFF : depth_ == 16 ? 0xFFFF : 0xFFFFFF;
    const TPolyVertex tri[3] = {P(0, 0), P(10, 0), P(0, 10)}, back[3] = {P(0, 0), P(0, 10), P(10, 0)};
    FlatPoly(h, tri, 2, 3, c);
    FlatPoly(other, back, 2, 3, c);
    EXPECT_EQ(Picture(h),
              "###########.\n"
              "##########..\n"
              "#########...\n"
              "########....\n"
              "#######.....\n"
              "######......\n"
              "#####.......\n"
              "####........\n"
              "###.........\n"
              "##..........\n"
              "............\n"
              "............\n");
    EXPECT_EQ(Bytes(other), Bytes(h));
    EXPECT_EQ(GetPixel(h, 3, 3), c);
}

TEST_P(FlatDepthTest, RectangleApexAndTwoVertexLine) {
    const int32_t h = SetupBuffer(10, 8, 0);
    const TPolyVertex quad[4] = {P(2, 1), P(6, 1), P(6, 4), P(2, 4)};
    FlatPoly(h, quad, 3, 4, 1);
    const TPolyVertex apex[3] = {P(8, 5), P(9, 7), P(7, 7)};  // the apex row paints its one pixel
    FlatPoly(h, apex, 2, 3, 1);
    const TPolyVertex two[2] = {P(0, 2), P(0, 6)};  // both edges on one line: one pixel per row
    FlatPoly(h, two, 1, 2, 1);
    EXPECT_EQ(Picture(h),
              "..........\n"
              "..#####...\n"
              "#.#####...\n"
              "#.#####...\n"
              "#.........\n"
              "#.......#.\n"
              ".......##.\n"
              "..........\n");
}

TEST_P(FlatDepthTest, ClippingAndVertexCounts) {
    const int32_t h = SetupBuffer(8, 6, 0);
    const TPolyVertex big[4] = {P(-5, -5), P(20, -5), P(20, 2), P(-5, 2)};  // over the top and both sides
    FlatPoly(h, big, 3, 4, 1);
    // Five vertices given, three used: the closing edge runs from the third back to the first.
    const TPolyVertex five[5] = {P(0, 3), P(4, 3), P(4, 6), P(0, 6), P(0, 3)};
    FlatPoly(h, five, 4, 3, 1);
    EXPECT_EQ(Picture(h),
              "########\n"
              "########\n"
              "........\n"
              "#####...\n"
              ".####...\n"
              "..###...\n");
    const auto before = Bytes(h);
    const TPolyVertex below[3] = {P(0, 6), P(8, 6), P(4, 40)}, above[3] = {P(0, -9), P(8, -9), P(4, 0)},
                      flat[3] = {P(0, 3), P(8, 3), P(2, 3)};
    for (const TPolyVertex* v : {below, above, flat}) FlatPoly(h, v, 2, 3, 2);
    FlatPoly(h, big, 3, 1, 2);
    FlatPoly(h, big, -1, 4, 2);
    FlatPoly(h, nullptr, 3, 4, 2);
    FlatPoly(99, big, 3, 4, 2);
    EXPECT_EQ(Bytes(h), before);
}

INSTANTIATE_TEST_SUITE_P(Depths, FlatDepthTest, AllDepths(false), DepthName);

TEST_F(FlatTest, VideoMemoryBuffersGetTheSamePixelsThroughTheBlitter) {
    fake_->hardware = true;
    OpenWindowed();
    const int32_t system = SetupBuffer(40, 30, 0), video = SetupBuffer(40, 30, 1);
    ASSERT_TRUE(TheLibrary().handles.Find(video)->in_video_memory());
    const TPolyVertex star[5] = {P(20, -3), P(31, 33), P(1, 9), P(39, 9), P(9, 33)};
    for (int32_t h : {system, video}) FlatPoly(h, star, 4, 5, 0x123456);
    EXPECT_EQ(Bytes(video), Bytes(system));
    EXPECT_NE(Bytes(system), std::vector<uint8_t>(Bytes(system).size(), 0));
}

}  // namespace
}  // namespace vxl::testing
