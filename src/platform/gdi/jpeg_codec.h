// JPEG pictures through libjpeg: decoding to 8-bit RGB, the size from the frame header, and encoding.
#pragma once

#include "platform/gdi/file_stream.h"
#include "platform/gdi/picture.h"

namespace vxl::platform {

// The largest width and height a JPEG file can hold.
constexpr int32_t kMaxJpegSide = 65500;

// Progressive files of more than a hundred scans are refused as damaged.
DecodeResult DecodeJpeg(ByteSource& file, Picture* out, int64_t max_pixels = kMaxPicturePixels);
DecodeResult DecodeJpeg(Bytes file, Picture* out, int64_t max_pixels = kMaxPicturePixels);
bool ReadJpegSize(ByteSource& file, PictureSize* out);
bool ReadJpegSize(Bytes file, PictureSize* out);
// Baseline JPEG of `picture`'s colours at `quality` (1 to 100).
std::vector<uint8_t> EncodeJpeg(const Picture& picture, int quality);

}  // namespace vxl::platform
