// The PNG reader on any bytes.
#include "fuzz_limits.h"
#include "platform/gdi/png_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace vxl::platform;
    Picture picture;
    if (DecodePng(Bytes(data, size), &picture, vxl::fuzz::kMaxPixels) != DecodeResult::Ok) return 0;
    vxl::fuzz::CheckPicture(picture);
    PictureSize header;
    vxl::fuzz::Require(ReadPngSize(Bytes(data, size), &header), "a decoded file has a size");
    vxl::fuzz::Require(header.width == picture.width && header.height == picture.height, "header size is the size");
    return 0;
}
