// The fuzz targets of every reader of outside input, one program each: VXL_FUZZ_TARGET names the
// reader. All share one harness: a picture limit small enough that crafted sizes cost little time,
// and a check that stops the run where an invariant breaks.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "pictures/alpha_loading.h"
#include "pictures/image_size.h"
#include "platform/gdi/bmp_codec.h"
#include "platform/gdi/jpeg_codec.h"
#include "platform/gdi/png_codec.h"

namespace {

using namespace vxl::platform;
constexpr int64_t kMaxPixels = int64_t(1) << 20;

void Require(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "invariant broken: %s\n", what);
        std::abort();
    }
}

// A decoded picture holds exactly its pixels, of the size its header reads; `encode`, where given,
// writes a file the reader takes back with every colour.
void Reader(Bytes bytes, DecodeResult (*decode)(Bytes, Picture*, int64_t), bool (*read_size)(Bytes, PictureSize*),
            std::vector<uint8_t> (*encode)(const Picture&) = nullptr) {
    Picture picture;
    if (decode(bytes, &picture, kMaxPixels) != DecodeResult::Ok) return;
    const size_t pixels = size_t(picture.width) * size_t(picture.height);
    Require(picture.width >= 0 && picture.height >= 0 && int64_t(pixels) <= kMaxPixels, "size within the limit");
    Require(picture.rgb.size() == pixels * 3 || (pixels == 0 && picture.rgb.empty()), "three bytes per pixel");
    Require(picture.indices.empty() || picture.indices.size() == pixels, "one index per pixel");
    PictureSize header;
    Require(read_size(bytes, &header), "a decoded file has a size");
    Require(header.width == picture.width && header.height == picture.height, "header size is the size");
    if (!encode || picture.Empty() || picture.rgb.empty()) return;
    Picture again;
    Require(decode(encode(picture), &again, kMaxPixels) == DecodeResult::Ok, "own file reads");
    Require(again.rgb == picture.rgb, "own file keeps every colour");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const Bytes bytes(data, size);
    const std::string target = VXL_FUZZ_TARGET;
    if (target == "bmp") Reader(bytes, DecodeBmp, ReadBmpSize, EncodeBmp);
    if (target == "png") Reader(bytes, DecodePng, ReadPngSize);
    if (target == "jpeg") Reader(bytes, DecodeJpeg, ReadJpegSize);
    if (target == "alpha") {  // the alpha loader's checks, for a 6 x 4 buffer
        std::vector<uint8_t> plane;
        const char* reason = vxl::ReadAlphaImage(bytes, 6, 4, &plane, kMaxPixels);
        Require(reason ? std::strlen(reason) > 0 && plane.empty() : plane.size() == 24,
                "one alpha value per pixel, or a reason and no plane");
    }
    if (target == "image_size" && size > 0) {  // the first byte chooses the extension
        static const char* const kExtensions[] = {"bmp", "ico", "wmf", "emf", "jpg", "JPEG", "png", "tga"};
        PictureSize s{-7, -7};
        if (vxl::ImageSizeOfBytes(kExtensions[data[0] % 8], bytes.subspan(1), &s)) {
            Require(s.width >= 0 && s.height >= 0, "sizes are not negative");
        }
    }
    return 0;
}
