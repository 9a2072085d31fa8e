// The platform's millisecond clock: monotonic, an unsigned 32-bit count that wraps around.
#pragma once

#include <cstdint>

namespace vxl::platform {

uint32_t TimeGetTime();

}  // namespace vxl::platform
