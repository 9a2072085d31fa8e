#include <map>
#include <ostream>
#include <tuple>
#include <utility>
#include <vector>

#include "fake_fixture.h"

namespace vxl::testing {
namespace {

struct Rgb {
    uint8_t r, g, b;
    bool operator==(const Rgb&) const = default;
};

void PrintTo(const Rgb& c, std::ostream* os) {
    *os << '(' << int(c.r) << ',' << int(c.g) << ',' << int(c.b) << ')';
}

// Starts from a recognisable value so that "left unchanged" is visible.
Rgb Unpack(uint32_t colour) {
    Rgb c{1, 2, 3};
    unRGB(colour, &c.r, &c.g, &c.b);
    return c;
}

struct Layout {
    uint32_t orange;  // RGB(255,128,64)
    uint32_t dark;    // RGB(7,3,7): below every narrow field's step
    uint32_t white;
    std::vector<std::pair<uint32_t, Rgb>> unpacked;
};

const Layout& LayoutOf(uint32_t depth) {
    static const std::map<uint32_t, Layout> table = {
        {15,
         {0x7E08,
          0,
          0x7FFF,
          {{0x7FFF, {255, 255, 255}}, {0x4210, {131, 131, 131}}, {0x001F, {0, 0, 255}}, {0xFFFF, {255, 255, 255}}}}},
        {16,
         {0xFC08,
          0,
          0xFFFF,
          {{0xFFFF, {255, 255, 255}},
           {21 << 5, {0, 85, 0}},
           {0x8000 | 11 << 5 | 1, {131, 44, 8}},
           {0xFFFF0000, {0, 0, 0}}}}},
        {24, {0xFF8040, 0x070307, 0xFFFFFF, {{0xAB123456, {0x12, 0x34, 0x56}}}}},
        {32, {0xFF8040, 0x070307, 0xFFFFFF, {{0xAB123456, {0x12, 0x34, 0x56}}}}},
    };
    return table.at(depth);
}

// The layout follows the display's depth, whether a windowed display takes it from the desktop or a
// full-screen one sets the mode (on a 32-bit desktop).
class ColourTest : public FakeTest, public ::testing::WithParamInterface<std::tuple<uint32_t, bool>> {
protected:
    void SetUp() override {
        FakeTest::SetUp();
        if (std::get<1>(GetParam())) {
            OpenFullScreen(640, 480, int32_t(depth_));
        } else {
            SetDesktopDepth(depth_);
            OpenWindowed();
        }
        ASSERT_EQ(GlobalBpp(), int32_t(depth_));
    }

    const uint32_t depth_ = std::get<0>(GetParam());
};

TEST_P(ColourTest, PacksByTruncation) {
    const Layout& layout = LayoutOf(depth_);
    EXPECT_EQ(RGB(255, 128, 64), layout.orange);
    EXPECT_EQ(RGB(7, 3, 7), layout.dark);
    EXPECT_EQ(RGB(255, 255, 255), layout.white);
    EXPECT_EQ(RGB(0, 0, 0), 0u);
}

TEST_P(ColourTest, UnpacksToFullRangeIgnoringHigherBits) {
    for (const auto& [colour, rgb] : LayoutOf(depth_).unpacked) {
        EXPECT_EQ(Unpack(colour), rgb) << std::hex << "colour 0x" << colour;
    }
}

TEST_P(ColourTest, UnpackThenPackGivesTheColourBack) {
    // Every narrow colour; a spread sample of the 8-bit ones.
    const uint32_t end = depth_ == 15 ? 0x8000 : depth_ == 16 ? 0x10000 : 0x1000000;
    const uint32_t step = end > 0x10000 ? 4099 : 1;
    for (uint32_t c = 0; c < end; c += step) {
        const Rgb rgb = Unpack(c);
        ASSERT_EQ(RGB(rgb.r, rgb.g, rgb.b), c) << std::hex << "colour 0x" << c;
    }
}

std::string DepthName(const ::testing::TestParamInfo<std::tuple<uint32_t, bool>>& info) {
    return (std::get<1>(info.param) ? "FullScreen" : "Windowed") + std::to_string(std::get<0>(info.param));
}

INSTANTIATE_TEST_SUITE_P(ColourDepths, ColourTest,
                         ::testing::Combine(::testing::Values(15u, 16u, 24u, 32u), ::testing::Bool()), DepthName);

using ColourPlainTest = FakeTest;

TEST_F(ColourPlainTest, NothingBeforeAnyDisplay) {
    EXPECT_EQ(RGB(255, 128, 64), 0u);
    EXPECT_EQ(RGB(255, 255, 255), 0u);
    EXPECT_EQ(Unpack(0xFFFFFF), (Rgb{1, 2, 3}));
    EXPECT_EQ(Unpack(0), (Rgb{1, 2, 3}));
}

TEST_F(ColourPlainTest, MissingOutputsAreSkipped) {
    OpenWindowed();
    uint8_t g = 0;
    unRGB(0x123456, nullptr, &g, nullptr);
    EXPECT_EQ(g, 0x34);
}

}  // namespace
}  // namespace vxl::testing
