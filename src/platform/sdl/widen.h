// Widening of 15- and 16-bit pictures to 32-bit xRGB for presentation. A field of n bits becomes
// floor(i * 255 / (2^n - 1)), the same widening as the colour unpack, so the screen shows the colour
// that unRGB reports: full channels stay full (255) and black stays black.
#pragma once

#include <cstdint>

namespace vxl::platform {

// `green_bits` is 5 (x1r5g5b5) or 6 (r5g6b5); the top byte of each output pixel is 0xFF.
void WidenRow(const uint16_t* src, uint32_t* dst, int32_t count, int green_bits);

}  // namespace vxl::platform
