#include "buffers/pixel_format.h"
#include "core/library_state.h"

namespace vxl {

uint32_t PackColour(uint8_t r, uint8_t g, uint8_t b) {
    return DispatchLayout(LayoutOfDepth(Globals().bit_depth), 0u, [&](auto px) { return decltype(px)::Pack(r, g, b); });
}

void UnpackColour(uint32_t colour, uint8_t* r, uint8_t* g, uint8_t* b) {
    DispatchLayout(LayoutOfDepth(Globals().bit_depth), 0, [&](auto px) {
        decltype(px)::Unpack(colour, r, g, b);
        return 0;
    });
}

}  // namespace vxl
