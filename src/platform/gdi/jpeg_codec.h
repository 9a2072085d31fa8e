// JPEG pictures through libjpeg: decoding to 8-bit RGB, the size from the frame header, and encoding.
#pragma once

#include "platform/gdi/picture.h"

namespace vxl::platform {

DecodeResult DecodeJpeg(Bytes file, Picture* out, int64_t max_pixels = kMaxPicturePixels);
bool ReadJpegSize(Bytes file, PictureSize* out);
// Baseline JPEG of `picture`'s colours at `quality` (1 to 100).
std::vector<uint8_t> EncodeJpeg(const Picture& picture, int quality);

}  // namespace vxl::platform
