// Colours in the display's layouts: packing and unpacking, and the presentation's widening of 16-bit
// rows, which must unpack alike.

#include <array>
#include <map>
#include <utility>
#include <vector>

#include "fake_fixture.h"
#include "platform/sdl/widen.h"

namespace vxl::testing {
namespace {

using Rgb = std::array<int, 3>;

// Starts from a recognisable value so that "left unchanged" is visible.
Rgb Unpack(uint32_t colour) {
    uint8_t r = 1, g = 2, b = 3;
    unRGB(colour, &r, &g, &b);
    return {r, g, b};
}

// Per depth: RGB(255,128,64), RGB(7,3,7) (below every narrow field's step), white, and colours with
// what they unpack to, narrow fields widened to the full range.
struct Layout {
    uint32_t orange, dark, white;
    std::vector<std::pair<uint32_t, Rgb>> unpacked;
};

const std::map<uint32_t, Layout> kLayouts = {
    {15, {0x7E08, 0, 0x7FFF, {{0x4210, {131, 131, 131}}, {0x1F, {0, 0, 255}}}}},
    {16, {0xFC08, 0, 0xFFFF, {{21 << 5, {0, 85, 0}}, {0x8000 | 11 << 5 | 1, {131, 44, 8}}}}},
    {24, {0xFF8040, 0x070307, 0xFFFFFF, {{0xAB123456, {0x12, 0x34, 0x56}}}}},
    {32, {0xFF8040, 0x070307, 0xFFFFFF, {{0xAB123456, {0x12, 0x34, 0x56}}}}},
};

using ColourTest = DepthTest;

TEST_P(ColourTest, PacksAndUnpacksInTheDisplayLayout) {
    const Layout& layout = kLayouts.at(depth_);
    EXPECT_EQ(RGB(255, 128, 64), layout.orange);
    EXPECT_EQ(RGB(7, 3, 7), layout.dark);
    EXPECT_EQ(RGB(255, 255, 255), layout.white);
    EXPECT_EQ(RGB(0, 0, 0), 0u);
    EXPECT_EQ(RGB(0x1FF, 0x180, -192), layout.orange);  // only each argument's low byte counts
    EXPECT_EQ(Unpack(0xFFFFFFFFu), (Rgb{255, 255, 255}));
    EXPECT_EQ(Unpack(~layout.white), (Rgb{0, 0, 0}));  // bits above the layout are ignored
    for (const auto& [colour, rgb] : layout.unpacked) EXPECT_EQ(Unpack(colour), rgb) << std::hex << colour;
    uint8_t g = 0;
    unRGB(0xFFFFFF, nullptr, &g, nullptr);  // missing outputs are skipped and the others written
    EXPECT_EQ(g, 255);

    // Unpacking then packing gives the colour back: every narrow colour, a spread sample of the 8-bit ones.
    const uint32_t end = depth_ == 15 ? 0x8000 : depth_ == 16 ? 0x10000 : 0x1000000;
    for (uint32_t c = 0; c < end; c += (end > 0x10000 ? 4099 : 1)) {
        const Rgb rgb = Unpack(c);
        ASSERT_EQ(RGB(rgb[0], rgb[1], rgb[2]), c) << std::hex << "colour 0x" << c;
    }

    // The presentation widens 16-bit rows to 32 bits as unRGB unpacks: the vector steps and a short tail
    // (a count that is no multiple of eight).
    if (depth_ > 16) return;
    std::vector<uint16_t> in(65536);
    for (uint32_t v = 0; v < in.size(); ++v) in[v] = uint16_t(v);
    std::vector<uint32_t> out(in.size()), tail(13);
    platform::WidenRow(in.data(), out.data(), int32_t(out.size()), depth_ == 16 ? 6 : 5);
    platform::WidenRow(in.data() + 1000, tail.data(), int32_t(tail.size()), depth_ == 16 ? 6 : 5);
    for (uint32_t v = 0; v < in.size(); ++v) {
        const Rgb rgb = Unpack(v);
        ASSERT_EQ(out[v], 0xFF000000u | uint32_t(rgb[0]) << 16 | uint32_t(rgb[1]) << 8 | uint32_t(rgb[2])) << v;
        if (v - 1000 < tail.size()) {
            ASSERT_EQ(tail[v - 1000], out[v]) << "tail, value " << v;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Depths, ColourTest, AllDepths(), DepthName);

}  // namespace
}  // namespace vxl::testing
