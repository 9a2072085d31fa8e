#include "platform/surfaces/codes.h"

#include <algorithm>

namespace vxl::platform {

PixelFormat FormatForDepth(uint32_t bits) {
    switch (bits) {
        case 15:
            return PixelFormat{16, 0x7C00, 0x03E0, 0x001F};
        case 16:
            return PixelFormat{16, 0xF800, 0x07E0, 0x001F};
        case 24:
            return PixelFormat{24, 0xFF0000, 0x00FF00, 0x0000FF};
        case 32:
            return PixelFormat{32, 0xFF0000, 0x00FF00, 0x0000FF};
        default:
            return PixelFormat{bits, 0, 0, 0};
    }
}

Rect Intersect(const Rect& a, const Rect& b) {
    Rect r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
    if (r.Empty()) {
        return Rect{};
    }
    return r;
}

}  // namespace vxl::platform
