// Library-wide state that the lower layers read and write: the pixel layout chosen by the display
// and the full-screen flag that decides how a fatal error ends.
#pragma once

#include <cstdint>

namespace vxl {

struct LibraryGlobals {
    uint8_t bit_depth = 0;  // 15, 16, 24 or 32 once a display exists
    bool full_screen = false;
};

LibraryGlobals& Globals();

}  // namespace vxl
