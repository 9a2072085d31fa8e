// Rotated copies: where the turned and zoomed source lands and which source pixel each pixel shows.
#include <cmath>
#include <string>
#include <vector>

#include "picture.h"

namespace vxl::testing {
namespace {

class RotationTest : public DepthTest {};

TEST_P(RotationTest, UnturnedCopyPlacesTheCentreAndRepeatsTheLastColumn) {
    // Odd width: the centre is column 2 (integer halving), which lands on x = 10.
    const int32_t src = NumberedBuffer(5, 3), dst = SetupBuffer(20, 20, 0);
    CopyRotate(src, dst, 10, 10, 1.0f, 0.0f);
    for (int32_t y = 0; y < 20; ++y)
        for (int32_t x = 0; x < 20; ++x) {
            const bool inside = y >= 9 && y <= 11 && x >= 8 && x <= 13;
            const uint32_t want = inside ? Numbered(std::min(x - 8, 4), y - 9) : 0;
            ASSERT_EQ(GetPixel(dst, x, y), want) << x << "," << y;
        }
    EXPECT_EQ(GetPixel(dst, 10, 10), Numbered(2, 1));
}

TEST_P(RotationTest, HalfTurnMirrorsBothWaysOneTexelOff) {
    // The row and column rules sample a half-turned source at its far edges: pixel (x, y) shows source
    // (12 - x, 12 - y) clamped to the source, not (11 - x, 11 - y), and source row 0 drops out.
    const int32_t src = NumberedBuffer(4, 4), dst = SetupBuffer(16, 16, 0);
    CopyRotate(src, dst, 10, 10, 1.0f, 180.0f);
    for (int32_t y = 0; y < 16; ++y)
        for (int32_t x = 0; x < 16; ++x) {
            const bool inside = y >= 8 && y <= 11 && x >= 8 && x <= 12;
            const uint32_t want = inside ? Numbered(std::min(12 - x, 3), std::min(12 - y, 3)) : 0;
            ASSERT_EQ(GetPixel(dst, x, y), want) << x << "," << y;
        }
    // A negative zoom is the same half turn.
    const int32_t neg = SetupBuffer(16, 16, 0);
    CopyRotate(src, neg, 10, 10, -1.0f, 0.0f);
    EXPECT_EQ(Bytes(neg), Bytes(dst));
}

TEST_P(RotationTest, QuarterTurnPointsTheRightEdgeDown) {
    const int32_t src = SetupBuffer(4, 4, 0), dst = SetupBuffer(16, 16, 0);
    for (int32_t y = 0; y < 4; ++y) PutPixel(src, 3, y, 0x1F);  // the right column
    Fill(dst, 0x3E0);
    CopyRotate(src, dst, 8, 8, 1.0f, 90.0f);
    std::string rows;
    for (int32_t y = 5; y <= 10; ++y) {
        for (int32_t x = 5; x <= 11; ++x) {
            const uint32_t p = GetPixel(dst, x, y);
            rows += p == 0x3E0 ? '.' : p == 0x1F ? '#' : 'o';
        }
        rows += '\n';
    }
    EXPECT_EQ(rows,
              ".......\n"
              ".ooooo.\n"
              ".ooooo.\n"
              ".ooooo.\n"
              ".#####.\n"
              ".......\n");
}

TEST_P(RotationTest, ZoomScalesAboutTheCentre) {
    const int32_t src = NumberedBuffer(4, 4), dst = SetupBuffer(24, 24, 0);
    CopyRotate(src, dst, 12, 12, 2.0f, 0.0f);
    int32_t top = 99, bottom = -1, left = 99, right = -1;
    for (int32_t y = 0; y < 24; ++y)
        for (int32_t x = 0; x < 24; ++x)
            if (GetPixel(dst, x, y)) {
                top = std::min(top, y), bottom = std::max(bottom, y);
                left = std::min(left, x), right = std::max(right, x);
            }
    EXPECT_EQ(std::vector<int32_t>({top, bottom, left, right}), std::vector<int32_t>({8, 15, 8, 16}));
    EXPECT_EQ(GetPixel(dst, 9, 9), Numbered(0, 0));
    EXPECT_EQ(GetPixel(dst, 10, 10), Numbered(1, 1));

    const int32_t none = SetupBuffer(24, 24, 0);
    CopyRotate(src, none, 12, 12, 0.0f, 30.0f);  // no zoom: nothing
    EXPECT_EQ(Bytes(none), std::vector<uint8_t>(Bytes(none).size(), 0));
}

TEST_P(RotationTest, SpriteLeavesTheKeyOutAndOtherwiseMatchesTheCopy) {
    const int32_t src = NumberedBuffer(16, 12), plain = SetupBuffer(40, 40, 0), sprite = SetupBuffer(40, 40, 0);
    const uint32_t ground = 0x1F;
    Fill(plain, ground);
    Fill(sprite, ground);
    CopyRotate(src, plain, 20, 20, 1.5f, 30.0f);
    CopyRotateSprite(src, sprite, 20, 20, 1.5f, 30.0f, 0x7FFF);
    EXPECT_EQ(Bytes(sprite), Bytes(plain));

    Fill(sprite, ground);
    const uint32_t key = Numbered(4, 4);
    CopyRotateSprite(src, sprite, 20, 20, 1.5f, 30.0f, key);
    int skipped = 0;
    for (int32_t y = 0; y < 40; ++y)
        for (int32_t x = 0; x < 40; ++x) {
            const uint32_t p = GetPixel(plain, x, y);
            skipped += p == key;
            ASSERT_EQ(GetPixel(sprite, x, y), p == key ? ground : p);
        }
    EXPECT_GT(skipped, 0);
}

INSTANTIATE_TEST_SUITE_P(Depths, RotationTest, AllDepths(false), DepthName);

}  // namespace
}  // namespace vxl::testing
