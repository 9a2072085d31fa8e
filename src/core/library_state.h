// Library-wide state that the lower layers read and write: the pixel layout chosen by the display,
// and the full-screen flag and error mode that decide how a fatal error ends.
#pragma once

#include <cstdint>

namespace vxl {

struct LibraryGlobals {
    uint8_t bit_depth = 0;  // 15, 16, 24 or 32 once a display exists
    bool full_screen = false;
    int32_t error_mode = 0;  // 1: failures return to the host as failure values, never end the process
};

LibraryGlobals& Globals();

}  // namespace vxl
