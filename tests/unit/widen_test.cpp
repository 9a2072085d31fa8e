#include "platform/sdl/widen.h"

#include <gtest/gtest.h>

#include <vector>

namespace vxl::testing {
namespace {

// Repeated three times, so that whole vectors and the pixels after them are both checked.
std::vector<uint32_t> Widened(std::vector<uint16_t> six, int green_bits) {
    std::vector<uint16_t> in;
    for (int i = 0; i < 3; ++i) in.insert(in.end(), six.begin(), six.end());
    std::vector<uint32_t> out(in.size());
    platform::WidenRow(in.data(), out.data(), int32_t(out.size()), green_bits);
    return out;
}

std::vector<uint32_t> Thrice(std::vector<uint32_t> six) {
    std::vector<uint32_t> all;
    for (int i = 0; i < 3; ++i) all.insert(all.end(), six.begin(), six.end());
    return all;
}

// Full channels stay full, black stays black, and each channel lands in its own byte with its top
// bits repeated below.
TEST(WidenTest, ChannelsKeepTheirRange) {
    EXPECT_EQ(Widened({0xFFFF, 0x0000, 0xF800, 0x07E0, 0x001F, 0x8410}, 6),
              Thrice({0xFFFFFFFF, 0xFF000000, 0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFF848284}));
    EXPECT_EQ(Widened({0x7FFF, 0x8000, 0x7C00, 0x03E0, 0x001F, 0x4210}, 5),
              Thrice({0xFFFFFFFF, 0xFF000000, 0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFF848484}));
}

}  // namespace
}  // namespace vxl::testing
