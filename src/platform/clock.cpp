#include "platform/clock.h"

#include "platform/backend.h"

namespace vxl::platform {

uint32_t TimeGetTime() {
    return CurrentBackend().Milliseconds();
}

}  // namespace vxl::platform
