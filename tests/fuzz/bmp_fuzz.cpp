// The BMP reader on any bytes; what it reads must survive our writer and reader unchanged.
#include "fuzz_limits.h"
#include "platform/gdi/bmp_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace vxl::platform;
    Picture picture;
    if (DecodeBmp(Bytes(data, size), &picture, vxl::fuzz::kMaxPixels) != DecodeResult::Ok) return 0;
    vxl::fuzz::CheckPicture(picture);
    PictureSize header;
    vxl::fuzz::Require(ReadBmpSize(Bytes(data, size), &header), "a decoded file has a size");
    vxl::fuzz::Require(header.width == picture.width && header.height == picture.height, "header size is the size");
    if (picture.Empty() || picture.rgb.empty()) return 0;
    Picture again;
    const std::vector<uint8_t> written = EncodeBmp(picture);
    vxl::fuzz::Require(DecodeBmp(written, &again, vxl::fuzz::kMaxPixels) == DecodeResult::Ok, "own file reads");
    vxl::fuzz::Require(again.rgb == picture.rgb, "own file keeps every colour");
    return 0;
}
