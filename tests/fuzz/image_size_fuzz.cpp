// Picture sizes on any bytes; the first byte chooses the extension.
#include "fuzz_limits.h"
#include "pictures/image_size.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const char* const kExtensions[] = {"bmp", "ico", "wmf", "emf", "jpg", "JPEG", "png", "tga"};
    if (size == 0) return 0;
    const char* extension = kExtensions[data[0] % 8];
    vxl::platform::PictureSize s{-7, -7};
    if (vxl::ImageSizeOfBytes(extension, vxl::platform::Bytes(data + 1, size - 1), &s)) {
        vxl::fuzz::Require(s.width >= 0 && s.height >= 0, "sizes are not negative");
    }
    return 0;
}
