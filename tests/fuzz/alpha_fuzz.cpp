// The alpha loader's checks on any bytes, for a 6 x 4 buffer.
#include <cstring>

#include "fuzz_limits.h"
#include "pictures/alpha_loading.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<uint8_t> plane;
    const char* reason = vxl::ReadAlphaImage(vxl::platform::Bytes(data, size), 6, 4, &plane, vxl::fuzz::kMaxPixels);
    if (reason == nullptr) {
        vxl::fuzz::Require(plane.size() == 24, "one alpha value per pixel");
    } else {
        vxl::fuzz::Require(std::strlen(reason) > 0 && plane.empty(), "a refusal leaves no plane");
    }
    return 0;
}
