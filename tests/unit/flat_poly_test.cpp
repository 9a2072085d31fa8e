// The flat fill: which pixels a polygon covers, by the row rules, with HLine's clipping.
#include <string>
#include <vector>

#include "picture.h"

namespace vxl::testing {
namespace {

using FlatDepthTest = DepthTest;

TEST_P(FlatDepthTest, TrianglePaintsTopRowClosedAndBottomRowOpenInEitherWinding) {
    const int32_t h = SetupBuffer(12, 12, 0), other = SetupBuffer(12, 12, 0);
    const uint32_t c = depth_ == 15 ? 0x7FFF : depth_ == 16 ? 0xFFFF : 0xFFFFFF;
    const TPolyVertex tri[3] = {V(0, 0), V(10, 0), V(0, 10)}, back[3] = {V(0, 0), V(0, 10), V(10, 0)};
    FlatPoly(h, tri, 2, 3, c);
    FlatPoly(other, back, 2, 3, c);
    EXPECT_EQ(PictureText(h),
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
    const TPolyVertex quad[4] = {V(2, 1), V(6, 1), V(6, 4), V(2, 4)};
    FlatPoly(h, quad, 3, 4, 1);
    const TPolyVertex apex[3] = {V(8, 5), V(9, 7), V(7, 7)};  // the apex row paints its one pixel
    FlatPoly(h, apex, 2, 3, 1);
    const TPolyVertex two[2] = {V(0, 2), V(0, 6)};  // both edges on one line: one pixel per row
    FlatPoly(h, two, 1, 2, 1);
    EXPECT_EQ(PictureText(h),
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
    const TPolyVertex big[4] = {V(-5, -5), V(20, -5), V(20, 2), V(-5, 2)};  // over the top and both sides
    FlatPoly(h, big, 3, 4, 1);
    // Five vertices given, three used: the closing edge runs from the third back to the first.
    const TPolyVertex five[5] = {V(0, 3), V(4, 3), V(4, 6), V(0, 6), V(0, 3)};
    FlatPoly(h, five, 4, 3, 1);
    EXPECT_EQ(PictureText(h),
              "########\n"
              "########\n"
              "........\n"
              "#####...\n"
              ".####...\n"
              "..###...\n");
    const auto before = Bytes(h);
    const TPolyVertex below[3] = {V(0, 6), V(8, 6), V(4, 40)}, above[3] = {V(0, -9), V(8, -9), V(4, 0)},
                      flat[3] = {V(0, 3), V(8, 3), V(2, 3)};
    for (const TPolyVertex* v : {below, above, flat}) FlatPoly(h, v, 2, 3, 2);
    EXPECT_EQ(Bytes(h), before);
}

INSTANTIATE_TEST_SUITE_P(Depths, FlatDepthTest, AllDepths(false), DepthName);

}  // namespace
}  // namespace vxl::testing
