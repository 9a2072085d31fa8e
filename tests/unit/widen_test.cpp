#include "platform/sdl/widen.h"

#include <gtest/gtest.h>

#include <vector>

namespace vxl::testing {
namespace {

uint32_t Field(uint32_t value, uint32_t bits) {
    return value * 255 / ((1u << bits) - 1);
}

// Every 16-bit value at both layouts widens each field as floor(i * 255 / (2^n - 1)), the colour
// unpack's rule; bit 15 of the 5-5-5 layout is ignored. The whole vector and the short tail
// (a count that is no multiple of eight) are both checked.
TEST(WidenTest, EveryValueWidensLikeTheColourUnpack) {
    std::vector<uint16_t> in(65536);
    for (uint32_t v = 0; v < in.size(); ++v) in[v] = uint16_t(v);
    for (const int green_bits : {5, 6}) {
        std::vector<uint32_t> out(in.size()), tail(13);
        platform::WidenRow(in.data(), out.data(), int32_t(out.size()), green_bits);
        platform::WidenRow(in.data() + 1000, tail.data(), int32_t(tail.size()), green_bits);
        const uint32_t red_shift = 5 + uint32_t(green_bits), green_mask = (1u << green_bits) - 1;
        for (uint32_t v = 0; v < in.size(); ++v) {
            const uint32_t want = 0xFF000000u | Field((v >> red_shift) & 31, 5) << 16 |
                                  Field((v >> 5) & green_mask, uint32_t(green_bits)) << 8 | Field(v & 31, 5);
            ASSERT_EQ(out[v], want) << green_bits << "-bit green, value 0x" << std::hex << v;
            if (v >= 1000 && v < 1013) {
                ASSERT_EQ(tail[v - 1000], want) << "tail, value 0x" << std::hex << v;
            }
        }
    }
}

}  // namespace
}  // namespace vxl::testing
